#include "drill/ToiSelection.h"

#include "text/Clock.h"
#include "data/ToiBank.h"

#include <algorithm>
#include <utility>

ToiRandom::ToiRandom(std::uint32_t seed) : state_(seed)
{
    // The first value after seeding is thrown away.
    Next();
}

std::uint32_t ToiRandom::Next()
{
    state_ = state_ * 22695477u + 1u;
    return (state_ >> 16) & 0x7FFFu;
}

namespace {

// The pool of rows not yet drawn, as a Fenwick tree over positions 1..n
// holding 1 for a row still in the pool and 0 for a row already taken, so the
// k-th remaining row is found and taken out in O(log n).
class RemainingRows {
public:
    explicit RemainingRows(std::int32_t n) : tree_(static_cast<std::size_t>(n) + 1, 0)
    {
        // Every row starts in the pool: node i covers lowbit(i) positions.
        for (std::int32_t i = 1; i <= n; ++i)
            tree_[static_cast<std::size_t>(i)] = i & -i;
        // Highest power of two not above n, the first step of the search.
        std::int64_t top = 1;
        while (top * 2 <= n)
            top *= 2;
        top_ = static_cast<std::int32_t>(top);
        n_ = n;
    }

    // Takes the k-th remaining row (k from 0, k below the number left) out of
    // the pool and returns it. The remaining rows stay in ascending order, as
    // a contiguous pool does when it closes its gaps.
    std::int32_t Take(std::int32_t k)
    {
        // One descent both finds the row and takes it out: a node the search
        // does not skip covers the row wanted, so its count drops by one.
        // Those nodes are exactly the ones an update of the row would touch.
        std::int32_t pos = 0;
        std::int32_t rest = k; // remaining rows to skip before the one wanted
        for (std::int32_t step = top_; step > 0; step /= 2) {
            const std::int32_t next = pos + step;
            if (next > n_)
                continue;
            std::int32_t& count = tree_[static_cast<std::size_t>(next)];
            if (count <= rest) {
                pos = next;
                rest -= count;
            } else {
                --count;
            }
        }
        return pos + 1;
    }

private:
    std::vector<std::int32_t> tree_;
    std::int32_t top_ = 0;
    std::int32_t n_ = 0;
};

} // namespace

std::vector<std::int32_t> ShuffleRows(std::int32_t n, std::uint32_t seed)
{
    std::vector<std::int32_t> rows;
    if (n <= 0)
        return rows;
    rows.reserve(static_cast<std::size_t>(n));
    RemainingRows pool(n);
    ToiRandom random(seed);
    for (std::int32_t left = n; left > 0; --left) {
        auto k = static_cast<std::int32_t>(random.Next() % static_cast<std::uint32_t>(left));
        rows.push_back(pool.Take(k));
    }
    return rows;
}

std::vector<std::int32_t> ShuffleRowsByPool(std::int32_t n, std::uint32_t seed)
{
    std::vector<std::int32_t> rows;
    if (n <= 0)
        return rows;
    std::vector<std::int32_t> pool;
    pool.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 1; i <= n; ++i)
        pool.push_back(i);
    rows.reserve(pool.size());
    ToiRandom random(seed);
    while (!pool.empty()) {
        std::size_t k = random.Next() % pool.size();
        rows.push_back(pool[k]);
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(k));
    }
    return rows;
}

std::vector<std::int32_t> JakutenOrder(const TextTable& toiSeikaiTable)
{
    const std::int32_t last = ToiCount(toiSeikaiTable);
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs; // (count, row)
    pairs.reserve(static_cast<std::size_t>(last));
    for (std::int32_t i = 1; i <= last; ++i)
        pairs.emplace_back(TextToInt(TableCell(toiSeikaiTable, i, 1)), i);
    // Stable: equal counts keep ascending row order.
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::int32_t> rows;
    rows.reserve(pairs.size());
    for (const auto& pair : pairs)
        rows.push_back(pair.second);
    return rows;
}

std::vector<std::int32_t> ToiListFor(std::int32_t playMode, const TextTable& toiTable,
                                     const TextTable& toiSeikaiTable, std::time_t seed)
{
    const std::int32_t n = ToiCount(toiTable);
    switch (playMode) {
    case kModeNormal:
    case kModeHNormal: {
        std::vector<std::int32_t> rows;
        rows.reserve(static_cast<std::size_t>(n));
        for (std::int32_t i = 1; i <= n; ++i)
            rows.push_back(i);
        return rows;
    }
    case kModeRand:
    case kModeHRand:
        // The generator keeps 32 bits of the calendar time.
        return ShuffleRows(n, static_cast<std::uint32_t>(seed));
    case kModeJakuten: {
        // The counts table has the bank's rows; a row it has beyond the bank
        // could not be presented, so it is left out.
        std::vector<std::int32_t> rows = JakutenOrder(toiSeikaiTable);
        std::erase_if(rows, [n](std::int32_t row) { return row > n; });
        return rows;
    }
    default:
        return {};
    }
}

void BuildToiList(DrillState& state)
{
    state.ToiList = ToiListFor(state.PlayMode, state.ToiTable, state.ToiSeikaiTable, Clock::Now());
}
