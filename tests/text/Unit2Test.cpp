#include "text/Clock.h"
#include "text/SafeFile.h"
#include "text/Unit2.h"
#include "platform/Files.h"

#include "support/EucOracle.h"
#include "support/WorkFolder.h"
#include "support/FailingDisk.h"
#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Each test runs in a fresh folder of its own, the working folder while it
// runs, so file names are as plain as the program's.
class Unit2Files : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetWriteFault(WriteFault::None);
    }

    void Put(const std::string& name, const std::string& bytes) const { folder_.Write(name, bytes); }
    std::string Get(const std::string& name) const { return folder_.Read(name); }
    // Names in the working folder, to see that no temporary file is left.
    static std::vector<std::string> Entries()
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator("."))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    WorkFolder folder_;
};

// The two-byte characters of one lead byte with trail bytes first .. last
// (0x7F is no trail byte), as one text.
std::string CharactersOfLead(unsigned lead, unsigned first, unsigned last)
{
    std::string text;
    for (unsigned trail = first; trail <= last; ++trail) {
        if (trail == 0x7F)
            continue;
        text += static_cast<char>(lead);
        text += static_cast<char>(trail);
    }
    return text;
}

std::vector<unsigned> JisLeadBytes()
{
    std::vector<unsigned> leads;
    for (unsigned lead = 0x81; lead <= 0x9F; ++lead)
        leads.push_back(lead);
    for (unsigned lead = 0xE0; lead <= 0xEF; ++lead)
        leads.push_back(lead);
    return leads;
}

// ---------------------------------------------------------------- strings

struct SplitCase {
    std::string text, marker;
    std::vector<std::string> pieces;
};

TEST(Unit2Strings, SplitTextKeepsEveryPiece)
{
    const SplitCase cases[] = {
        {"1<%>2<%>3", "<%>", {"1", "2", "3"}},
        {"", "<%>", {""}},
        {"<%>", "<%>", {"", ""}},
        {"<%><%>a<%>", "<%>", {"", "", "a", ""}},
        {"abc", "<%>", {"abc"}},
        {"aaa", "aa", {"", "a"}}, // non-overlapping, left to right
        {"\"a\",\"b\"", "\",\"", {"\"a", "b\""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitText(c.text, c.marker), c.pieces) << c.text;
}

TEST(Unit2Strings, ReplaceAllNeverSearchesItsReplacement)
{
    EXPECT_EQ(ReplaceAll("a<$>b<$>", "<$>", "\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAll("ab", "a", "aa"), "aab");
    EXPECT_EQ(ReplaceAll("abc", "x", "y"), "abc");
    EXPECT_EQ(ReplaceAll("", "x", "y"), "");
    EXPECT_EQ(EraseAll("\r\na\rb\r", "\r"), "\nab");
    EXPECT_EQ(EraseAll("<%><%>", "<%>"), "");
}

TEST(Unit2Strings, FindTextFromAStartPosition)
{
    struct Case {
        std::string text, marker;
        std::int64_t start, found;
    } const cases[] = {
        {"abcabc", "bc", 0, 1}, {"abcabc", "bc", 1, 1}, {"abcabc", "bc", 2, 4}, {"abcabc", "bc", 5, -1},
        {"abcabc", "x", 0, -1}, {"abcabc", "bc", 100, -1}, {"abcabc", "bc", -5, 1}, {"", "a", 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindText(c.text, c.marker, c.start), c.found) << c.text << " " << c.marker << " " << c.start;
}

TEST(Unit2Strings, SubTextStopsAtTheEnd)
{
    EXPECT_EQ(SubText("abcdef", 2, 3), "cde");
    EXPECT_EQ(SubText("abcdef", 4, 10), "ef");
    EXPECT_EQ(SubText("abcdef", 0, 6), "abcdef");
    EXPECT_EQ(SubText("abcdef", 3, 0), "");
    EXPECT_EQ(SubText("abcdef", 6, 1), "");
    EXPECT_EQ(SubText("abcdef", 60, 1), "");
    EXPECT_EQ(SubText("abcdef", -1, 2), "");
    EXPECT_EQ(SubText("abcdef", 1, -2), "");
}

TEST(Unit2Strings, IntToTextIsPlainDecimal)
{
    EXPECT_EQ(IntToText(-3), "-3");
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(120), "120");
    EXPECT_EQ(IntToText(INT32_MAX), "2147483647");
    EXPECT_EQ(IntToText(INT32_MIN), "-2147483648");
}

TEST(Unit2Strings, TextToIntReadsTheLeadingNumberAndClamps)
{
    struct Case {
        std::string text;
        std::int32_t value;
    } const cases[] = {
        {"12abc", 12},
        {"abc", 0},
        {" -3", -3},
        {"\t+7", 7},
        {"", 0},
        {"-", 0},
        {"- 3", 0},
        {"0007", 7},
        {"  42 ", 42},
        {"3\r\n", 3},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"-99999999999999999999999999999999", INT32_MIN},
        {"+00000000000000000000000000000005", 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToInt(c.text), c.value) << "\"" << c.text << "\"";
    for (std::int32_t v : {INT32_MIN, -1, 0, 1, 19, INT32_MAX})
        EXPECT_EQ(TextToInt(IntToText(v)), v);
}

// ---------------------------------------------------------- code conversion

TEST(Unit2Codes, EveryJisX0208CharacterRoundTrips)
{
    for (unsigned lead : JisLeadBytes()) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            std::string sjis {static_cast<char>(lead), static_cast<char>(trail)};
            std::string euc = SjisToEuc(sjis);
            ASSERT_EQ(euc.size(), 2u);
            // Both EUC-JP bytes are high, so no quote, comma or line end can appear.
            EXPECT_GE(static_cast<unsigned char>(euc[0]), 0xA1u) << std::hex << lead << " " << trail;
            EXPECT_GE(static_cast<unsigned char>(euc[1]), 0xA1u) << std::hex << lead << " " << trail;
            EXPECT_EQ(EucToSjis(euc), sjis) << std::hex << lead << " " << trail;
        }
    }
}

TEST(Unit2Codes, KnownCharactersAndLoneBytes)
{
    EXPECT_EQ(SjisToEuc("\x82\xA0"), "\xA4\xA2");         // あ
    EXPECT_EQ(SjisToEuc("\x96\xE2"), "\xCC\xE4");         // 問
    EXPECT_EQ(EucToSjis("\xCC\xE4\xA4\xA2"), "\x96\xE2\x82\xA0");
    EXPECT_EQ(SjisToEuc("ab,\"c\""), "ab,\"c\"");
    EXPECT_EQ(SjisToEuc("a\x82"), "a\x82"); // a lone last byte stays
    EXPECT_EQ(EucToSjis("a\xA4"), "a\xA4");
    EXPECT_EQ(SjisToEuc(""), "");
}

// ------------------------------------------------------------- table files

TEST_F(Unit2Files, TwoLinesReadTheSameWithCrLfOrLf)
{
    const TextTable expected {{0, {"a", "b"}}, {1, {"c"}}};
    Put("crlf.dat", "\"a\",\"b\"\r\n\"c\"\r\n");
    Put("lf.dat", "\"a\",\"b\"\n\"c\"\n");
    EXPECT_EQ(LoadTextTable("crlf.dat"), expected);
    EXPECT_EQ(LoadTextTable("lf.dat"), expected);
}

TEST_F(Unit2Files, LastLineWithoutLineEndIsLostAndEmptyFileIsEmpty)
{
    Put("open.dat", "\"a\"\r\n\"b\"");
    EXPECT_EQ(LoadTextTable("open.dat"), (TextTable {{0, {"a"}}}));
    Put("one.dat", "\"a\"");
    EXPECT_TRUE(LoadTextTable("one.dat").empty());
    Put("empty.dat", "");
    EXPECT_TRUE(LoadTextTable("empty.dat").empty());
}

TEST_F(Unit2Files, TwoQuotesAreOneEmptyCellBothWays)
{
    Put("q.dat", "\"\"\r\n");
    EXPECT_EQ(LoadTextTable("q.dat"), (TextTable {{0, {""}}}));
    EXPECT_EQ(TableToText({{0, {""}}}), "\"\"\n");
}

TEST_F(Unit2Files, EveryLeadByteRangeSurvivesLoading)
{
    TextTable table;
    std::string file;
    std::int32_t row = 0;
    for (unsigned lead : JisLeadBytes()) {
        std::string low = CharactersOfLead(lead, 0x40, 0x7E);
        std::string high = CharactersOfLead(lead, 0x80, 0xFC);
        // Low and high trail bytes in cells of their own, alone and next to
        // ASCII, so a character meets every kind of cell edge.
        TextRow cells {low, "x" + high + "y", low + high, "<$>" + high + low + "<%>"};
        table[row++] = cells;
        file += "\"" + cells[0] + "\",\"" + cells[1] + "\",\"" + cells[2] + "\",\"" + cells[3] + "\"\r\n";
    }
    Put("bank.dat", file);
    EXPECT_EQ(LoadTextTable("bank.dat"), table);
    EXPECT_EQ(TableToText(table), EraseAll(file, "\r"));
}

TEST_F(Unit2Files, TableFileRoundTripsByteForByte)
{
    TextTable table {
        {0, {"\x96\xE2\x83\x4C\x81\x5B", "\x82\xBB\x82\xCC\x96\xE2\x82\xCC\x90\xB3\x89\xF0\x90\x94"}}, // 問キー, その問の正解数
        {1, {"", "0", ""}},
        {2, {"1<%>2<%>3", "0<%>0<$>0<%>0", "\xEA\xA4\x9F\x40"}},
        {3, {"a\"b", "c,d", "\xE0\xFC"}},
    };
    WriteTextFile(TableToText(table), "t.dat");
    const std::string first = Get("t.dat");
    EXPECT_NE(first.find("\r\n"), std::string::npos);
    EXPECT_EQ(LoadTextTable("t.dat"), table);

    WriteTextFile(TableToText(LoadTextTable("t.dat")), "t.dat");
    EXPECT_EQ(Get("t.dat"), first);
}

TEST_F(Unit2Files, TableToTextVisitsRowsInOrderAndSkipsCelllessRows)
{
    TextTable table;
    table[5] = {"e"};
    table[-1] = {"m", "n"};
    table[2] = {};
    table[0] = {"z"};
    EXPECT_EQ(TableToText(table), "\"m\",\"n\"\n\"z\"\n\"e\"\n");
    EXPECT_EQ(TableToText({}), "");
}

TEST_F(Unit2Files, WriteTextFileEndsEveryLineWithCrLf)
{
    WriteTextFile("a\nb\n\nc", "w.dat");
    EXPECT_EQ(Get("w.dat"), "a\r\nb\r\n\r\nc");
    WriteTextFile("5", "n.dat");
    EXPECT_EQ(Get("n.dat"), "5");
    WriteTextFile("", "n.dat");
    EXPECT_EQ(Get("n.dat"), "");
}

// Damaged lines never crash and never disturb the rows before them.
TEST_F(Unit2Files, MalformedLinesAreReadWithoutHarm)
{
    struct Case {
        const char* what;
        std::string bytes;
        TextTable expected;
    } const cases[] = {
        // A high byte pairs with the quote after it: that cell edge is lost,
        // the next line is whole.
        {"lone high byte before a quote", "\"a\x81\",\"b\"\r\n\"c\"\r\n",
         {{0, {"a\x81\",\"b"}}, {1, {"c"}}}},
        {"lone high byte before a comma", "\"a\"\x81,\"b\"\r\n\"c\"\r\n",
         {{0, {"a\"\x81,\"b"}}, {1, {"c"}}}},
        // A line end never belongs to a character: the high byte before it
        // is the line's last byte, taken off as its edge.
        {"lone high byte before LF", "\"a\"\x81\n\"b\"\n", {{0, {"a\""}}, {1, {"b"}}}},
        {"lone high byte before CR LF", "\"a\x81\r\n\"b\"\r\n", {{0, {"a"}}, {1, {"b"}}}},
        {"lone high byte at the end", "\"a\"\r\n\x81", {{0, {"a"}}}},
        {"an empty line between rows keeps row numbers", "\"a\"\r\n\r\n\"c\"\r\n",
         {{0, {"a"}}, {1, {""}}, {2, {"c"}}}},
        {"a one-byte line between rows", "\"a\"\n\"\n\"c\"\n", {{0, {"a"}}, {1, {""}}, {2, {"c"}}}},
        {"blank lines at the end add no rows", "\"a\"\r\n\r\n\r\n\n", {{0, {"a"}}}},
        {"only blank lines", "\r\n\n\r\n", {}},
        {"a line without quotes loses its edge bytes", "abc\n", {{0, {"b"}}}},
        {"a CR inside a cell is dropped", "\"a\rb\"\r\n", {{0, {"ab"}}}},
        {"a NUL ends the file", std::string("\"a\"\r\n\"b\0\"\r\n\"c\"\r\n", 16), {{0, {"a"}}}},
    };
    for (const auto& c : cases) {
        Put("m.dat", c.bytes);
        EXPECT_EQ(LoadTextTable("m.dat"), c.expected) << c.what;
    }
}

// ---------------------------------------------------------- reading files

TEST_F(Unit2Files, ReadWholeFileCheckedTellsFilesFromTheRest)
{
    std::string text = "stale";
    FileError error;
    Put("f.dat", std::string("ab\0cd", 5));
    EXPECT_TRUE(ReadWholeFileChecked("f.dat", text, &error));
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(ReadWholeFile("f.dat"), "ab");

    ASSERT_EQ(::mkdir("folder.dat", 0755), 0);
    EXPECT_FALSE(ReadWholeFileChecked("folder.dat", text, &error));
    EXPECT_EQ(text, "");
    EXPECT_EQ(error.step, FileStep::NotRegular);
    EXPECT_EQ(error.number, EISDIR);
    EXPECT_EQ(ReadWholeFile("folder.dat"), "");
    EXPECT_TRUE(LoadTextTable("folder.dat").empty());

    // A FIFO with no writer would block a plain open for ever.
    ASSERT_EQ(::mkfifo("fifo.dat", 0644), 0);
    EXPECT_FALSE(ReadWholeFileChecked("fifo.dat", text, &error));
    EXPECT_EQ(error.step, FileStep::NotRegular);
    EXPECT_EQ(error.number, 0);

    // A device reads for ever: refused without a byte read.
    EXPECT_FALSE(ReadWholeFileChecked("/dev/zero", text, &error));
    EXPECT_EQ(error.step, FileStep::NotRegular);

    EXPECT_FALSE(ReadWholeFileChecked("missing.dat", text, &error));
    EXPECT_EQ(error.step, FileStep::Open);
    EXPECT_EQ(error.number, ENOENT);
    EXPECT_FALSE(ReadWholeFileChecked("missing.dat", text)); // no reason wanted
}

TEST_F(Unit2Files, DataFileExistsForFilesAndFolders)
{
    Put("f.dat", "x");
    ASSERT_EQ(::mkdir("d.dat", 0755), 0);
    EXPECT_TRUE(DataFileExists("f.dat"));
    EXPECT_TRUE(DataFileExists("d.dat"));
    EXPECT_FALSE(DataFileExists("none.dat"));
}

// ---------------------------------------------------------- failed writes

using Unit2FilesDeathTest = Unit2Files;

TEST_F(Unit2FilesDeathTest, WriteToAMissingFolderEndsTheProcess)
{
    EXPECT_EXIT(WriteTextFile("x\n", "no/such/folder/db.dat"), ::testing::ExitedWithCode(1),
                "ファイルをオープンできません");
}

TEST_F(Unit2FilesDeathTest, WriteToAReadOnlyFileEndsTheProcessAndKeepsIt)
{
    Put("ro.dat", "old\r\n");
    ASSERT_EQ(::chmod("ro.dat", 0444), 0);
    EXPECT_EXIT(WriteTextFile("new\n", "ro.dat"), ::testing::ExitedWithCode(1), "ファイルをオープンできません");
    EXPECT_EQ(Get("ro.dat"), "old\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string> {"ro.dat"});
}

TEST_F(Unit2FilesDeathTest, WriteToAFolderNameEndsTheProcessAndKeepsTheFolder)
{
    ASSERT_EQ(::mkdir("db.dat", 0755), 0);
    EXPECT_EXIT(WriteTextFile("x\n", "db.dat"), ::testing::ExitedWithCode(1), "ファイルをオープンできません");
    struct stat st {};
    ASSERT_EQ(::stat("db.dat", &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(Unit2FilesDeathTest, InterruptedWriteEndsTheProcess)
{
    Put("db.dat", "old");
    EXPECT_EXIT((SetWriteFault(WriteFault::Sync), WriteTextFile("new", "db.dat")),
                ::testing::ExitedWithCode(1), "ファイルをオープンできません");
    EXPECT_EQ(Get("db.dat"), "old");
}

std::string FaultName(const ::testing::TestParamInfo<WriteFault>& info)
{
    switch (info.param) {
    case WriteFault::Open: return "Open";
    case WriteFault::Write: return "Write";
    case WriteFault::Sync: return "Sync";
    case WriteFault::Rename: return "Rename";
    case WriteFault::None:
    case WriteFault::CreateDenied: break;
    }
    return "None";
}

class Unit2WriteFault : public Unit2Files, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(Unit2WriteFault, OldFileSurvivesAndNoTemporaryIsLeft)
{
    const std::string old = "\"old\",\"\x96\xE2\"\r\n\"row\"\r\n";
    Put("db.dat", old);
    SetWriteFault(GetParam());
    FileError error;
    EXPECT_FALSE(TryWriteTextFile(std::string(100000, 'n') + "\n", "db.dat", &error));
    EXPECT_NE(error.number, 0);
    EXPECT_EQ(Get("db.dat"), old);
    EXPECT_EQ(Entries(), std::vector<std::string> {"db.dat"});

    // The fault fires once: the next write goes through.
    EXPECT_TRUE(TryWriteTextFile("new\n", "db.dat"));
    EXPECT_EQ(Get("db.dat"), "new\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string> {"db.dat"});
}

INSTANTIATE_TEST_SUITE_P(EveryStep, Unit2WriteFault,
                         ::testing::Values(WriteFault::Open, WriteFault::Write, WriteFault::Sync, WriteFault::Rename),
                         FaultName);

TEST_F(Unit2Files, FolderRefusingNewFilesNeverTruncatesTheDatabaseInPlace)
{
    // Rewriting in place would leave a cut file after a kill: the write
    // fails instead and the old file stays whole.
    Put("db.dat", "old");
    SetWriteFault(WriteFault::CreateDenied);
    FileError error;
    EXPECT_FALSE(TryWriteTextFile("new\n", "db.dat", &error));
    EXPECT_EQ(error.step, FileStep::Create);
    EXPECT_EQ(FileReason(error), "書き込みの権限がありません");
    EXPECT_EQ(Get("db.dat"), "old");
    EXPECT_EQ(Entries(), std::vector<std::string> {"db.dat"});
}

TEST_F(Unit2Files, SymbolicLinkInsideTheFolderIsFollowedAndStaysALink)
{
    ASSERT_EQ(::mkdir("real", 0755), 0);
    Put("real/db.dat", "old");
    ASSERT_EQ(::symlink("real/db.dat", "db.dat"), 0);
    ASSERT_TRUE(TryWriteTextFile("new\n", "db.dat"));
    Platform::FileKind kind;
    ASSERT_TRUE(Platform::InspectLink("db.dat", kind));
    EXPECT_TRUE(kind.link);
    EXPECT_EQ(Get("real/db.dat"), "new\r\n");
    EXPECT_FALSE(LinkLeadsOutside("db.dat"));
}

TEST_F(Unit2Files, SymbolicLinkOutOfTheFolderIsNeverWritten)
{
    // An unpacked archive's "db_nanwido.dat -> ~/important": the file it
    // leads to must never be replaced.
    ASSERT_EQ(::mkdir("work", 0755), 0);
    Put("important", "precious");
    const std::string outside = std::filesystem::absolute("important").string();
    ASSERT_EQ(::symlink(outside.c_str(), "work/db.dat"), 0);
    ASSERT_EQ(::symlink("../important", "work/up.dat"), 0);
    ASSERT_EQ(::symlink("nowhere", "work/dangling.dat"), 0);
    for (const char* name : {"work/db.dat", "work/up.dat", "work/dangling.dat"}) {
        EXPECT_TRUE(LinkLeadsOutside(name)) << name;
        FileError error;
        EXPECT_FALSE(TryWriteTextFile("5", name, &error)) << name;
        EXPECT_EQ(error.step, FileStep::LinkOutside) << name;
        EXPECT_EQ(FileReason(error), "フォルダの外を指すリンクです");
        Platform::FileKind kind;
        ASSERT_TRUE(Platform::InspectLink(name, kind));
        EXPECT_TRUE(kind.link) << name;
    }
    EXPECT_EQ(Get("important"), "precious");
    EXPECT_FALSE(DataFileExists("work/nowhere"));
}

TEST_F(Unit2Files, ReplacedFileKeepsItsOwner)
{
    // A run as root must leave the learner's files the learner's.
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a file to another user";
    Put("db.dat", "old");
    ASSERT_EQ(::chown("db.dat", 65534, 65534), 0);
    ASSERT_EQ(::chmod("db.dat", 0604), 0);
    ASSERT_TRUE(TryWriteTextFile("new", "db.dat"));
    struct stat st {};
    ASSERT_EQ(::stat("db.dat", &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(Get("db.dat"), "new");
}

TEST_F(Unit2Files, ReadsAreBoundedAndNeverBlock)
{
    std::string bytes;
    FileError error;
    Put("big.dat", "0123456789");
    EXPECT_FALSE(ReadRegularFile("big.dat", bytes, &error, 4));
    EXPECT_EQ(error.step, FileStep::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(ReadRegularFile("big.dat", bytes, &error, 10));
    EXPECT_EQ(bytes, "0123456789");
    // A FIFO with a writer that never writes, and a link to a device.
    ASSERT_EQ(::mkfifo("fifo.jpg", 0644), 0);
    EXPECT_FALSE(ReadRegularFile("fifo.jpg", bytes, &error));
    EXPECT_EQ(error.step, FileStep::NotRegular);
    ASSERT_EQ(::symlink("/dev/zero", "zero.jpg"), 0);
    EXPECT_FALSE(ReadRegularFile("zero.jpg", bytes, &error));
    EXPECT_EQ(error.step, FileStep::NotRegular);
    EXPECT_EQ(FileReason(error), "通常のファイルではありません");
}

TEST_F(Unit2Files, FailedWriteToANewNameLeavesNothing)
{
    SetWriteFault(WriteFault::Rename);
    EXPECT_FALSE(TryWriteTextFile("x\n", "new.dat"));
    EXPECT_TRUE(Entries().empty());
}

TEST_F(Unit2Files, ReplacedFileKeepsItsModeAndNewFileFollowsTheUmask)
{
    Put("db.dat", "old");
    ASSERT_EQ(::chmod("db.dat", 0640), 0);
    ASSERT_TRUE(TryWriteTextFile("new", "db.dat"));
    struct stat st {};
    ASSERT_EQ(::stat("db.dat", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    mode_t oldMask = ::umask(027);
    bool written = TryWriteTextFile("x", "fresh.dat");
    ::umask(oldMask);
    ASSERT_TRUE(written);
    ASSERT_EQ(::stat("fresh.dat", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// ---------------------------------------------------------------- dates

class Unit2Dates : public ::testing::Test {
protected:
    void TearDown() override { FixedClock::Set(std::nullopt); }
};

TEST_F(Unit2Dates, NowTextIsTwentyFourBytesOfEnglishNames)
{
    struct Case {
        std::time_t t;
        const char* text;
    } const cases[] = {
        {0, "Thu Jan 01 00:00:00 1970"},
        {951782400, "Tue Feb 29 00:00:00 2000"},
        {1234567890, "Fri Feb 13 23:31:30 2009"},
        {1796586175, "Sun Dec 06 19:42:55 2026"},
        {253402300799, "Fri Dec 31 23:59:59 9999"},
    };
    // The names come from the program, not from the locale.
    std::string oldLocale = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"C", "C.UTF-8", "ja_JP.UTF-8", "de_DE.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale))
            continue;
        for (const auto& c : cases) {
            FixedClock::Set(c.t);
            EXPECT_EQ(NowText(), c.text) << locale;
            EXPECT_EQ(TimeToText(c.t), c.text) << locale;
        }
    }
    std::setlocale(LC_ALL, oldLocale.c_str());
}

TEST_F(Unit2Dates, AClockBeyondYear9999StillGivesTwentyFourBytes)
{
    FixedClock::Set(253402300800); // 1 January 10000
    EXPECT_EQ(NowText().size(), 24u);
    EXPECT_EQ(TimeToText(-62200000000).size(), 24u); // before year 0
}

} // namespace
