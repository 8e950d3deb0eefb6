// The bank tool as authors run it: exit status, messages and files written.
#include "text/SjisCodec.h"
#include "text/Unit2.h"
#include "picture/LoadJpegBitmap.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#ifndef MIRETO_BANK_TOOL
#error "MIRETO_BANK_TOOL must name the mireto_bank program"
#endif

namespace {

const std::string kHeader = "問キー,問題文,解説文,正解,選択肢数,ラベル種類,問題画像,解説画像\n";

struct ToolRun {
    int status = -1;
    std::string output; // standard output and error together
};

ToolRun Tool(const std::vector<std::string>& args)
{
    QStringList arguments;
    for (const std::string& a : args)
        arguments << QString::fromStdString(a);
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral(MIRETO_BANK_TOOL), arguments);
    ToolRun run;
    if (!tool.waitForStarted(30000) || !tool.waitForFinished(120000))
        return run;
    run.output = tool.readAll().toStdString();
    run.status = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
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

} // namespace

TEST_F(BankTool, StatsReportsAndStrictFailsOnAGameableSpread)
{
    std::string even, gamed;
    for (int i = 0; i < 8; ++i) {
        even += std::to_string(1001 + i) + ",q,k," + std::to_string(i % 4 + 1) + ",4,0,0,0\n";
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

    EXPECT_EQ(Tool({"check", "--strict", evenCsv}).status, 2);
    EXPECT_EQ(Tool({"stats", "--no-pictures", evenCsv}).status, 2);
}
