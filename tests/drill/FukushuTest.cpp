// The review scheduler: the FSRS figures of every step of 30 review
// histories against the reference implementation's (fixtures/
// fsrs-histories.txt, made by fixtures/make-fsrs-fixture.mjs), the same
// histories read from a journal, and the order and counts of due questions.
#include "drill/Fukushu.h"

#include "data/ToiBank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

struct Step {
    std::int32_t day = 0;
    bool seikai = false;
    double difficulty = 0, stability = 0;
    std::int32_t interval = 0;
};
struct History {
    std::vector<Step> steps;
    std::array<double, 3> recall {}; // 1, 10 and 100 days after the last
};

std::vector<History> ReadHistories()
{
    std::ifstream in(MIRETO_SOURCE_DIR "/tests/drill/fixtures/fsrs-histories.txt");
    std::vector<History> histories;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::replace_if(line.begin(), line.end(), [](char c) { return c == ':' || c == '=' || c == ','; }, ' ');
        std::istringstream words(line);
        History h;
        std::string word;
        while (words >> word && word != "|") {
            Step s;
            int grade = 0;
            s.day = std::stoi(word);
            words >> grade >> s.difficulty >> s.stability >> s.interval;
            s.seikai = grade == 3;
            h.steps.push_back(s);
        }
        words >> h.recall[0] >> h.recall[1] >> h.recall[2];
        if (!words || h.steps.empty())
            ADD_FAILURE() << "unreadable history: " << line;
        histories.push_back(h);
    }
    return histories;
}

void ExpectNear(double expected, double actual, const std::string& what)
{
    EXPECT_LE(std::abs(actual - expected), 1e-6 * std::abs(expected)) << what << ": " << expected << " vs " << actual;
}

TextTable Bank(std::int32_t n)
{
    TextTable bank;
    bank[0] = {"key"};
    for (std::int32_t i = 1; i <= n; ++i)
        bank[i] = {"Q" + IntToText(i)};
    return bank;
}

KirokuEntry Answer(const std::string& key, std::int32_t day, bool seikai)
{
    KirokuEntry e;
    e.key = key;
    e.day = day;
    e.seikai = seikai;
    return e;
}

constexpr std::int32_t kStart = 20000; // a day in 2024

TEST(Fukushu, EveryStepOfTheReferenceHistories)
{
    const std::vector<History> histories = ReadHistories();
    ASSERT_EQ(histories.size(), 30u);
    std::vector<KirokuEntry> journal;
    for (std::size_t i = 0; i < histories.size(); ++i) {
        const History& h = histories[i];
        Fsrs::Memory m;
        for (std::size_t j = 0; j < h.steps.size(); ++j) {
            const Step& s = h.steps[j];
            m = j == 0 ? Fsrs::First(s.seikai) : Fsrs::Next(m, s.day - h.steps[j - 1].day, s.seikai);
            const std::string at = "history " + std::to_string(i + 1) + " step " + std::to_string(j + 1);
            ExpectNear(s.difficulty, m.difficulty, at + " D");
            ExpectNear(s.stability, m.stability, at + " S");
            EXPECT_EQ(Fsrs::IntervalDays(m.stability), s.interval) << at;
            journal.push_back(Answer("Q" + IntToText(static_cast<std::int32_t>(i + 1)), kStart + s.day, s.seikai));
        }
        const int days[] = {1, 10, 100};
        for (int k = 0; k < 3; ++k)
            ExpectNear(h.recall[k], Fsrs::Retrievability(days[k], m.stability),
                       "history " + std::to_string(i + 1) + " R at " + std::to_string(days[k]));
    }
    // The same answers through a journal, the histories interleaved by day
    // (the order of the answers of one question kept).
    std::stable_sort(journal.begin(), journal.end(),
                     [](const KirokuEntry& a, const KirokuEntry& b) { return a.day < b.day; });
    journal.push_back(Answer("gone", kStart, true)); // a key the bank lacks
    const FukushuMemory memory = ComputeFukushuMemory(Bank(30), journal);
    for (std::size_t i = 0; i < histories.size(); ++i) {
        const Step& last = histories[i].steps.back();
        const FukushuToi& toi = memory.toi[i + 1];
        EXPECT_EQ(toi.answers, static_cast<std::int32_t>(histories[i].steps.size()));
        ExpectNear(last.stability, toi.memory.stability, "journal history " + std::to_string(i + 1));
        EXPECT_EQ(FukushuDueDay(toi), kStart + last.day + last.interval);
    }
}

TEST(Fukushu, DueRowsMostOverdueFirstAndTheWeeksCounts)
{
    // Q1 right on day 0 (due day 2), Q2 wrong on day 0 (due day 1), Q3
    // answered right twice (day 0 and 1: due 1 + 7), Q4 right on day 0 as Q1,
    // Q5 never answered, Q6 wrong on day 3 (due day 4); Q7 the same key as
    // Q2, a second row of one question.
    TextTable bank = Bank(7);
    bank[7] = {"Q2"};
    const std::vector<KirokuEntry> journal = {
        Answer("Q1", kStart, true),     Answer("Q2", kStart, false), Answer("Q3", kStart, true),
        Answer("Q4", kStart, true),     Answer("Q3", kStart + 1, true), Answer("Q6", kStart + 3, false),
    };
    const FukushuMemory memory = ComputeFukushuMemory(bank, journal);
    using Rows = std::vector<std::int32_t>;
    const struct {
        std::int32_t today;
        Rows due;
        std::array<std::int32_t, kFukushuDays> counts;
    } cases[] = {
        {kStart - 1, {}, {0, 0, 1, 2, 0, 1, 0, 0}},
        {kStart, {}, {0, 1, 2, 0, 1, 0, 0, 0}},
        {kStart + 1, {2}, {1, 2, 0, 1, 0, 0, 0, 1}},
        {kStart + 2, {2, 1, 4}, {3, 0, 1, 0, 0, 0, 1, 0}},
        {kStart + 4, {2, 1, 4, 6}, {4, 0, 0, 0, 1, 0, 0, 0}},
        {kStart + 8, {2, 1, 4, 6, 3}, {5, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FukushuRows(memory, c.today), c.due) << "day " << c.today - kStart;
        EXPECT_EQ(FukushuDueCounts(memory, c.today), c.counts) << "day " << c.today - kStart;
    }
    EXPECT_EQ(memory.toi[7].answers, 0);
    EXPECT_EQ(memory.toi[2].answers, 1);
}

TEST(Fukushu, KeysFoundAsTheirFirstRow)
{
    // Enough keys to fill the table's runs; every 7th row repeats the key
    // 5 rows before it; one key is empty.
    TextTable bank = Bank(5000);
    for (std::int32_t row = 7; row <= 5000; row += 7)
        bank[row] = {"Q" + IntToText(row - 5)};
    bank[12] = {""};
    const ToiKeyIndex keys(bank);
    EXPECT_EQ(keys.ToiCount(), 5000);
    for (std::int32_t row = 1; row <= 5000; ++row) {
        const bool repeat = row % 7 == 0;
        ASSERT_EQ(keys.IsFirstRow(row), !repeat) << row;
        ASSERT_EQ(keys.RowOf(TableCell(bank, row, 0)), repeat ? row - 5 : row) << row;
    }
    EXPECT_EQ(keys.RowOf(""), 12);
    EXPECT_EQ(keys.RowOf("Q5001"), 0);
    EXPECT_EQ(keys.RowOf("Q7"), 0);
}

} // namespace
