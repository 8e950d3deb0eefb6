#include "drill/ToiSelection.h"

#include "text/Clock.h"
#include "data/ToiBank.h"

#include <algorithm>
#include <bit>
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

// The pool of rows not yet drawn: one bit per row (set while the row is in
// the pool) in 64-row words, and a Fenwick tree over the words' counts, so
// the k-th remaining row is found and taken out in O(log n).
// Words, not a node a row: 100 000 rows in 6 ms, not 10-15 (bench_load: < 10 ms).
class RemainingRows {
public:
    explicit RemainingRows(std::int32_t n)
    {
        const std::size_t count = static_cast<std::size_t>(n + 63) / 64;
        words_.assign(count, ~std::uint64_t {0});
        if (n % 64 != 0)
            words_.back() = (std::uint64_t {1} << (n % 64)) - 1;
        tree_.assign(count + 1, 0);
        for (std::size_t i = 1; i <= count; ++i) {
            tree_[i] += std::popcount(words_[i - 1]);
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= count)
                tree_[parent] += tree_[i];
        }
        while (top_ * 2 <= count)
            top_ *= 2;
    }

    // Takes the k-th remaining row (k from 0, k below the number left) out of
    // the pool and returns it. The remaining rows stay in ascending order, as
    // a contiguous pool does when it closes its gaps.
    std::int32_t Take(std::int32_t k)
    {
        // One descent finds the word, skipping the words before it, and takes
        // the row out of the count of every node that holds it.
        std::size_t word = 0;
        for (std::size_t step = top_; step > 0; step /= 2) {
            const std::size_t next = word + step;
            if (next >= tree_.size())
                continue;
            if (tree_[next] <= k) {
                word = next;
                k -= tree_[next];
            } else {
                --tree_[next];
            }
        }
        // The k-th set bit of the word: drop the k lowest, take the next.
        std::uint64_t bits = words_[word];
        for (std::int32_t i = 0; i < k; ++i)
            bits &= bits - 1;
        const int bit = std::countr_zero(bits);
        words_[word] &= ~(std::uint64_t {1} << bit);
        return static_cast<std::int32_t>(word * 64) + bit + 1;
    }

private:
    std::vector<std::uint64_t> words_;
    std::vector<std::int32_t> tree_; // tree_[i]: rows left in the words its node covers
    std::size_t top_ = 1;
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
        // A draw is at most 32767: below a larger pool it is its own remainder.
        const std::uint32_t r = random.Next();
        const auto k = static_cast<std::int32_t>(left > 32767 ? r : r % static_cast<std::uint32_t>(left));
        rows.push_back(pool.Take(k));
    }
    return rows;
}

std::vector<std::int32_t> JakutenOrder(const TextTable& toiSeikaiTable)
{
    const std::int32_t last = ToiCount(toiSeikaiTable);
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs; // (count, row)
    pairs.reserve(static_cast<std::size_t>(last));
    for (std::int32_t i = 1; i <= last; ++i)
        // Read through a view, so the count rows keep sharing the file's bytes.
        pairs.emplace_back(TextToInt(std::string(TableCellView(toiSeikaiTable, i, 1))), i);
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

std::vector<std::int32_t> ToiListWithin(std::int32_t playMode, const std::vector<std::int32_t>& rows,
                                        const TextTable& toiSeikaiTable, std::time_t seed)
{
    switch (playMode) {
    case kModeNormal:
    case kModeHNormal:
        return rows;
    case kModeRand:
    case kModeHRand: {
        std::vector<std::int32_t> order = ShuffleRows(static_cast<std::int32_t>(rows.size()), static_cast<std::uint32_t>(seed));
        for (std::int32_t& k : order)
            k = rows[static_cast<std::size_t>(k - 1)];
        return order;
    }
    case kModeJakuten: {
        std::vector<bool> wanted;
        for (std::int32_t row : rows) {
            if (row < 0)
                continue;
            if (static_cast<std::size_t>(row) >= wanted.size())
                wanted.resize(static_cast<std::size_t>(row) + 1);
            wanted[static_cast<std::size_t>(row)] = true;
        }
        std::vector<std::int32_t> order = JakutenOrder(toiSeikaiTable);
        std::erase_if(order, [&wanted](std::int32_t row) {
            return static_cast<std::size_t>(row) >= wanted.size() || !wanted[static_cast<std::size_t>(row)];
        });
        return order;
    }
    default:
        return {};
    }
}

void BuildToiList(DrillState& state)
{
    state.ToiList = state.Bunya.empty()
        ? ToiListFor(state.PlayMode, state.ToiTable, state.ToiSeikaiTable, Clock::Now())
        : ToiListWithin(state.PlayMode, state.BunyaRows, state.ToiSeikaiTable, Clock::Now());
}
