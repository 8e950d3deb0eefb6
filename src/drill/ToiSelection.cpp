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

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// The set bits of each byte of the word, in that byte.
std::uint64_t ByteBitCounts(std::uint64_t word)
{
    word = word - ((word >> 1) & 0x5555555555555555ull);
    word = (word & 0x3333333333333333ull) + ((word >> 2) & 0x3333333333333333ull);
    return (word + (word >> 4)) & 0x0F0F0F0F0F0F0F0Full;
}

int BitCount(std::uint64_t word)
{
    return static_cast<int>((ByteBitCounts(word) * kOnes) >> 56);
}

// For every byte value and k, the position of its k-th set bit.
struct ByteSelect {
    std::uint8_t position[256][8] {};
    ByteSelect()
    {
        for (int value = 0; value < 256; ++value) {
            int k = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (value & (1 << bit))
                    position[value][k++] = static_cast<std::uint8_t>(bit);
        }
    }
};
const ByteSelect kByteSelect;

// The position of the k-th set bit of a word (k from 0, below the word's bit
// count), without a branch: the byte that holds it is the number of bytes
// whose running bit count stays at or below k.
int NthSetBit(std::uint64_t word, std::uint32_t k)
{
    const std::uint64_t running = ByteBitCounts(word) * kOnes; // byte i: bits of bytes 0..i
    const std::uint64_t atOrBelow = ((k * kOnes) | kHighs) - running;
    const auto byte = static_cast<int>((((atOrBelow & kHighs) >> 7) * kOnes) >> 56);
    const auto before = static_cast<std::uint32_t>(((running << 8) >> (8 * byte)) & 0xFF);
    return 8 * byte + kByteSelect.position[(word >> (8 * byte)) & 0xFF][k - before];
}

// The pool of rows not yet drawn: one bit per row (set while the row is in
// the pool) in 64-row words, and a Fenwick tree over the words' bit counts,
// padded to a power of two, so the k-th remaining row is found and taken out
// in a fixed number of branch-free steps over a tree small enough to stay in
// the first-level cache.
class RemainingRows {
public:
    explicit RemainingRows(std::int32_t n)
    {
        const std::size_t used = static_cast<std::size_t>(n + 63) / 64;
        std::size_t size = 1;
        while (size < used)
            size *= 2;
        words_.assign(size, 0);
        std::fill(words_.begin(), words_.begin() + static_cast<std::ptrdiff_t>(used), ~std::uint64_t {0});
        if (n % 64 != 0)
            words_[used - 1] = (std::uint64_t {1} << (n % 64)) - 1;
        tree_.assign(size + 1, 0);
        for (std::size_t i = 1; i <= size; ++i) {
            tree_[i] += BitCount(words_[i - 1]);
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= size)
                tree_[parent] += tree_[i];
        }
        top_ = size;
    }

    // Takes the k-th remaining row (k from 0, k below the number left) out of
    // the pool and returns it. The remaining rows stay in ascending order, as
    // a contiguous pool does when it closes its gaps.
    std::int32_t Take(std::int32_t k)
    {
        // One descent finds the word and takes the row's bit out of its
        // count: a node the search does not skip covers the word wanted.
        // The padding words are empty; the search never ends in them, as
        // fewer rows are skipped than are left.
        std::size_t word = 0;
        std::int32_t rest = k; // remaining rows to skip before the one wanted
        for (std::size_t step = top_; step > 0; step /= 2) {
            std::int32_t& count = tree_[word + step];
            const std::int32_t skip = -static_cast<std::int32_t>(count <= rest); // all ones or zero
            word += step & static_cast<std::size_t>(static_cast<std::int64_t>(skip));
            rest -= count & skip;
            count -= 1 + skip;
        }
        std::uint64_t& bits = words_[word];
        const int bit = NthSetBit(bits, static_cast<std::uint32_t>(rest));
        bits &= ~(std::uint64_t {1} << bit);
        return static_cast<std::int32_t>(word * 64) + bit + 1;
    }

private:
    std::vector<std::uint64_t> words_;
    std::vector<std::int32_t> tree_;
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
