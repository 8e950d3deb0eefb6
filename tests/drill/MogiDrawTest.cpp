// The mock exam's paper: the questions a paper can hold, each group's share
// of the mix (the missing ones from データベース), no question of the last
// three papers while a group has others, the same paper from the same seed,
// and draws over the shipped bank.
#include "drill/MogiDraw.h"

#include "data/ToiBank.h"

#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A bank of `counts[k]` exam-format questions of each group, keyed
// <group letter><n>, in one run per group.
TextTable Bank(std::array<int, kMogiKubunCount> counts)
{
    TextTable bank;
    bank[0] = {"key", "text", "k", "s", "n", "l", "p", "k", "area", "kubun"};
    std::int32_t row = 0;
    for (int k = 0; k < kMogiKubunCount; ++k)
        for (int i = 1; i <= counts[static_cast<std::size_t>(k)]; ++i)
            bank[++row] = {std::string(1, static_cast<char>('A' + k)) + IntToText(i), "t", "k", "2", "4", "3", "0", "0",
                           "area", k == kKubunDatabase ? "" : std::string(kMogiKubunNames[static_cast<std::size_t>(k)])};
    return bank;
}

std::array<int, kMogiKubunCount> CountByKubun(const MogiPaper& paper)
{
    std::array<int, kMogiKubunCount> counts {};
    for (const MogiKubun k : paper.kubun)
        ++counts[k];
    return counts;
}

std::vector<std::string> Keys(const TextTable& bank, const MogiPaper& paper)
{
    std::vector<std::string> keys;
    for (const std::int32_t row : paper.rows)
        keys.push_back(TableCell(bank, row, ToiColumn::Key));
    return keys;
}

TEST(MogiDraw, OnlyExamFormatQuestionsOfAKnownGroupEachKeyOnce)
{
    TextTable bank = Bank({3, 1, 0, 0});
    bank[5] = {"typed", "t", "k", "abc", "1", "0", "0", "0", "area"};
    bank[6] = {"A1", "t", "k", "1", "4", "3", "0", "0", "area"}; // a key again
    bank[7] = {"net", "t", "k", "1", "4", "3", "0", "0", "area", "x"};
    bank[8] = {"old", "t", "k", "3", "4", "3", "0", "0"}; // no area, no group
    const MogiPool pool = MogiPoolOf(bank);
    EXPECT_EQ(pool.rows[kKubunDatabase], (std::vector<std::int32_t> {1, 2, 3, 8}));
    EXPECT_EQ(pool.rows[kKubunSecurity], (std::vector<std::int32_t> {4}));
    EXPECT_TRUE(pool.rows[kKubunKiban].empty());
    EXPECT_EQ(pool.keys[kKubunDatabase][3], "old");
    EXPECT_EQ(pool.bunya[kKubunDatabase][3], "");
}

TEST(MogiDraw, EachGroupItsShareAndWhatOneLacksFromTheDatabaseGroup)
{
    const MogiHaibun mix;
    const struct {
        std::array<int, kMogiKubunCount> bank;
        std::array<int, kMogiKubunCount> drawn;
        std::vector<MogiShortfall> shortfalls;
        std::int32_t unfilled;
    } cases[] = {
        {{100, 10, 10, 10}, {19, 3, 2, 1}, {}, 0},
        {{19, 3, 2, 1}, {19, 3, 2, 1}, {}, 0},
        {{30, 1, 2, 0}, {22, 1, 2, 0}, {{kKubunSecurity, 2}, {kKubunKaihatsu, 1}}, 0},
        {{30, 0, 0, 0}, {25, 0, 0, 0}, {{kKubunSecurity, 3}, {kKubunKiban, 2}, {kKubunKaihatsu, 1}}, 0},
        {{20, 3, 1, 1}, {20, 3, 1, 1}, {{kKubunKiban, 1}}, 0},
        {{10, 3, 2, 1}, {10, 3, 2, 1}, {}, 9},
        {{0, 0, 0, 0}, {0, 0, 0, 0}, {{kKubunSecurity, 3}, {kKubunKiban, 2}, {kKubunKaihatsu, 1}}, 25},
    };
    for (const auto& c : cases) {
        const TextTable bank = Bank(c.bank);
        const MogiPool pool = MogiPoolOf(bank);
        const MogiPaper paper = DrawMogiPaper(pool, mix, {}, 42);
        EXPECT_EQ(CountByKubun(paper), c.drawn) << c.bank[0] << " " << c.bank[1] << " " << c.bank[2];
        EXPECT_EQ(paper.allocation.shortfalls, c.shortfalls);
        EXPECT_EQ(paper.allocation.unfilled, c.unfilled);
        const std::vector<std::string> keys = Keys(bank, paper);
        EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size()) << "a question twice";
        EXPECT_TRUE(std::is_sorted(paper.kubun.begin(), paper.kubun.end()));
    }
    // Another mix.
    const MogiPool pool = MogiPoolOf(Bank({40, 10, 10, 10}));
    EXPECT_EQ(CountByKubun(DrawMogiPaper(pool, MogiHaibun {{10, 5, 5, 5}}, {}, 1)),
              (std::array<int, kMogiKubunCount> {10, 5, 5, 5}));
}

TEST(MogiDraw, TheLastThreePapersOnlyWhenAGroupHasNoOthers)
{
    const TextTable bank = Bank({80, 12, 4, 2});
    const MogiPool pool = MogiPoolOf(bank);
    const MogiHaibun mix;
    std::vector<std::vector<std::string>> recent;
    std::uint64_t seed = 7;
    for (int paper = 0; paper < 3; ++paper)
        recent.push_back(Keys(bank, DrawMogiPaper(pool, mix, recent, seed++)));
    // 80 database and 12 security questions hold four papers; 基盤と信頼性
    // (4) and 開発 (2) two, and the third paper repeats them.
    std::set<std::string> seen;
    std::array<int, kMogiKubunCount> seenOf {};
    for (const auto& keys : recent)
        for (const std::string& key : keys)
            if (seen.insert(key).second)
                ++seenOf[static_cast<std::size_t>(key[0] - 'A')];
    EXPECT_EQ(seenOf, (std::array<int, kMogiKubunCount> {57, 9, 4, 2}));
    const MogiPaper fourth = DrawMogiPaper(pool, mix, recent, seed);
    std::int32_t again = 0;
    for (std::size_t i = 0; i < fourth.rows.size(); ++i) {
        const std::string key = TableCell(bank, fourth.rows[i], ToiColumn::Key);
        const bool repeated = seen.count(key) > 0;
        again += repeated;
        // A question of a recent paper only where its group has no fresh one.
        if (fourth.kubun[i] == kKubunDatabase || fourth.kubun[i] == kKubunSecurity) {
            EXPECT_FALSE(repeated) << key;
        }
    }
    EXPECT_EQ(again, fourth.repeats);
    EXPECT_EQ(fourth.repeats, 3); // 基盤と信頼性 2 and 開発 1: every one of them seen
    // Without the recent papers the same seed may draw them again.
    EXPECT_EQ(DrawMogiPaper(pool, mix, {}, seed).repeats, 0);
}

TEST(MogiDraw, TheSameSeedTheSamePaper)
{
    // splitmix64's published first outputs for the seed 0.
    MogiRandom zero(0);
    EXPECT_EQ(zero.Next(), 0xE220A8397B1DCDAFull);
    EXPECT_EQ(zero.Next(), 0x6E789E6AA1B965F4ull);
    MogiRandom bounded(5);
    for (int i = 0; i < 1000; ++i)
        EXPECT_LT(bounded.Below(7), 7u);

    const TextTable bank = Bank({200, 30, 20, 10});
    const MogiPool pool = MogiPoolOf(bank);
    const std::vector<std::vector<std::string>> recent = {{"A1", "A2", "B3"}};
    std::set<std::vector<std::int32_t>> papers;
    for (std::uint64_t seed : {0ull, 1ull, 2ull, 0xFFFFFFFFFFFFFFFFull}) {
        const MogiPaper paper = DrawMogiPaper(pool, MogiHaibun {}, recent, seed);
        EXPECT_EQ(paper.seed, seed);
        EXPECT_EQ(DrawMogiPaper(pool, MogiHaibun {}, recent, seed).rows, paper.rows);
        papers.insert(paper.rows);
    }
    EXPECT_EQ(papers.size(), 4u);
}

// The shipped bank and mix, as the build makes them.
TEST(MogiDraw, ManyDrawsOverTheShippedBankEachMeetTheMix)
{
#if !defined(MIRETO_SAMPLE_BANK) || !defined(MIRETO_SAMPLE_MIX)
    GTEST_SKIP() << "this build makes no sample bank";
#else
    std::string bytes;
    ASSERT_TRUE(ReadWholeFileChecked(MIRETO_SAMPLE_BANK, bytes));
    const TextTable bank = ParseTableFile(std::move(bytes));
    ASSERT_TRUE(ReadWholeFileChecked(MIRETO_SAMPLE_MIX, bytes));
    const MogiHaibunRead mix = ParseMogiHaibun(std::move(bytes));
    ASSERT_FALSE(mix.warning);
    const MogiPool pool = MogiPoolOf(bank);
    // The shipped bank holds every group, enough for twenty papers with no
    // question repeated: each draw meets the mix exactly.
    std::array<int, kMogiKubunCount> expected {};
    for (int k = 0; k < kMogiKubunCount; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        expected[kk] = mix.haibun.counts[kk];
        EXPECT_GE(pool.rows[kk].size(), 20u * static_cast<std::size_t>(expected[kk])) << k;
    }
    std::vector<std::vector<std::string>> recent;
    for (std::uint64_t seed = 1; seed <= 10000; ++seed) {
        const MogiPaper paper = DrawMogiPaper(pool, mix.haibun, recent, seed);
        ASSERT_EQ(CountByKubun(paper), expected) << "seed " << seed;
        ASSERT_EQ(static_cast<int>(paper.rows.size()), kMogiPaperSize);
        std::set<std::int32_t> rows(paper.rows.begin(), paper.rows.end());
        ASSERT_EQ(rows.size(), paper.rows.size()) << "seed " << seed;
        for (const std::int32_t row : paper.rows) {
            ASSERT_TRUE(IsExamFormatToi(bank.at(row))) << "row " << row;
        }
        recent.push_back(Keys(bank, paper));
        if (recent.size() > 3)
            recent.erase(recent.begin());
    }
#endif
}

} // namespace
