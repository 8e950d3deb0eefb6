#include "drill/MogiDraw.h"

#include "data/ToiBank.h"

#include <algorithm>
#include <unordered_set>

std::uint64_t MogiRandom::Next()
{
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t MogiRandom::Below(std::uint64_t n)
{
    // The values below `threshold` would make the low results more likely.
    const std::uint64_t threshold = (0 - n) % n;
    for (;;) {
        const std::uint64_t r = Next();
        if (r >= threshold)
            return r % n;
    }
}

MogiPool MogiPoolOf(const TextTable& toiTable, const ToiKeyIndex& keys)
{
    MogiPool pool;
    ForEachToiRow(toiTable, [&](std::int32_t row, const TextRow& cells) {
        // A key the bank holds twice would be one question twice.
        if (!keys.IsFirstRow(row) || !IsExamFormatToi(cells))
            return;
        if (const std::optional<MogiKubun> kubun = MogiKubunOf(cells)) {
            pool.rows[*kubun].push_back(row);
            pool.keys[*kubun].push_back(TableCellView(cells, ToiColumn::Key));
            pool.bunya[*kubun].push_back(TableCellView(cells, ToiColumn::Bunya));
        }
    });
    return pool;
}

MogiPool MogiPoolOf(const TextTable& toiTable)
{
    return MogiPoolOf(toiTable, ToiKeyIndex(toiTable));
}

MogiAllocation AllocateMogi(const MogiPool& pool, const MogiHaibun& haibun)
{
    MogiAllocation allocation;
    std::int32_t extra = 0;
    for (int k = 0; k < kMogiKubunCount; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        const auto have = static_cast<std::int32_t>(pool.rows[kk].size());
        allocation.counts[kk] = std::min(haibun.counts[kk], have);
        if (k != kKubunDatabase && have < haibun.counts[kk]) {
            allocation.shortfalls.push_back({static_cast<MogiKubun>(k), haibun.counts[kk] - have});
            extra += haibun.counts[kk] - have;
        }
    }
    const auto db = static_cast<std::size_t>(kKubunDatabase);
    const std::int32_t wanted = haibun.counts[db] + extra;
    allocation.counts[db] = std::min(wanted, static_cast<std::int32_t>(pool.rows[db].size()));
    allocation.unfilled = wanted - allocation.counts[db];
    return allocation;
}

namespace {

// Takes `count` of `from` in a partial Fisher-Yates shuffle, onto `to`.
void TakeRandom(std::vector<std::int32_t> from, std::size_t count, MogiRandom& random, std::vector<std::int32_t>& to)
{
    for (std::size_t i = 0; i < count && i < from.size(); ++i) {
        std::swap(from[i], from[i + random.Below(from.size() - i)]);
        to.push_back(from[i]);
    }
}

} // namespace

MogiPaper DrawMogiPaper(const MogiPool& pool, const MogiHaibun& haibun,
                        const std::vector<std::vector<std::string>>& recentPapers, std::uint64_t seed)
{
    MogiPaper paper;
    paper.seed = seed;
    paper.allocation = AllocateMogi(pool, haibun);
    std::unordered_set<std::string_view> recent;
    for (const auto& keys : recentPapers)
        recent.insert(keys.begin(), keys.end());
    MogiRandom random(seed);
    for (int k = 0; k < kMogiKubunCount; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        std::vector<std::int32_t> fresh, again;
        for (std::size_t i = 0; i < pool.rows[kk].size(); ++i)
            (recent.count(pool.keys[kk][i]) ? again : fresh).push_back(pool.rows[kk][i]);
        const auto count = static_cast<std::size_t>(paper.allocation.counts[kk]);
        std::vector<std::int32_t> drawn;
        if (fresh.size() >= count) {
            TakeRandom(std::move(fresh), count, random, drawn);
        } else {
            drawn = std::move(fresh);
            paper.repeats += static_cast<std::int32_t>(count - drawn.size());
            TakeRandom(std::move(again), count - drawn.size(), random, drawn);
        }
        std::sort(drawn.begin(), drawn.end());
        paper.rows.insert(paper.rows.end(), drawn.begin(), drawn.end());
        paper.kubun.insert(paper.kubun.end(), drawn.size(), static_cast<MogiKubun>(k));
    }
    return paper;
}
