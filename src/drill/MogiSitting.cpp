#include "drill/MogiSitting.h"

#include "data/MogiToi.h"
#include "data/PlayModes.h"
#include "data/ToiBank.h"
#include "data/ToiKeys.h"
#include "drill/MogiDraw.h"

#include <algorithm>

namespace {

// The papers whose questions a new one avoids.
constexpr std::size_t kRecentPapers = 3;

} // namespace

MogiPaperState NewMogiPaper(const TextTable& toiTable, const MogiHaibun& haibun,
                            const std::vector<MogiSeisekiRow>& handedIn, std::uint64_t seed, std::time_t now)
{
    std::vector<std::vector<std::string>> recent;
    for (std::size_t i = handedIn.size() > kRecentPapers ? handedIn.size() - kRecentPapers : 0; i < handedIn.size(); ++i)
        recent.push_back(handedIn[i].keys);
    const ToiKeyIndex keys(toiTable);
    const MogiPaper drawn = DrawMogiPaper(MogiPoolOf(toiTable, keys), haibun, recent, seed);
    MogiPaperState paper;
    paper.seed = seed;
    paper.started = now;
    for (const MogiShortfall& shortfall : drawn.allocation.shortfalls)
        paper.missing[static_cast<std::size_t>(shortfall.kubun)] = shortfall.missing;
    paper.unfilled = drawn.allocation.unfilled;
    for (std::size_t i = 0; i < drawn.rows.size(); ++i)
        paper.toi.push_back({std::string(keys.KeyOfRow(drawn.rows[i])), drawn.kubun[i]});
    return paper;
}

std::vector<std::int32_t> MogiPaperRows(const TextTable& toiTable, const MogiPaperState& paper)
{
    const ToiKeyIndex keys(toiTable);
    std::vector<std::int32_t> rows;
    for (const MogiPaperToi& toi : paper.toi) {
        const std::int32_t row = keys.RowOf(toi.key);
        const auto found = toiTable.find(row);
        if (row < 1 || found == toiTable.end() || !IsExamFormatToi(found->second))
            return {};
        rows.push_back(row);
    }
    return rows;
}

void TickMogiChoice(MogiPaperState& paper, std::int32_t choice)
{
    if (paper.current < 0 || paper.current >= static_cast<std::int32_t>(paper.toi.size()) || choice < 1 || choice > 4)
        return;
    std::int32_t& answer = paper.toi[static_cast<std::size_t>(paper.current)].answer;
    answer = answer == choice ? 0 : choice;
}

std::vector<std::int32_t> UnansweredMogi(const MogiPaperState& paper)
{
    std::vector<std::int32_t> numbers;
    for (std::size_t i = 0; i < paper.toi.size(); ++i)
        if (paper.toi[i].answer == 0)
            numbers.push_back(static_cast<std::int32_t>(i) + 1);
    return numbers;
}

bool TickMogiClock(MogiPaperState& paper)
{
    if (paper.left > 0) {
        --paper.left;
        if (paper.current >= 0 && paper.current < static_cast<std::int32_t>(paper.toi.size()))
            ++paper.toi[static_cast<std::size_t>(paper.current)].seconds;
    }
    return paper.left == 0;
}

MogiResult MogiResultOf(const TextTable& toiTable, const std::vector<std::int32_t>& rows, const MogiPaperState& paper)
{
    MogiResult result;
    for (std::size_t i = 0; i < paper.toi.size(); ++i) {
        const MogiPaperToi& toi = paper.toi[i];
        const bool right = i < rows.size() && toi.answer != 0
                           && IsSeikai(std::to_string(toi.answer), TableCell(toiTable, rows[i], ToiColumn::Seikai));
        result.seikai.push_back(right);
        MogiGroupResult& group = result.groups[static_cast<std::size_t>(toi.kubun)];
        ++group.count;
        if (right) {
            ++group.seikai;
            ++result.seikaiCount;
        }
    }
    result.score = result.seikaiCount * kMogiPointsEach;
    result.passed = result.score >= kMogiPassScore;
    result.secondsUsed = kMogiSeconds - paper.left;
    return result;
}

std::vector<KirokuEntry> MogiKirokuEntries(const MogiPaperState& paper, const MogiResult& result,
                                           NanwidoValue nanwido, std::time_t now)
{
    std::vector<KirokuEntry> entries;
    for (std::size_t i = 0; i < paper.toi.size(); ++i) {
        KirokuEntry entry;
        LocalDayAndSecond(now, entry.day, entry.second);
        entry.key = paper.toi[i].key;
        entry.seikai = i < result.seikai.size() && result.seikai[i];
        entry.mode = kModeMogi;
        entry.nanwido = nanwido;
        entry.seconds = paper.toi[i].seconds;
        entry.answer = paper.toi[i].answer == 0 ? std::string() : std::to_string(paper.toi[i].answer);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::size_t MogiRowsRecorded(const std::vector<KirokuEntry>& entries, std::int64_t handInBase)
{
    return static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(), [handInBase](const KirokuEntry& e) {
        return e.seq > handInBase && e.mode == kModeMogi;
    }));
}

MogiSeisekiRow MogiSeisekiOf(const MogiPaperState& paper, const MogiResult& result, std::time_t now)
{
    MogiSeisekiRow row;
    LocalDayAndSecond(now, row.day, row.second);
    row.score = result.score;
    row.seikai = result.seikaiCount;
    row.count = static_cast<std::int32_t>(paper.toi.size());
    row.seconds = result.secondsUsed;
    row.seed = paper.seed;
    for (const MogiPaperToi& toi : paper.toi)
        row.keys.push_back(toi.key);
    return row;
}

bool MogiSeisekiHolds(const std::vector<MogiSeisekiRow>& rows, const MogiPaperState& paper)
{
    if (rows.empty() || rows.back().seed != paper.seed || rows.back().keys.size() != paper.toi.size())
        return false;
    for (std::size_t i = 0; i < paper.toi.size(); ++i)
        if (rows.back().keys[i] != paper.toi[i].key)
            return false;
    return true;
}

Judgement MogiJudgementOf(const TextTable& toiTable, std::int32_t row, std::int32_t answer)
{
    const std::string& key = TableCell(toiTable, row, ToiColumn::Key);
    const std::string& seikai = TableCell(toiTable, row, ToiColumn::Seikai);
    std::array<bool, 8> ticked {};
    if (answer >= 1 && answer <= 4)
        ticked[static_cast<std::size_t>(answer - 1)] = true;
    Judgement judged;
    judged.choice = true;
    judged.answer = AnswerTextFromBoxes(ticked);
    judged.boxMarks = BoxMarks(ticked, seikai);
    judged.seikai = IsSeikai(judged.answer, seikai);
    judged.seikaiText = seikai;
    judged.kaisetuText = BankText(TableCell(toiTable, row, ToiColumn::KaisetuText));
    if (TextToInt(TableCell(toiTable, row, ToiColumn::KaisetuPicture)) != 0)
        judged.kaisetuPicture = PictureFileName('k', key);
    return judged;
}
