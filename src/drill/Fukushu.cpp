#include "drill/Fukushu.h"

#include "data/ToiKeys.h"

#include <algorithm>

FukushuMemory ComputeFukushuMemory(const TextTable& toiTable, const std::vector<KirokuEntry>& entries)
{
    return ComputeFukushuMemory(ToiKeyIndex(toiTable), entries);
}

FukushuMemory ComputeFukushuMemory(const ToiKeyIndex& keys, const std::vector<KirokuEntry>& entries)
{
    FukushuMemory memory;
    memory.toi.resize(static_cast<std::size_t>(keys.ToiCount()) + 1);
    for (const KirokuEntry& e : entries)
        AddFukushuAnswer(memory, keys, e);
    return memory;
}

void AddFukushuAnswer(FukushuMemory& memory, const ToiKeyIndex& keys, const KirokuEntry& e)
{
    AddFukushuAnswerAt(memory, keys.RowOf(e.key), e);
}

void AddFukushuAnswerAt(FukushuMemory& memory, std::int32_t row, const KirokuEntry& e)
{
    if (row == 0 || static_cast<std::size_t>(row) >= memory.toi.size())
        return; // a question the bank no longer has
    FukushuToi& toi = memory.toi[static_cast<std::size_t>(row)];
    if (toi.answers == 0) {
        toi.memory = Fsrs::First(e.seikai);
        toi.firstSeikai = e.seikai;
        toi.lastDay = e.day;
    } else {
        // A clock set back gives no negative time.
        const double elapsed = std::max(0, e.day - toi.lastDay);
        const double recall = Fsrs::Retrievability(elapsed, toi.memory.stability);
        // An answer again the same day says little of what stays.
        if (elapsed > 0) {
            RecallBin& bin = memory.recall[std::min(kRecallBins - 1, static_cast<int>(recall * kRecallBins))];
            bin.recall += recall;
            ++bin.answers;
            bin.seikai += e.seikai;
        }
        toi.memory = Fsrs::NextAtRecall(toi.memory, recall, e.seikai);
        toi.lastDay = std::max(toi.lastDay, e.day);
    }
    ++toi.answers;
}

std::int32_t FukushuDueDay(const FukushuToi& toi)
{
    return toi.lastDay + Fsrs::IntervalDays(toi.memory.stability);
}

std::vector<std::int32_t> FukushuRows(const FukushuMemory& memory, std::int32_t today)
{
    std::vector<std::pair<std::int32_t, std::int32_t>> due; // (due day, row)
    for (std::size_t row = 1; row < memory.toi.size(); ++row) {
        const FukushuToi& toi = memory.toi[row];
        if (toi.answers > 0 && FukushuDueDay(toi) <= today)
            due.emplace_back(FukushuDueDay(toi), static_cast<std::int32_t>(row));
    }
    std::sort(due.begin(), due.end());
    std::vector<std::int32_t> rows;
    rows.reserve(due.size());
    for (const auto& [day, row] : due)
        rows.push_back(row);
    return rows;
}

std::array<std::int32_t, kFukushuDays> FukushuDueCounts(const FukushuMemory& memory, std::int32_t today)
{
    std::array<std::int32_t, kFukushuDays> counts {};
    for (std::size_t row = 1; row < memory.toi.size(); ++row) {
        const FukushuToi& toi = memory.toi[row];
        if (toi.answers == 0)
            continue;
        const std::int64_t after = std::int64_t {FukushuDueDay(toi)} - today;
        if (after < kFukushuDays)
            ++counts[static_cast<std::size_t>(std::max<std::int64_t>(after, 0))];
    }
    return counts;
}
