// The bank tool as authors run it: exit status, messages and files written.
#include "text/SjisCodec.h"
#include "text/Unit2.h"
#include "picture/LoadJpegBitmap.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <algorithm>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef MIRETO_BANK_TOOL
#error "MIRETO_BANK_TOOL must name the mireto_bank program"
#endif

namespace {

const std::string kHeader = "問キー,問題文,解説文,正解,選択肢数,ラベル種類,問題画像,解説画像\n";

struct ToolRun {
    int status = -1;
    std::string output; // standard output and error together
};

// limitKb: the most address space the tool may take, 0 for no limit.
ToolRun Tool(const std::vector<std::string>& args, long limitKb = 0)
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer reserves terabytes of address space for its shadow, so
    // a sanitized tool cannot run under any address-space limit; there the
    // bank fuzzer holds the memory bound (-malloc_limit_mb) instead.
    limitKb = 0;
#endif
    std::string command = limitKb > 0 ? "ulimit -v " + std::to_string(limitKb) + "; " : std::string();
    command += "'" MIRETO_BANK_TOOL "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += " 2>&1";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class BankTool : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(BankTool, ConvertJoinsSourcesIntoABankTheProgramReads)
{
    const std::string a = Write("part-a.csv", kHeader + "1001,\"表を作る文は？\n1. CREATE\n2. DROP\",解説,1,2,0,0,0\n");
    const std::string b = Write("part-b.csv", kHeader + "2001,q,k,SELECT,0,0,0,0\n");
    const std::string out = Path("toi_dq_basic3.dat");

    ToolRun run = Tool({"convert", out, a, b});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("2 questions (1 choice, 1 typed)"), std::string::npos) << run.output;

    TextTable bank = LoadTextTable(out);
    ASSERT_EQ(bank.size(), 3u);
    EXPECT_EQ(bank.at(0).size(), 8u);
    EXPECT_EQ(bank.at(0)[0], "\x96\xE2\x83\x4C\x81\x5B"); // 問キー
    EXPECT_EQ(SjisToUtf8(bank.at(1)[1]), "表を作る文は？<$>1. CREATE<$>2. DROP");
    EXPECT_EQ(bank.at(2), (TextRow{"2001", "q", "k", "SELECT", "0", "0", "0", "0"}));
    const std::string bytes = ReadFile(out);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(bytes, ReplaceAll(TableToText(bank), "\n", "\r\n"));
}

TEST_F(BankTool, ConvertRefusesProblemsAndKeepsTheOldBank)
{
    const std::string a = Write("a.csv", kHeader + "1001,q,k,1,2,0,0,0\n");
    const std::string b = Write("b.csv", kHeader + "2001,q,k,1,2,0,0,0\n2002,\"two\nlines\",k,3,2,0,0,0\n");
    const std::string out = Write("bank.dat", "old");

    ToolRun run = Tool({"convert", out, a, b});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(b + ":3:4: the answer names box 3 but there are only 2 choices"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("not written: 1 problem"), std::string::npos) << run.output;
    EXPECT_EQ(ReadFile(out), "old");

    run = Tool({"convert", Path("new.dat"), Write("c.csv", kHeader + "3001,ｱ,k,A,0,0,0,0\n")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("c.csv:2:2: character 1: half-width katakana"), std::string::npos) << run.output;
    EXPECT_FALSE(DataFileExists(Path("new.dat")));
}

TEST_F(BankTool, ExportAndConvertGiveTheSameBankByteForByte)
{
    const TextTable table = {
        {0, {"\x96\xE2\x83\x4C\x81\x5B", "\x96\xE2\x91\xE8\x95\xB6"}}, // 問キー, 問題文
        {1, {"1001", "a<$>b<$>", "x,y \"q\"", "1_2", "3", "2", "0", "0"}},
        {2, {"1002", "\x81\x60<$>\"", ",", "SELECT", "0", "0", "0", "0"}},
    };
    const std::string bank = Path("bank.dat");
    ASSERT_TRUE(TryWriteTextFile(TableToText(table), bank));

    ToolRun run = Tool({"export", bank, Path("bank.csv")});
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string csv = ReadFile(Path("bank.csv"));
    EXPECT_NE(csv.find("\"a\nb\n\""), std::string::npos) << csv;
    EXPECT_EQ(csv.find('\r'), std::string::npos) << csv;

    run = Tool({"convert", Path("again.dat"), Path("bank.csv")});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadFile(Path("again.dat")), ReadFile(bank));
}

TEST_F(BankTool, ExportRefusesABankThatWouldNotComeBackButWarnsOfContent)
{
    const std::string row = "\"1\",\"q\",\"k\",\"A\",\"0\",\"0\",\"0\",\"0\"";
    const std::string broken = Write("broken.dat", "\"h\"\r\n" + row);
    ToolRun run = Tool({"export", broken, Path("broken.csv")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(broken + ":2: the last line has no line end"), std::string::npos) << run.output;
    EXPECT_FALSE(DataFileExists(Path("broken.csv")));

    const std::string odd = Write("odd.dat", "\"h\"\r\n\"1\",\"q\",\"k\",\"A\",\"5\",\"0\",\"0\",\"0\"\r\n");
    run = Tool({"export", odd, Path("odd.csv")});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(odd + ":2:4: warning: the answer"), std::string::npos) << run.output;
    EXPECT_EQ(ReadFile(Path("odd.csv")), "h\n1,q,k,A,5,0,0,0\n");
}

TEST_F(BankTool, CheckDecodesFlaggedPictures)
{
    const std::string bank = Path("toi.dat");
    ASSERT_TRUE(TryWriteTextFile(TableToText({{0, {"h"}},
                                              {1, {"11", "q", "k", "A", "0", "0", "1", "0"}},
                                              {2, {"12", "q", "", "A", "0", "0", "0", "1"}},
                                              {3, {"13", "q", "k", "A", "0", "0", "1", "0"}}}),
                                 bank));
    QImage image(80, 20, QImage::Format_RGB32); // shown 790 x 197: fits the question box
    image.fill(Qt::white);
    ASSERT_TRUE(SaveJpegFile(image, Path("NONEm11.jpg")));
    Write("NONEk12.jpg", "not a JPEG at all");

    ToolRun run = Tool({"check", bank});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(bank + ":3:8: the picture "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(bank + ":4:7: the picture NONEm13.jpg is missing"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find(":2:7:"), std::string::npos) << run.output;

    // The same pictures elsewhere, good this time.
    QTemporaryDir other;
    for (const char* name : {"NONEm11.jpg", "NONEk12.jpg", "NONEm13.jpg"})
        ASSERT_TRUE(SaveJpegFile(image, other.filePath(name).toStdString()));
    run = Tool({"check", "--pictures", other.path().toStdString(), bank});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(": OK: 3 questions (0 choice, 3 typed), 3 pictures"), std::string::npos) << run.output;

    run = Tool({"check", "--no-pictures", bank});
    EXPECT_EQ(run.status, 0) << run.output;
}

TEST_F(BankTool, CheckTakesSourcesTogether)
{
    const std::string a = Write("a.csv", kHeader + "1001,q,k,A,0,0,0,0\n");
    const std::string b = Write("b.csv", kHeader + "1001,q,k,A,0,0,0,0\n");
    ToolRun run = Tool({"check", a});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(a + ": OK: 1 question ("), std::string::npos) << run.output;
    run = Tool({"check", a, b});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(b + ":2:1: the key 1001 is also used at " + a + ":2"), std::string::npos) << run.output;
}

TEST_F(BankTool, UsageMistakesAndWriteFailures)
{
    const std::string a = Write("a.csv", kHeader + "1001,q,k,A,0,0,0,0\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* words;
    };
    const Case cases[] = {
        {{}, 2, "convert"},
        {{"--help"}, 0, "export IN.dat OUT.csv"},
        {{"check", "--help"}, 0, "export IN.dat OUT.csv"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"convert", a}, 2, "usage"},
        {{"convert", Path("out.csv"), a}, 2, "not a source"},
        {{"convert", a, a}, 2, "not a source"},
        {{"export", Path("x.dat")}, 2, "usage"},
        {{"check", "--pictures"}, 2, "needs a folder"},
        {{"check", "--bogus", a}, 2, "unknown option"},
        {{"check", Path("x.dat"), a}, 2, "one bank file"},
        {{"check", Path("missing.dat")}, 1, "cannot read the file"},
        {{"convert", Path("no/such/folder/out.dat"), a}, 1, "cannot write"},
    };
    for (const Case& c : cases) {
        ToolRun run = Tool(c.args);
        EXPECT_EQ(run.status, c.status) << c.words << "\n" << run.output;
        EXPECT_NE(run.output.find(c.words), std::string::npos) << run.output;
    }
}

TEST_F(BankTool, ProblemsAreListedInBoundedNumberAndMemoryWithACountOfTheRest)
{
    // 4 MB of bytes that are no Shift_JIS in one cell: once a problem, with
    // two strings, per byte (1.3 GB), now a few lines and a few megabytes.
    const std::string bad = Write("bad.dat", "\"h\"\r\n\"1\",\"" + std::string(4 << 20, '\xFF') +
                                                 "\",\"k\",\"1\",\"2\",\"0\",\"0\",\"0\"\r\n");
    const long limitKb = 400 * 1024;
    ToolRun run = Tool({"check", "--no-pictures", bad}, limitKb);
    EXPECT_EQ(run.status, 1) << run.output.substr(0, 2000);
    // One byte one problem, and the text far too long for the question box.
    EXPECT_NE(run.output.find(bad + ":2:2: character 20: the byte 0xFF is not Shift_JIS\n" + bad +
                              ":2: 4194285 more problems in this row, not listed\n" + bad + ": 4194305 problems\n"),
              std::string::npos)
        << run.output.substr(0, 2000);
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 22) << run.output.substr(0, 2000);
    run = Tool({"export", bad, Path("bad.csv")}, limitKb);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("the bank's text has 4194304 problems"), std::string::npos) << run.output.substr(0, 2000);
    run = Tool({"stats", bad}, limitKb);
    EXPECT_EQ(run.status, 0) << run.output.substr(0, 2000);
    EXPECT_NE(run.output.find("1 questions"), std::string::npos) << run.output;

    // One bad character in each of 2000 rows: the file's first problems, then the count of the rest.
    std::string rows = kHeader;
    for (int key = 1; key <= 2000; ++key)
        rows += std::to_string(key) + ",q\xFF,k,1,2,0,0,0\n";
    const std::string csv = Write("bad.csv", rows);
    run = Tool({"check", csv}, limitKb);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(csv + ":501:2: character 2: the byte 0xFF is not UTF-8"), std::string::npos);
    EXPECT_EQ(run.output.find(csv + ":502:2:"), std::string::npos);
    EXPECT_NE(run.output.find(csv + ": 1500 more problems in this file, not listed\n" + csv + ": 2000 problems\n"),
              std::string::npos)
        << run.output.substr(run.output.size() - 1000);
}

TEST_F(BankTool, ConvertAndExportNeverWriteOverTheirInput)
{
    const std::string source = kHeader + "1001,q,k,A,0,0,0,0\n";
    const std::string csv = Write("same.csv", source);
    const std::string bank = Path("bank.dat");
    ASSERT_EQ(Tool({"convert", bank, csv}).status, 0);
    const std::string bankBytes = ReadFile(bank);
    // Other names of the same files: a symbolic link and a hard link.
    ASSERT_EQ(::symlink(csv.c_str(), Path("link.dat").c_str()), 0);
    ASSERT_EQ(::link(bank.c_str(), Path("hard.csv").c_str()), 0);
    ASSERT_EQ(::symlink(bank.c_str(), Path("link.csv").c_str()), 0);

    ToolRun run = Tool({"convert", Path("link.dat"), csv});
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("is both source and output"), std::string::npos) << run.output;
    for (const char* out : {"link.csv", "hard.csv"}) {
        run = Tool({"export", bank, Path(out)});
        EXPECT_EQ(run.status, 2) << out << "\n" << run.output;
        EXPECT_NE(run.output.find("is the bank " + bank + " itself"), std::string::npos) << run.output;
    }
    EXPECT_EQ(ReadFile(csv), source);
    EXPECT_EQ(ReadFile(bank), bankBytes);
    // A new name is written as before.
    EXPECT_EQ(Tool({"export", bank, Path("new.csv")}).status, 0);
}

TEST_F(BankTool, AreasFromTheListFillTheNinthColumnAndComeBackFromExport)
{
    const std::string a = Write("01-a.csv", kHeader + "1001,q,k,A,0,0,0,0\n1002,q,k,B,0,0,0,0\n");
    // A row may name its own area; the file's fills the rest.
    const std::string b = Write("02-b.csv", "問キー,問題文,解説文,正解,選択肢数,ラベル種類,問題画像,解説画像,分野\n"
                                            "2001,q,k,C,0,0,0,0,\n2002,q,k,D,0,0,0,0,特別\n");
    const std::string list = Write("areas.txt", "ファイル,分野\n01-a.csv,正規化\n02-b.csv,SQL（問合せ）\n");
    const std::string bank = Path("toi.dat");
    ToolRun run = Tool({"convert", "--areas", list, bank, a, b});
    ASSERT_EQ(run.status, 0) << run.output;
    const TextTable table = LoadTextTable(bank);
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(SjisToUtf8(table.at(0).at(8)), "分野");
    EXPECT_EQ(SjisToUtf8(table.at(1).at(8)), "正規化");
    EXPECT_EQ(SjisToUtf8(table.at(3).at(8)), "SQL（問合せ）");
    EXPECT_EQ(SjisToUtf8(table.at(4).at(8)), "特別");
    EXPECT_EQ(Tool({"check", bank}).status, 0);

    // Export writes the column; converting that CSV gives the same bank, no list needed.
    ASSERT_EQ(Tool({"export", bank, Path("back.csv")}).status, 0);
    EXPECT_NE(ReadFile(Path("back.csv")).find("1001,q,k,A,0,0,0,0,正規化\n"), std::string::npos);
    ASSERT_EQ(Tool({"convert", Path("again.dat"), Path("back.csv")}).status, 0);
    EXPECT_EQ(ReadFile(Path("again.dat")), ReadFile(bank));

    // Without the list the bank keeps its eight columns.
    ASSERT_EQ(Tool({"convert", Path("plain.dat"), a}).status, 0);
    EXPECT_EQ(LoadTextTable(Path("plain.dat")).at(1).size(), 8u);

    // A file the list does not name, an area too long for the drop-down, a header that is no area's.
    const std::string c = Write("03-c.csv", kHeader + "3001,q,k,E,0,0,0,0\n");
    run = Tool({"check", "--areas", list, a, c});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(c + ": the list of areas (分野) names no area for this file"), std::string::npos)
        << run.output;
    const std::string d = Write("04-d.csv", "問キー,問題文,解説文,正解,選択肢数,ラベル種類,問題画像,解説画像,分野\n"
                                            "4001,q,k,E,0,0,0,0," + std::string(21, 'x') + "\n4002,q,k,E,0,0,0,0\n");
    run = Tool({"check", d});
    EXPECT_NE(run.output.find(d + ":2:9: an area (分野) has at most 20 characters"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(d + ":3:9: 8 cells: a question row of a bank with areas has exactly 9"), std::string::npos)
        << run.output;
    const std::string e = Write("05-e.csv", kHeader.substr(0, kHeader.size() - 1) + ",備考\n5001,q,k,E,0,0,0,0,x\n");
    EXPECT_NE(Tool({"check", e}).output.find(e + ":1:9: a ninth column is the area"), std::string::npos);
    EXPECT_EQ(Tool({"export", "--areas", list, bank, Path("x.csv")}).status, 2);
    EXPECT_EQ(Tool({"check", "--areas", list, bank}).status, 2);
}

TEST_F(BankTool, PaperGroupsFromTheListFillTheTenthColumn)
{
    const std::string a = Write("01-a.csv", kHeader + "1001,q,k,A,0,0,0,0\n");
    const std::string b = Write("02-b.csv", kHeader + "2001,q,k,C,0,0,0,0\n");
    const std::string list =
        Write("areas.txt", "ファイル,分野,試験区分\n01-a.csv,正規化,データベース\n02-b.csv,暗号,セキュリティ\n");
    const std::string bank = Path("toi.dat");
    ToolRun run = Tool({"convert", "--areas", list, bank, a, b});
    ASSERT_EQ(run.status, 0) << run.output;
    const TextTable table = LoadTextTable(bank);
    EXPECT_EQ(SjisToUtf8(table.at(0).at(9)), "試験区分");
    EXPECT_EQ(SjisToUtf8(table.at(1).at(8)) + SjisToUtf8(table.at(1).at(9)), "正規化データベース");
    EXPECT_EQ(SjisToUtf8(table.at(2).at(9)), "セキュリティ");
    EXPECT_EQ(Tool({"check", bank}).status, 0);

    // A group that is none of the four, a row without one, a bank cell that is none.
    Write("bad.txt", "ファイル,分野,試験区分\n01-a.csv,正規化,DB\n02-b.csv,暗号\n");
    run = Tool({"check", "--areas", Path("bad.txt"), a, b});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(Path("bad.txt") + ":2:3: the paper group (試験区分) «DB» is none of データベース, "
                                                "セキュリティ, 基盤と信頼性, 開発"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(Path("bad.txt") + ":3: a row of the list of areas is a file name, its area (分野) "
                                                "and its paper group (試験区分)"),
              std::string::npos)
        << run.output;
    const std::string c = Write("03-c.csv", kHeader.substr(0, kHeader.size() - 1) + ",分野,試験区分\n"
                                            "3001,q,k,E,0,0,0,0,x,開発\n3002,q,k,E,0,0,0,0,x,設計\n");
    run = Tool({"check", c});
    EXPECT_NE(run.output.find(c + ":3:10: the paper group (試験区分) «設計» is none of"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find(c + ":2:"), std::string::npos) << run.output;
}

TEST_F(BankTool, APicturesAnswerLineMustGiveTheRowsAnswer)
{
    const std::string csv = Write("a.csv", kHeader + "1001,q,,AD,0,0,0,1\n"  // typed
                                                     "1002,q,,2_4,5,2,0,1\n" // イロハ: ロ、ニ
                                                     "1003,q,,3,4,3,0,1\n"   // アイウ: ウ
                                                     "1004,q,k,2,4,0,1,0\n"  // 1234: 2, in the question picture
                                                     "1005,q,,1,4,1,0,1\n"); // no description: drawn otherwise
    ::mkdir(Path("pic").c_str(), 0755);
    Write("pic/NONEk1001.pic", "size 760 200\ntext 20 8 正解：AD\n");
    Write("pic/NONEk1002.pic", "size 760 200\ntext 20 8 正解：ロ、ニ\r\n");
    Write("pic/NONEk1003.pic", "size 760 200\n# drawn answer\ntext 20 8 正解：エ\n");
    Write("pic/NONEm1004.pic", "size 760 200\nbox 0 0 100 30 正解：2\n");
    ToolRun run = Tool({"check", "--picture-sources", Path("pic"), csv});
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(run.output, csv + ":4:8: the picture NONEk1003.pic says «正解：エ» on its line 3, but the row's answer is "
                                "«正解：ウ»\n" + csv + ": 1 problem\n");
    // Without the descriptions nothing is compared.
    EXPECT_EQ(Tool({"check", csv}).status, 0);
    EXPECT_EQ(Tool({"stats", "--picture-sources", Path("pic"), csv}).status, 2);
}

} // namespace

TEST_F(BankTool, StatsReportsAndStrictFailsOnAGameableSpread)
{
    std::string even, gamed;
    for (int i = 0; i < 8; ++i) {
        even += std::to_string(1001 + i) + ",q,k," + "13224143"[i] + ",4,0,0,0\n"; // no order to the keys
        gamed += std::to_string(2001 + i) + ",q,k,1,4,0,0,0\n";
    }
    const std::string evenCsv = Write("even.csv", kHeader + even);
    const std::string gamedCsv = Write("gamed.csv", kHeader + gamed);

    ToolRun run = Tool({"stats", "--strict", evenCsv});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("8 questions"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("correct at 1:2 2:2 3:2 4:2"), std::string::npos) << run.output;

    // Without --strict the warning is shown but does not fail; with it, it does.
    run = Tool({"stats", evenCsv, gamedCsv});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("warning: " + gamedCsv), std::string::npos) << run.output;
    EXPECT_EQ(Tool({"stats", "--strict", evenCsv, gamedCsv}).status, 1);

    // A converted bank gives the same figures as its source.
    ASSERT_EQ(Tool({"convert", Path("even.dat"), evenCsv}).status, 0);
    run = Tool({"stats", Path("even.dat")});
    EXPECT_NE(run.output.find("correct at 1:2 2:2 3:2 4:2"), std::string::npos) << run.output;

    // The whole bank showing a cue fails --strict: the key always the longest choice.
    std::string longest;
    for (int i = 0; i < 30; ++i)
        longest += std::to_string(3001 + i) + ",\"問\nア. 短い\nイ. とても長い選択肢\nウ. 短い\nエ. 短い\",k,2,4,3,0,0\n";
    const std::string longestCsv = Write("longest.csv", kHeader + longest);
    run = Tool({"stats", longestCsv});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("warning: " + longestCsv + ": the key is the longest choice"), std::string::npos)
        << run.output;
    EXPECT_EQ(Tool({"stats", "--strict", longestCsv}).status, 1);

    // A cue of the paper's form fails --strict too, unless --allow-cue names it.
    std::string repeated;
    for (int i = 0; i < 32; ++i)
        repeated += std::to_string(4001 + i) + ",q,k," + "11332244"[i % 8] + ",4,3,0,0\n";
    const std::string repeatedCsv = Write("repeated.csv", kHeader + repeated);
    EXPECT_EQ(Tool({"stats", "--strict", repeatedCsv}).status, 1);
    run = Tool({"stats", "--strict", "--allow-cue", "key-repeat", repeatedCsv});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("note: the whole bank shows the cue key-repeat, tolerated by --allow-cue key-repeat"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(Tool({"stats", "--allow-cue", "longest", repeatedCsv}).status, 2);

    EXPECT_EQ(Tool({"check", "--strict", evenCsv}).status, 2);
    EXPECT_EQ(Tool({"stats", "--no-pictures", evenCsv}).status, 2);
}
