#include "text/Clock.h"
#include "drill/ToiSelection.h"
#include "support/ShuffleOracle.h"
#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

TextTable MakeBank(std::int32_t n)
{
    TextTable bank;
    bank[0] = {"key", "text"};
    for (std::int32_t i = 1; i <= n; ++i)
        bank[i] = {"Q" + IntToText(i), "text"};
    return bank;
}

TextTable MakeCounts(const std::vector<std::string>& counts)
{
    TextTable table;
    table[0] = {"key", "count"};
    for (std::size_t i = 0; i < counts.size(); ++i)
        table[static_cast<std::int32_t>(i + 1)] = {"Q" + std::to_string(i + 1), counts[i]};
    return table;
}

std::vector<std::int32_t> Ascending(std::int32_t n)
{
    std::vector<std::int32_t> rows(static_cast<std::size_t>(std::max(n, 0)));
    std::iota(rows.begin(), rows.end(), 1);
    return rows;
}

TEST(ToiRandom, SeedOneDiscardsOneValueThenDrawsTheKnownSequence)
{
    ToiRandom random(1);
    for (std::uint32_t expected : {130u, 10982u, 1090u, 11656u, 7117u})
        EXPECT_EQ(random.Next(), expected);
}

TEST(ShuffleRows, SeedOneWithFiveQuestionsGivesTheKnownOrder)
{
    const std::vector<std::int32_t> expected {1, 4, 3, 2, 5};
    EXPECT_EQ(ShuffleRows(5, 1), expected);
    EXPECT_EQ(ShuffleRowsByPool(5, 1), expected);
}

TEST(ShuffleRows, NoQuestionsGiveAnEmptyOrder)
{
    for (std::int32_t n : {0, -1, -100}) {
        EXPECT_TRUE(ShuffleRows(n, 7).empty()) << n;
        EXPECT_TRUE(ShuffleRowsByPool(n, 7).empty()) << n;
    }
}

// The fast order must be the pool's order draw for draw, also beyond 32768
// rows, where the generator can reach only the front of the pool.
TEST(ShuffleRows, EqualsThePoolOrderOnEverySizeAndSeed)
{
    for (std::int32_t n = 0; n <= 1000; ++n) {
        for (std::uint32_t seed : {static_cast<std::uint32_t>(n), 0xFFFFFFFFu - static_cast<std::uint32_t>(n) * 7919u})
            ASSERT_EQ(ShuffleRows(n, seed), ShuffleRowsByPool(n, seed)) << "n=" << n << " seed=" << seed;
    }
    struct Case { std::int32_t n; std::uint32_t seed; };
    for (const Case& c : {Case {32767, 5}, Case {32768, 1796586175u}, Case {32769, 0}, Case {40000, 12345},
                          Case {40000, 0x80000000u}, Case {100000, 1}, Case {100000, 1796586175u}}) {
        const std::vector<std::int32_t> fast = ShuffleRows(c.n, c.seed);
        ASSERT_EQ(fast, ShuffleRowsByPool(c.n, c.seed)) << "n=" << c.n << " seed=" << c.seed;
        std::vector<std::int32_t> sorted = fast;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, Ascending(c.n)) << "every row exactly once, n=" << c.n;
    }
}

TEST(JakutenOrder, FewestCorrectFirstAndEqualCountsKeepBankOrder)
{
    struct Case { std::vector<std::string> counts; std::vector<std::int32_t> expected; };
    const Case cases[] = {
        {{"2", "0", "1", "0"}, {2, 4, 3, 1}},
        {{"0", "0", "0", "0", "0"}, {1, 2, 3, 4, 5}},     // all equal: bank order
        {{"1", "1", "0", "1"}, {3, 1, 2, 4}},
        {{"3", "abc", "", "1", "0"}, {2, 3, 5, 4, 1}},    // no number reads as 0
        {{" 12", "3x", "-1"}, {3, 2, 1}},                 // leading number only
        {{}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JakutenOrder(MakeCounts(c.counts)), c.expected) << ::testing::PrintToString(c.counts);
    EXPECT_TRUE(JakutenOrder(TextTable {}).empty());
}

TEST(ToiListFor, EachModeGivesItsOrder)
{
    const TextTable bank = MakeBank(5);
    const TextTable counts = MakeCounts({"2", "0", "1", "0", "5"});
    struct Case { std::int32_t mode; std::vector<std::int32_t> expected; };
    const Case cases[] = {
        {kModeNormal, {1, 2, 3, 4, 5}}, {kModeHNormal, {1, 2, 3, 4, 5}},
        {kModeRand, {1, 4, 3, 2, 5}},   {kModeHRand, {1, 4, 3, 2, 5}},
        {kModeJakuten, {2, 4, 3, 1, 5}}, {5, {}}, {-1, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToiListFor(c.mode, bank, counts, 1), c.expected) << "mode " << c.mode;
    // Only the low 32 bits of the time seed the generator.
    EXPECT_EQ(ToiListFor(kModeRand, bank, counts, (std::time_t {1} << 32) + 1),
              (std::vector<std::int32_t> {1, 4, 3, 2, 5}));
}

TEST(ToiListFor, EmptyBankGivesEmptyListsAndCountRowsBeyondTheBankAreLeftOut)
{
    const TextTable headerOnly = MakeBank(0);
    for (std::int32_t mode : {0, 1, 2, 3, 4}) {
        EXPECT_TRUE(ToiListFor(mode, headerOnly, MakeCounts({}), 9).empty()) << mode;
        EXPECT_TRUE(ToiListFor(mode, TextTable {}, TextTable {}, 9).empty()) << mode;
    }
    EXPECT_EQ(ToiListFor(kModeJakuten, MakeBank(2), MakeCounts({"4", "3", "0"}), 0),
              (std::vector<std::int32_t> {2, 1}));
}

TEST(BuildToiList, BuildsWithinOneSecondGiveOneOrder)
{
    DrillState state;
    state.ToiTable = MakeBank(30);
    state.PlayMode = kModeRand;
    state.ToiList = {99};
    FixedClock::Set(1796586175);
    BuildToiList(state);
    const std::vector<std::int32_t> first = state.ToiList;
    BuildToiList(state);
    EXPECT_EQ(state.ToiList, first);
    EXPECT_EQ(first, ShuffleRows(30, 1796586175u));
    FixedClock::Set(1796586176);
    BuildToiList(state);
    EXPECT_NE(state.ToiList, first) << "the next second seeds another order";
    state.PlayMode = static_cast<PlayModeValue>(7);
    BuildToiList(state);
    EXPECT_TRUE(state.ToiList.empty());
    FixedClock::Set(std::nullopt);
}

} // namespace
