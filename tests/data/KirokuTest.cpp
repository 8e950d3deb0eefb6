// The answer journal: its rows survive the table reader whatever they hold,
// a row that is not whole is never taken for one, and the mark tells after
// any crash which rows the counts file on disk holds.
#include "text/SafeFile.h"
#include "data/DataTexts.h"
#include "data/Kiroku.h"
#include "data/PlayModes.h"
#include "data/WriteLeftovers.h"
#include "text/Unit2.h"

#include "support/WorkFolder.h"
#include "support/FailingDisk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <span>
#include <vector>

namespace {

using DataTexts::kSeikaiFileName;

KirokuEntry Entry(std::string key, bool seikai, std::string answer = "a")
{
    KirokuEntry e;
    e.day = CivilDay(2026, 3, 14);
    e.second = 3600 * 21 + 60 * 5 + 9;
    e.key = std::move(key);
    e.seikai = seikai;
    e.mode = 1;
    e.nanwido = kNanwidoE;
    e.seconds = 12;
    e.answer = std::move(answer);
    return e;
}

bool SameEntry(const KirokuEntry& a, const KirokuEntry& b)
{
    return a.seq == b.seq && a.day == b.day && a.second == b.second && a.key == b.key && a.seikai == b.seikai
           && a.mode == b.mode && a.nanwido == b.nanwido && a.seconds == b.seconds && a.answer == b.answer;
}

// The cells of a row as the journal's reader hands them on.
std::vector<std::string_view> Views(const TextRow& row)
{
    std::vector<std::string_view> cells;
    for (std::size_t i = 0; i < row.size(); ++i)
        cells.push_back(row.Cell(i));
    return cells;
}

// The row as a file holds it, read back through the program's table reader.
std::optional<KirokuEntry> ThroughFile(const std::string& line)
{
    const TextTable table = ParseTableFile(line);
    if (table.size() != 1)
        return std::nullopt;
    return KirokuFromCells(Views(table.begin()->second));
}

TEST(KirokuRow, ChecksAndHashesAreTheLowHexDigits)
{
    struct Case { std::uint64_t value; int digits; const char* text; };
    for (const Case& c : {Case {0, 8, "00000000"}, Case {0xABCDEF, 8, "00abcdef"},
                          Case {0x123456789ull, 8, "23456789"}, Case {UINT64_MAX, 16, "ffffffffffffffff"},
                          Case {0x0102030405060708ull, 16, "0102030405060708"}})
        EXPECT_EQ(KirokuHex(c.value, c.digits), c.text) << c.value;
    // The mark's hash of a counts file: 16 digits, and "-" for no file.
    const std::string bytes = "x";
    EXPECT_EQ(SeikaiFileHash(&bytes).size(), 16u);
    EXPECT_EQ(SeikaiFileHash(nullptr), "-");
}

TEST(KirokuRow, EveryKeyAndAnswerComesBackThroughTheTableReader)
{
    const std::string cases[] = {
        "K1", "", "\",\"", "a\",\"b", "\"", ",", "%41", "100%", "\x82\xA0\x82\xA2", // あい
        "\x82",         // a lone lead byte at the end
        "\x82\"",       // a lead byte before a quote
        "\xA1\xB0",     // single-byte katakana
        "\xF0\x40",     // a lead byte outside JIS X 0208
        "\x81\x7F",     // a trail byte the conversion would change
        "a\rb\nc", std::string("n\0l", 3), "\x7F",
    };
    std::int64_t seq = 1;
    for (const std::string& text : cases) {
        KirokuEntry e = Entry(text.empty() ? "K" : text, true, text);
        e.seq = seq++;
        const auto back = ThroughFile(KirokuLine(e));
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_TRUE(SameEntry(*back, e)) << text;
        EXPECT_EQ(KirokuLine(e).find('\0'), std::string::npos);
    }
}

// Every mode of the one table, at every difficulty, is a row the journal
// keeps: a mode added there is never thrown away as damaged.
TEST(KirokuRow, EveryModeAndDifficultyOfTheTablesIsKept)
{
    std::int64_t seq = 1;
    for (const PlayModeRow& mode : kPlayModes) {
        for (std::int32_t n = 0; n < kNanwidoCount; ++n) {
            KirokuEntry e = Entry("K1", n % 2 == 0);
            e.seq = seq++;
            e.mode = mode.number;
            e.nanwido = *NanwidoValue::Of(n);
            const auto back = ThroughFile(KirokuLine(e));
            ASSERT_TRUE(back.has_value()) << mode.number << " " << n;
            EXPECT_TRUE(SameEntry(*back, e));
        }
    }
}

TEST(KirokuRow, TimeTextAndCalendar)
{
    EXPECT_EQ(CivilDay(1970, 1, 1), 0);
    EXPECT_EQ(CivilDay(2000, 3, 1) - CivilDay(2000, 2, 28), 2); // a leap year
    EXPECT_EQ(CivilDay(2100, 3, 1) - CivilDay(2100, 2, 28), 1); // not one
    EXPECT_EQ(KirokuTimeText(CivilDay(2026, 3, 14), 21 * 3600 + 5 * 60 + 9), "2026-03-14 21:05:09");
    std::int32_t y, m, d;
    CivilDate(CivilDay(2024, 12, 31), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20241231);
}

TEST(KirokuRow, ARowThatIsNotWholeIsNoRow)
{
    KirokuEntry e = Entry("K7", true, "1_3");
    e.seq = 42;
    const std::string line = KirokuLine(e);
    ASSERT_TRUE(ThroughFile(line).has_value());
    // Every cut of the line short of its last quote: a torn append.
    for (std::size_t cut = 1; cut + 3 < line.size(); ++cut)
        EXPECT_FALSE(ThroughFile(line.substr(0, cut) + "\r\n").has_value()) << cut;
    // One byte changed anywhere inside the cells.
    for (std::size_t at = 1; at + 3 < line.size(); ++at) {
        std::string changed = line;
        if (changed[at] == '"' || changed[at] == ',')
            continue;
        changed[at] = changed[at] == '0' ? '1' : '0';
        EXPECT_FALSE(ThroughFile(changed).has_value()) << at;
    }
    // Numbers outside their range, and dates that do not exist, even with a
    // check that matches (an editor that knows the hash).
    const struct {
        const char* what;
        void (*change)(KirokuEntry&);
    } bad[] = {
        {"number 0", [](KirokuEntry& x) { x.seq = 0; }},
        {"a mode the table lacks", [](KirokuEntry& x) { x.mode = kPlayModeCount; }},
        {"no key", [](KirokuEntry& x) { x.key.clear(); }},
        {"answer too long", [](KirokuEntry& x) { x.answer.assign(kKirokuAnswerBytes + 1, 'x'); }},
        {"before 1970", [](KirokuEntry& x) { x.day = -1; }},
    };
    for (const auto& b : bad) {
        KirokuEntry x = e;
        b.change(x);
        EXPECT_FALSE(ThroughFile(KirokuLine(x)).has_value()) << b.what;
    }
    // Numbers a value of the program cannot hold: written by hand.
    for (const auto& [cell, text] : {std::pair {5, "6"}, {5, "-1"}, {5, ""}, {5, "F"}}) {
        TextRow row = ParseTableFile(KirokuLine(e)).at(0);
        ASSERT_TRUE(KirokuFromCells(Views(row)).has_value());
        row[static_cast<std::size_t>(cell)] = text;
        const std::vector<std::string_view> cells = Views(row);
        row[8] = KirokuCheck(std::span(cells).first(8));
        EXPECT_FALSE(KirokuFromCells(Views(row)).has_value()) << cell << " " << text;
    }
    std::string feb30 = line;
    const std::string date = KirokuTimeText(e.day, e.second).substr(0, 10);
    feb30.replace(feb30.find(date), 10, "2026-02-30");
    EXPECT_FALSE(ThroughFile(feb30).has_value());
}

// The journal and its mark in a private working folder, read again as a
// new start would after the process ended at a given moment.
class KirokuFiles : public ::testing::Test {
protected:
    // A new start: the counts file as it is on disk tells which rows count.
    std::unique_ptr<KirokuJournal> Start() const
    {
        // In the current folder, which a test may change.
        auto journal = std::make_unique<KirokuJournal>();
        std::string bytes;
        const bool exists = ReadRegularFile(kSeikaiFileName, bytes);
        journal->Open(exists ? &bytes : nullptr);
        return journal;
    }
    // The stage-end or close write of the counts file, stopped after `stop`
    // steps: 0 none, 1 the mark, 2 the mark and the counts file.
    static void WriteCounts(KirokuJournal& journal, const std::string& bytes, int stop = 2)
    {
        if (stop < 1)
            return;
        journal.BeforeSeikaiWrite(bytes);
        if (stop < 2)
            return;
        ASSERT_TRUE(ReplaceFile(kSeikaiFileName, bytes));
        journal.AfterSeikaiWrite(true);
    }
    static std::vector<std::string> Uncounted(const KirokuJournal& journal)
    {
        std::vector<std::string> keys;
        for (std::size_t i = journal.FirstUncounted(); i < journal.Entries().size(); ++i)
            keys.push_back(journal.Entries()[i].key);
        return keys;
    }

    WorkFolder folder;
};

TEST_F(KirokuFiles, AppendedRowsReadBackInOrderWithTheirNumbers)
{
    auto journal = Start();
    EXPECT_TRUE(journal->Entries().empty());
    for (const char* key : {"K1", "K2", "K3"})
        ASSERT_TRUE(journal->Append(Entry(key, true)));
    journal.reset();
    auto again = Start();
    ASSERT_EQ(again->Entries().size(), 3u);
    for (std::int64_t i = 0; i < 3; ++i)
        EXPECT_EQ(again->Entries()[static_cast<std::size_t>(i)].seq, i + 1);
    // The file is a table with its header row, CR LF line ends.
    const TextTable table = LoadTextTable(kKirokuFileName);
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(table.at(0)[2], "\x96\xE2\x83\x4C\x81\x5B"); // 問キー
    EXPECT_EQ(TableToFileBytes(table), folder.Read(kKirokuFileName));
    // Numbers go on after a restart.
    ASSERT_TRUE(again->Append(Entry("K4", false)));
    EXPECT_EQ(again->Entries().back().seq, 4);
}

// Every moment a run can end at, and what the next start must count.
TEST_F(KirokuFiles, EachCrashMomentLeavesExactlyTheUncountedRows)
{
    struct Moment {
        const char* what;
        int stopSecondWrite; // steps of the second counts write done
        std::vector<std::string> uncounted;
    };
    const Moment moments[] = {
        {"before the write", 0, {"K3", "K4"}},
        {"after the mark, before the counts file", 1, {"K3", "K4"}},
        {"after the counts file", 2, {}},
    };
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.what);
        WorkFolder own;
        auto journal = Start();
        // First start: the rows before any counts file are all uncounted.
        ASSERT_TRUE(journal->Append(Entry("K1", true)));
        ASSERT_TRUE(journal->Append(Entry("K2", false)));
        EXPECT_EQ(Uncounted(*Start()), (std::vector<std::string> {"K1", "K2"}));
        WriteCounts(*journal, "counts after K2");
        EXPECT_TRUE(Uncounted(*Start()).empty());
        ASSERT_TRUE(journal->Append(Entry("K3", true)));
        ASSERT_TRUE(journal->Append(Entry("K4", true)));
        WriteCounts(*journal, "counts after K4", m.stopSecondWrite);
        EXPECT_EQ(Uncounted(*Start()), m.uncounted);
    }
}

TEST_F(KirokuFiles, ACountsFileTheMarkDoesNotKnowCountsNothingAgain)
{
    auto journal = Start();
    ASSERT_TRUE(journal->Append(Entry("K1", true)));
    WriteCounts(*journal, "counts");
    ASSERT_TRUE(journal->Append(Entry("K2", true)));
    // An older copy of the program, or an editor, wrote the counts file.
    folder.Write(kSeikaiFileName, "someone else's counts");
    auto next = Start();
    EXPECT_TRUE(Uncounted(*next).empty());
    // Rows appended from here on are tied to that file, and count after a crash.
    ASSERT_TRUE(next->Append(Entry("K3", true)));
    EXPECT_EQ(Uncounted(*Start()), (std::vector<std::string> {"K3"}));
    // So is a counts file deleted by hand: nothing counts again.
    std::filesystem::remove(kSeikaiFileName);
    EXPECT_TRUE(Uncounted(*Start()).empty());
}

// A row cut short at any byte, its line end included (a crash, or a disk
// that filled right after its closing quote), is no row: not at the next
// start, and not after the next append, whose row gets a number of its own.
TEST_F(KirokuFiles, ARowCutAtAnyByteIsNeverCountedNorCompletedByTheNextAppend)
{
    auto journal = Start();
    ASSERT_TRUE(journal->Append(Entry("K1", true)));
    journal.reset();
    const std::string whole = folder.Read(kKirokuFileName);
    KirokuEntry torn = Entry("K2", true);
    torn.seq = 2;
    const std::string line = KirokuLine(torn);
    for (std::size_t cut = 1; cut < line.size(); ++cut) {
        SCOPED_TRACE(cut);
        folder.Write(kKirokuFileName, whole + line.substr(0, cut));
        auto again = Start();
        ASSERT_EQ(again->Entries().size(), 1u);
        ASSERT_TRUE(again->Append(Entry("K3", false)));
        ASSERT_TRUE(again->Append(Entry("K4", false)));
        auto third = Start();
        ASSERT_EQ(third->Entries().size(), 3u);
        EXPECT_EQ(third->Entries()[1].key, "K3");
        EXPECT_EQ(third->Entries()[1].seq, 3);
        EXPECT_EQ(third->Entries()[2].seq, 4);
    }
}

// The same cut by a disk that fills during the append: the learner is told
// the answer was not recorded, and once there is room it never appears,
// nor is counted, while the answers around it count once.
TEST_F(KirokuFiles, AnAnswerAFullDiskCutShortNeverBecomesARow)
{
    for (const std::size_t heldBack : {2u, 1u, 30u}) { // after the closing quote, after the CR, in a cell
        SCOPED_TRACE(heldBack);
        WorkFolder own;
        auto journal = Start();
        ASSERT_TRUE(journal->Append(Entry("K1", true)));
        SetAppendFault(heldBack);
        FileError reason;
        EXPECT_FALSE(journal->Append(Entry("K2", true), &reason));
        EXPECT_EQ(reason.number, ENOSPC);
        ASSERT_NE(own.Read(kKirokuFileName).back(), '\n');
        EXPECT_EQ(Start()->Entries().size(), 1u);
        // Its count is in memory: the counts file written now holds it.
        WriteCounts(*journal, "counts with K1 and K2");
        ASSERT_TRUE(journal->Append(Entry("K3", false)));
        auto next = Start();
        EXPECT_FALSE(next->MarkRejected());
        ASSERT_EQ(next->Entries().size(), 2u);
        EXPECT_EQ(next->Entries()[1].key, "K3");
        EXPECT_EQ(Uncounted(*next), (std::vector<std::string> {"K3"}));
    }
}

// An edited mark: a lowered number would count the answers after it again,
// one above the journal's last row would stop the journal. Neither is
// believed: nothing is counted again, it is told, and the journal goes on.
TEST_F(KirokuFiles, AnEditedMarkCountsNothingTwiceAndTheJournalGoesOn)
{
    const std::string counts = "counts after K3";
    auto journal = Start();
    for (const char* key : {"K1", "K2", "K3"})
        ASSERT_TRUE(journal->Append(Entry(key, true)));
    WriteCounts(*journal, counts);
    journal.reset();
    const std::string rows = folder.Read(kKirokuFileName);
    const std::string mark = folder.Read(kKirokuMarkFileName);
    EXPECT_FALSE(Start()->MarkRejected());
    const std::string row = "\r\n\"3\",\"" + SeikaiFileHash(&counts) + "\"";
    ASSERT_NE(mark.find(row), std::string::npos);
    auto withNumber = [&](const std::string& number) {
        std::string edited = mark;
        edited.replace(mark.find(row) + 3, 1, number);
        return edited;
    };
    // As an older version wrote it: a number and a hash, no check.
    const auto withoutCheck = [&](const std::string& number) {
        const std::string cut = withNumber(number);
        const std::string edited = "\r\n\"" + number + "\",\"" + SeikaiFileHash(&counts) + "\"";
        return cut.substr(0, cut.find(edited) + edited.size()) + "\r\n";
    };
    const struct {
        const char* what;
        std::string bytes;
        bool told;
    } edits[] = {
        {"lowered", withNumber("1"), true},
        {"far above the last row", withNumber("999999999999999"), true},
        {"above the last row, its check made again", "", true},
        // An update after a confirmed close: believed, as it counts nothing again.
        {"no check, as an older version left it", withoutCheck("3"), false},
        {"no check, lowered", withoutCheck("1"), true},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.what);
        folder.Write(kKirokuFileName, rows);
        folder.Write(kKirokuMarkFileName, edit.bytes);
        if (edit.bytes.empty()) {
            ASSERT_TRUE(WriteKirokuMark({{4, SeikaiFileHash(&counts)}}, nullptr));
        }
        auto start = Start();
        EXPECT_EQ(start->MarkRejected(), edit.told);
        EXPECT_TRUE(Uncounted(*start).empty());
        EXPECT_TRUE(start->Writable());
        ASSERT_TRUE(start->Append(Entry("K4", true)));
        EXPECT_EQ(start->Entries().back().seq, 4);
        // The mark was made again before that row: it counts, once.
        auto next = Start();
        EXPECT_FALSE(next->MarkRejected());
        EXPECT_EQ(Uncounted(*next), (std::vector<std::string> {"K4"}));
    }
}

TEST_F(KirokuFiles, HostileJournalFilesAreNeitherFollowedNorAppendedTo)
{
    // A link out of the folder (to a file that would read forever).
    std::filesystem::create_symlink("/dev/zero", kKirokuFileName);
    auto journal = Start();
    EXPECT_FALSE(journal->Writable());
    EXPECT_FALSE(journal->Problems().empty());
    EXPECT_FALSE(journal->Append(Entry("K1", true)));
    std::filesystem::remove(kKirokuFileName);
    // A folder of that name.
    std::filesystem::create_directory(kKirokuFileName);
    EXPECT_FALSE(Start()->Writable());
    std::filesystem::remove(kKirokuFileName);
    // Rows out of order, and zeros after a crash: only the rows before them
    // and the whole ones after count.
    KirokuEntry a = Entry("A", true), b = Entry("B", true), c = Entry("C", true);
    a.seq = 5;
    b.seq = 3;
    c.seq = 6;
    folder.Write(kKirokuFileName, KirokuLine(a) + KirokuLine(b) + std::string(40, '\0') + "\r\n" + KirokuLine(c));
    auto mixed = Start();
    ASSERT_EQ(mixed->Entries().size(), 2u);
    EXPECT_EQ(mixed->Entries()[1].key, "C");
}

TEST_F(KirokuFiles, OversizedFilesAreRefusedWithTheirOwnLimits)
{
    // Sparse: the size is claimed, no disk is filled.
    folder.Write(kKirokuFileName, "");
    std::filesystem::resize_file(kKirokuFileName, 70 * kMiB);
    folder.Write(kKirokuMarkFileName, std::string(kKirokuMarkMaxBytes + 1, '0'));
    auto journal = Start();
    EXPECT_FALSE(journal->Writable());
    std::vector<std::string> reasons;
    for (const KirokuProblem& problem : journal->Problems())
        reasons.push_back(problem.fileName + ": " + FileReason(problem.reason));
    EXPECT_EQ(reasons, (std::vector<std::string> {std::string(kKirokuFileName) + ": ファイルが大きすぎます（64 MB まで）",
                                                  std::string(kKirokuMarkFileName) + ": ファイルが大きすぎます（64 KB まで）"}));
}

TEST_F(KirokuFiles, AFullJournalWhoseRowsAreCountedBecomesTheOlderOne)
{
    // A journal of kKirokuRotateRows rows, all held by the counts file.
    TextTable header;
    header[0] = KirokuHeaderRow();
    std::string bytes = TableToFileBytes(header);
    bytes.reserve(kKirokuRotateRows * 70);
    KirokuEntry e = Entry("K1", true);
    for (std::size_t i = 1; i <= kKirokuRotateRows; ++i) {
        e.seq = static_cast<std::int64_t>(i);
        bytes += KirokuLine(e);
    }
    folder.Write(kKirokuOldFileName, "an older journal");
    folder.Write(kKirokuFileName, bytes);
    folder.Write(kSeikaiFileName, "counts");
    const std::string counts = "counts";
    ASSERT_TRUE(WriteKirokuMark({{static_cast<std::int64_t>(kKirokuRotateRows) - 1, SeikaiFileHash(&counts)}}, nullptr));
    // One row is not counted yet: nothing moves.
    EXPECT_EQ(Start()->Entries().size(), kKirokuRotateRows);
    EXPECT_EQ(folder.Read(kKirokuOldFileName), "an older journal");
    ASSERT_TRUE(WriteKirokuMark({{static_cast<std::int64_t>(kKirokuRotateRows), SeikaiFileHash(&counts)}}, nullptr));
    auto journal = Start();
    EXPECT_EQ(folder.Read(kKirokuOldFileName), bytes);
    EXPECT_FALSE(folder.Exists(kKirokuFileName));
    EXPECT_EQ(journal->Entries().size(), kKirokuRotateRows);
    ASSERT_TRUE(journal->Append(Entry("K2", true)));
    EXPECT_EQ(journal->Entries().back().seq, static_cast<std::int64_t>(kKirokuRotateRows) + 1);
    EXPECT_EQ(Start()->Entries().size(), kKirokuRotateRows + 1);
}

} // namespace

namespace {

TEST(WriteLeftovers, OnlyTheProgramsOwnTemporaryFilesGo)
{
    WorkFolder folder;
    const std::vector<std::string> leftovers {"db_1toi_pr.dat.tmp-Ab3xYz", "db_save_load.dat.tmp-000000",
                                              "db_nanwido.dat.tmp-qwerty", "db_kiroku_mark.dat.tmp-a1b2c3",
                                              "db_kiroku.dat.tmp-Ab3xYz"};
    const std::vector<std::string> kept {"db_1toi_pr.dat", "db_1toi_pr.dat.tmp-toolong1", "notes.dat.tmp-Ab3xYz",
                                         "db_kiroku_1.dat.tmp-Ab3xYz", "toi_dq_basic3.dat.tmp-Ab3xYz"};
    for (const auto& name : leftovers)
        folder.Write(name, "half a database");
    for (const auto& name : kept)
        folder.Write(name, "keep");
    // A link of that name is not followed nor removed; nor is a folder.
    std::filesystem::create_symlink("/etc/hostname", "db_save_load.dat.tmp-LINK00");
    std::filesystem::create_directory("db_nanwido.dat.tmp-FOLDER");
    auto removed = RemoveWriteLeftovers();
    std::sort(removed.begin(), removed.end());
    auto expected = leftovers;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(removed, expected);
    for (const auto& name : kept)
        EXPECT_TRUE(folder.Exists(name)) << name;
    EXPECT_TRUE(std::filesystem::is_symlink("db_save_load.dat.tmp-LINK00"));
    EXPECT_TRUE(std::filesystem::is_directory("db_nanwido.dat.tmp-FOLDER"));
}

} // namespace
