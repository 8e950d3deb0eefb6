// Start-up and the answer step as the window calls them: the study opened
// from the working folder once, and an answer judged, counted and recorded.
#include "data/DataTexts.h"
#include "data/ToiBank.h"
#include "drill/AnswerStep.h"
#include "drill/ProgressKeeping.h"
#include "drill/StudyOpening.h"
#include "text/Unit2.h"

#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using namespace DataTexts;

constexpr std::time_t kNow = 1'700'000'000;

void PutBank(const WorkFolder& folder)
{
    folder.Write(kToiFileName, TableFileText({{"key", "text", "kaisetu", "seikai", "n", "set", "pic", "kpic"},
                                              {"K1", "Q", "E", "1", "2", "0", "0", "0"},
                                              {"K2", "Q", "E", "2", "2", "0", "0", "0"}}));
}

// Box 1 ticked on question K1: a right answer.
DrillState& AnswerK1(DrillState& state)
{
    state.ToiList = {1};
    state.ToiIndex = 0;
    GivenAnswer given;
    given.ticked[0] = true;
    const AnsweredToi answered = AnswerToi(state, given, kNow);
    EXPECT_TRUE(answered.judged.seikai);
    EXPECT_FALSE(answered.recordFailure);
    return state;
}

std::string Count(const DrillState& state, std::int32_t row)
{
    return std::string(TableCellView(state.ToiSeikaiTable, row, 1));
}

TEST(OpenStudy, WithoutABankNothingIsOpenedNorRemoved)
{
    WorkFolder folder;
    const std::string leftover = std::string(kSeikaiFileName) + ".tmp-a1B2c3";
    folder.Write(leftover, "half a file");
    DrillState state;
    const StudyOpening opening = OpenStudy(state);
    EXPECT_FALSE(state.ToiFileFound);
    EXPECT_FALSE(opening.bankUnreadable);
    EXPECT_EQ(state.Kiroku, nullptr);
    EXPECT_TRUE(folder.Exists(leftover));
    // A state no start-up opened judges and counts, and records nothing.
    state.ToiTable = ParseTableFile(TableFileText({{"key"}, {"K1", "Q", "E", "1", "2", "0", "0", "0"}}));
    state.ToiSeikaiTable = {{0, {kToiKey, kToiSeikaiCount}}, {1, {"K1", "0"}}};
    AnswerK1(state);
    EXPECT_EQ(Count(state, 1), "1");
    EXPECT_FALSE(folder.Exists("db_kiroku.dat"));
}

TEST(OpenStudy, RemovesLeftoversOnceAndReturnsWhatToTell)
{
    WorkFolder folder;
    PutBank(folder);
    // In name order, as the result is compared sorted.
    const std::vector<std::string> leftovers {std::string(kSeikaiFileName) + ".tmp-a1B2c3",
                                              "db_kiroku.dat.tmp-Ab3xYz",
                                              std::string(kSaveLoadFileName) + ".tmp-XyZ789"};
    for (const std::string& name : leftovers)
        folder.Write(name, "half a file");
    // Not the program's own: kept.
    folder.Write(std::string(kSeikaiFileName) + ".tmp-toolong7", "mine");
    folder.Write("notes.dat.tmp-a1B2c3", "mine");
    // A slot file that is a folder cannot be read: named, and never written.
    std::filesystem::create_directory(kSaveLoadFileName);

    DrillState state;
    StudyOpening opening = OpenStudy(state);
    ASSERT_TRUE(state.ToiFileFound);
    std::sort(opening.removedLeftovers.begin(), opening.removedLeftovers.end());
    EXPECT_EQ(opening.removedLeftovers, leftovers);
    for (const std::string& name : leftovers)
        EXPECT_FALSE(folder.Exists(name)) << name;
    EXPECT_TRUE(folder.Exists(std::string(kSeikaiFileName) + ".tmp-toolong7"));
    EXPECT_TRUE(folder.Exists("notes.dat.tmp-a1B2c3"));
    ASSERT_EQ(opening.unreadable.size(), 1u);
    EXPECT_EQ(opening.unreadable[0].fileName, kSaveLoadFileName);
    EXPECT_FALSE(state.Writing.writeSaveLoad);
    EXPECT_TRUE(state.Writing.writeSeikai);
    EXPECT_TRUE(opening.kirokuProblems.empty());
    EXPECT_FALSE(opening.markRejected);
    ASSERT_NE(state.Kiroku, nullptr);
    EXPECT_TRUE(state.Kiroku->Writable());
}

TEST(OpenStudy, TheCountsFileAsReadTellsWhichJournalRowsToCount)
{
    WorkFolder folder;
    PutBank(folder);
    {
        DrillState state;
        OpenStudy(state);
        AnswerK1(state);
        // The stage end writes the counts (K1: 1) and the mark with them.
        ASSERT_TRUE(WriteDrillProgress(state).ok);
        AnswerK1(state); // recorded, never written into the counts file
        EXPECT_EQ(Count(state, 1), "2");
    }
    DrillState state;
    OpenStudy(state);
    // The second answer only: the first is in the counts file the mark knows.
    EXPECT_EQ(Count(state, 1), "2");
    EXPECT_EQ(Count(state, 2), "0");
    ASSERT_EQ(state.KirokuEntries().size(), 2u);
    EXPECT_EQ(state.KirokuEntries().back().key, "K1");
    EXPECT_TRUE(state.KirokuEntries().back().seikai);
}

} // namespace
