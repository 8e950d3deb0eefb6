#include "BankTestRows.h"

#include "text/SafeFile.h"
#include "text/SjisCodec.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

namespace {

const std::string kHeader = "問キー,問題文,解説文,正解,選択肢数,ラベル種類,問題画像,解説画像\n";

BankRows Csv(const std::string& text, const std::string& name = "a.csv")
{
    return ParseCsvSources({{name, text}});
}

std::vector<BankProblem> Problems(const BankRows& bank, const BankCheckOptions& options = {})
{
    return AllProblems(bank, CheckBankContent(bank, options));
}

std::string Listing(const std::vector<BankProblem>& problems)
{
    std::string text;
    for (const BankProblem& p : problems)
        text += FormatProblem(p) + "\n";
    return text;
}

// True when some problem sits at that place and its message holds the words.
bool Has(const std::vector<BankProblem>& problems, std::int64_t line, int column, const std::string& words)
{
    for (const BankProblem& p : problems)
        if (p.line == line && p.column == column && p.message.find(words) != std::string::npos)
            return true;
    return false;
}

// ---------------------------------------------------------------------------
// Reading CSV sources.

TEST(BankSourceCsv, CellsBecomeShiftJisWithLineBreaksAsMarkers)
{
    BankRows bank = Csv(kHeader + "1001,\"問1\n2行目\",解説,2,3,0,0,0\n");
    ASSERT_TRUE(bank.textProblems.empty()) << Listing(bank.textProblems);
    ASSERT_EQ(bank.rows.size(), 2u);
    EXPECT_EQ(bank.rows[0].cells[0], "\x96\xE2\x83\x4C\x81\x5B"); // 問キー
    EXPECT_EQ(bank.rows[1].line, 2);
    EXPECT_EQ(bank.rows[1].cells,
              (TextRow{"1001", "\x96\xE2" "1<$>2\x8D\x73\x96\xDA", "\x89\xF0\x90\xE0", "2", "3", "0", "0", "0"}));
    // 問1<$>2行目, 解説
}

TEST(BankSourceCsv, QuotedFieldsFollowRfc4180)
{
    BankRows bank = Csv(kHeader + "1,\"a,b\",\"say \"\"hi\"\"\",,\"\",0,\"0\",0\n");
    ASSERT_TRUE(bank.textProblems.empty()) << Listing(bank.textProblems);
    EXPECT_EQ(bank.rows[1].cells, (TextRow{"1", "a,b", "say \"hi\"", "", "", "0", "0", "0"}));
}

TEST(BankSourceCsv, CrLfSourceReadsLikeLfSource)
{
    const std::string lf = kHeader + "1001,\"one\ntwo\",k,A,0,0,0,0\n1002,q,k,B,0,0,0,0\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    BankRows a = Csv(lf);
    BankRows b = Csv(crlf);
    ASSERT_TRUE(b.textProblems.empty()) << Listing(b.textProblems);
    EXPECT_EQ(BankTable(a), BankTable(b));
    EXPECT_EQ(BankTable(b).at(1)[1], "one<$>two");
    EXPECT_EQ(a.rows[2].line, 4);
    EXPECT_EQ(b.rows[2].line, 4);
}

TEST(BankSourceCsv, RowsRememberTheLineTheyStartOn)
{
    // A byte-order mark, a blank line and a three-line field before the last row.
    BankRows bank = Csv("\xEF\xBB\xBF" + kHeader + "\n1001,\"a\nb\nc\",k,A,0,0,0,0\n1002,q,k,B,0,0,0,0");
    ASSERT_TRUE(bank.textProblems.empty()) << Listing(bank.textProblems);
    ASSERT_EQ(bank.rows.size(), 3u);
    EXPECT_EQ(bank.rows[0].cells[0], "\x96\xE2\x83\x4C\x81\x5B"); // 問キー, without the mark
    EXPECT_EQ(bank.rows[1].line, 3);
    EXPECT_EQ(bank.rows[2].line, 6);
}

TEST(BankSourceCsv, LaterSourcesRepeatTheHeaderWhichIsSkipped)
{
    BankRows bank = ParseCsvSources({{"a.csv", kHeader + "1001,q,k,A,0,0,0,0\n"},
                                     {"b.csv", kHeader + "2001,q,k,B,0,0,0,0\n"}});
    ASSERT_TRUE(bank.textProblems.empty()) << Listing(bank.textProblems);
    ASSERT_EQ(bank.rows.size(), 3u);
    EXPECT_EQ(bank.rows[2].cells[0], "2001");
    EXPECT_EQ(bank.files[bank.rows[2].fileIndex], "b.csv");
    EXPECT_EQ(bank.rows[2].line, 2);
}

TEST(BankSourceCsv, EachTextProblemIsReportedWhereItStarts)
{
    struct Case {
        const char* name;
        std::string csv;
        std::int64_t line;
        int column;
        const char* words;
    };
    const std::string ok = "1001,q,k,A,0,0,0,0\n";
    const Case cases[] = {
        {"unclosed quote", kHeader + ok + "1002,q,\"k\nmore", 3, 3, "never closed"},
        {"text after quote", kHeader + "1002,\"q\"x,k,A,0,0,0,0\n", 2, 2, "after the closing"},
        {"bare quote", kHeader + "1002,q,k\"k,A,0,0,0,0\n", 2, 3, "not enclosed"},
        {"lone CR line end", kHeader + "1002,q,k,A,0,0,0,0\r" + ok, 2, 8, "CR alone"},
        {"CR in a field", kHeader + "1002,\"q\rq\",k,A,0,0,0,0\n", 2, 2, "CR"},
        {"tab", kHeader + "1002,q\tq,k,A,0,0,0,0\n", 2, 2, "character 2: a tab"},
        {"NUL", kHeader + "1002,q,k" + std::string(1, '\0') + ",A,0,0,0,0\n", 2, 3, "NUL"},
        {"half-width katakana", kHeader + "1002,q,ｶﾅ,A,0,0,0,0\n", 2, 3, "character 1: half-width katakana"},
        {"NEC special", kHeader + "1002,①,k,A,0,0,0,0\n", 2, 2, "NEC"},
        {"IBM extension", kHeader + "1002,q,k,髙,0,0,0,0\n", 2, 4, "IBM"},
        {"wave dash", kHeader + "1002,q,a〜b,A,0,0,0,0\n", 2, 3, "character 2: «〜» (U+301C) would turn into"},
        {"emoji", kHeader + "1002,q😀,k,A,0,0,0,0\n", 2, 2, "character 2: «😀» (U+1F600) has no Shift_JIS"},
        {"not UTF-8", kHeader + "1002,q,k\x96\xE2,A,0,0,0,0\n", 2, 3, "not UTF-8"},
        {"cell boundary inside", kHeader + "1002,\"a\"\",\"\"b\",k,A,0,0,0,0\n", 2, 2, "\",\""},
        {"quote-comma at the edge", kHeader + "1002,\"a\"\",\",k,A,0,0,0,0\n", 2, 2, "edge"},
    };
    for (const Case& c : cases) {
        std::vector<BankProblem> problems = Csv(c.csv).textProblems;
        EXPECT_TRUE(Has(problems, c.line, c.column, c.words))
            << c.name << ": want " << c.line << ":" << c.column << " " << c.words << "\n" << Listing(problems);
    }

    BankRows two = ParseCsvSources({{"a.csv", kHeader + ok},
                                    {"b.csv", "問キー,問題文,解説,正解,選択肢数,ラベル種類,問題画像,解説画像\n"}});
    ASSERT_EQ(two.textProblems.size(), 1u) << Listing(two.textProblems);
    EXPECT_EQ(FormatProblem(two.textProblems[0]), "b.csv:1:3: the header row differs from the header row of a.csv");
}

TEST(BankSourceCsv, AnEmptySourceHasNoHeaderRow)
{
    BankRows bank = ParseCsvSources({{"a.csv", kHeader + "1001,q,k,A,0,0,0,0\n"}, {"b.csv", ""}});
    ASSERT_EQ(bank.textProblems.size(), 1u);
    EXPECT_EQ(bank.textProblems[0].file, "b.csv");
    EXPECT_EQ(bank.rows.size(), 2u);
}

// ---------------------------------------------------------------------------
// Characters a cell may hold.

TEST(BankSourceCells, ShiftJisFaultsNameTheCharacterPosition)
{
    struct Case {
        std::string cell;
        std::size_t position;
        const char* words;
    };
    const Case cases[] = {
        {"ab\xB1", 3, "half-width katakana"},
        {"\x82\xA0\x87\x40", 2, "NEC"},             // あ①
        {"\xFA\x55", 1, "IBM"},                     // ￤
        {"\xED\x40", 1, "IBM"},                     // NEC-selected IBM 纊
        {"\xF0\x40", 1, "user-defined"},
        {"\x81\xAD", 1, "0x81AD is not a JIS X 0208"}, // unassigned in row 2
        {"a\x82", 2, "starts no Shift_JIS"},
        {"\x82\x22", 1, "starts no Shift_JIS"},      // a lead byte before a quote
        {"\x80", 1, "not Shift_JIS"},
        {"a\rb", 2, "CR"},
        {"a\tb", 2, "tab"},
        {"\x1B", 1, "control"},
    };
    for (const Case& c : cases) {
        std::vector<CellFault> faults = SjisCellFaults(c.cell);
        ASSERT_FALSE(faults.empty()) << c.words;
        EXPECT_EQ(faults[0].position, c.position) << c.words;
        EXPECT_NE(faults[0].message.find(c.words), std::string::npos) << faults[0].message;
    }
}

TEST(BankSourceCells, EveryJisX0208CharacterIsAccepted)
{
    // Every code the bank can hold: ASCII text, then all of JIS X 0208 as
    // CP932 decodes it (rows 1-8 and 16-84).
    EXPECT_TRUE(SjisCellFaults(" !\"#$%&'()*+,-./09:;<=>?@AZ[\\]^_`az{|}~").empty());
    int accepted = 0;
    for (unsigned lead : {0x81u, 0x82u, 0x83u, 0x84u, 0x88u, 0x89u, 0x9Fu, 0xE0u, 0xEAu}) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            std::string utf8 = SjisToUtf8(pair);
            std::string back;
            bool assigned = utf8.find("\xEF\xBF\xBD") == std::string::npos && Utf8ToSjis(utf8, back) && back == pair;
            EXPECT_EQ(SjisCellFaults(pair).empty(), assigned) << std::hex << lead << trail;
            accepted += assigned;
        }
    }
    EXPECT_GT(accepted, 1000);
    EXPECT_TRUE(SjisCellFaults("\x81\x60\x81\x5F\x81\x7C\xEA\xA4").empty()); // ～＼－熙
}

TEST(BankSourceCells, Utf8FieldsConvertOnlyWhenExact)
{
    std::string cell;
    EXPECT_TRUE(Utf8FieldToCell("～と－と＼", cell).empty());
    EXPECT_EQ(cell, "\x81\x60\x82\xC6\x81\x7C\x82\xC6\x81\x5F"); // ～と－と＼
    EXPECT_TRUE(Utf8FieldToCell("a\nb", cell).empty());
    EXPECT_EQ(cell, "a<$>b");
    for (const char* bad : {"¥", "‾", "—", "−", "¬", "‖", "①", "㈱", "ｱ", "\xC3"}) {
        std::vector<CellFault> faults = Utf8FieldToCell(std::string("x") + bad, cell);
        ASSERT_EQ(faults.size(), 1u) << bad;
        EXPECT_EQ(faults[0].position, 2u) << bad;
    }
}

// ---------------------------------------------------------------------------
// Reading bank files.

const std::string kBankHeader = "\"k\",\"q\"\r\n";

TEST(BankSourceFile, LinesTheLoaderWouldMangleAreReported)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::int64_t line;
        int column;
        const char* words;
    };
    const std::string row = "\"1\",\"q\",\"k\",\"A\",\"0\",\"0\",\"0\",\"0\"";
    const Case cases[] = {
        {"no final line end", kBankHeader + row, 2, 0, "no line end"},
        {"LF alone", kBankHeader + row + "\n", 2, 0, "LF alone"},
        {"empty line", kBankHeader + "\r\n" + row + "\r\n", 2, 0, "empty line"},
        {"no opening quote", kBankHeader + row.substr(1) + "\r\n", 2, 1, "does not start"},
        {"no closing quote", kBankHeader + row.substr(0, row.size() - 1) + "\r\n", 2, 8, "does not end"},
        {"CR inside", kBankHeader + "\"1\",\"q\r\",\"k\",\"A\",\"0\",\"0\",\"0\",\"0\"\r\n", 2, 2, "CR inside"},
        {"NUL", kBankHeader + row + "\r\n" + std::string(1, '\0') + row + "\r\n", 3, 0, "NUL"},
        {"half-width katakana", kBankHeader + "\"1\",\"q\",\"\xB6\",\"A\",\"0\",\"0\",\"0\",\"0\"\r\n", 2, 3,
         "half-width"},
        {"NEC special", kBankHeader + "\"1\",\"q\",\"k\",\"\x87\x40\",\"0\",\"0\",\"0\",\"0\"\r\n", 2, 4, "NEC"},
    };
    for (const Case& c : cases) {
        std::vector<BankProblem> problems = ParseBankBytes("t.dat", c.bytes).textProblems;
        EXPECT_TRUE(Has(problems, c.line, c.column, c.words))
            << c.name << ": want " << c.line << ":" << c.column << " " << c.words << "\n" << Listing(problems);
    }
}

TEST(BankSourceFile, CleanBankReadsAsTheLoaderReadsIt)
{
    const std::string bytes = kBankHeader +
                              "\"1001\",\"\x96\xE2<$>\x82\xA0\",\"a\"\"b\",\"2\",\"3\",\"1\",\"0\",\"0\"\r\n" // 問<$>あ
                              "\"1002\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
    BankRows bank = ParseBankBytes("t.dat", bytes);
    ASSERT_TRUE(bank.textProblems.empty()) << Listing(bank.textProblems);
    QTemporaryDir dir;
    const std::string path = dir.filePath("t.dat").toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    EXPECT_EQ(BankTable(bank), LoadTextTable(path));
    EXPECT_EQ(bank.rows[2].line, 3);
}

// ---------------------------------------------------------------------------
// Content of the question rows.

TEST(BankSourceContent, EachContentProblemIsReportedAtItsField)
{
    struct Case {
        const char* row;
        int column;
        const char* words;
    };
    const Case cases[] = {
        {"1001,q,k,A,0,0,0", 8, "7 cells"},
        {"1001,q,k,A,0,0,0,0,extra", 9, "9 cells"},
        {",q,k,A,0,0,0,0", 1, "key is empty"},
        {"10a,q,k,A,0,0,0,0", 1, "digits only"},
        {"1001,q,k,A,+2,0,0,0", 5, "plain decimal"},
        {"1001,q,k,A,02,0,0,0", 5, "plain decimal"},
        {"1001,q,k,A,x,0,0,0", 5, "plain decimal"},
        {"1001,q,k,1,9,0,0,0", 5, "only 8 check boxes"},
        {"1001,q,k,1,1,0,0,0", 5, "1 choice"},
        {"1001,q,k,A,0,4,0,0", 6, "label set"},
        {"1001,q,k,A,0, 1,0,0", 6, "plain decimal"},
        {"1001,q,k,A,0,0,2,0", 7, "0 or 1"},
        {"1001,q,k,A,0,0,0,-1", 8, "plain decimal"},
        {"1001,,k,A,0,0,0,0", 2, "question text is empty"},
        {"1001,q,,A,0,0,0,0", 3, "explanation text is empty"},
        {"1001,q,k,,3,0,0,0", 4, "empty"},
        {"1001,q,k,2_1,3,0,0,0", 4, "ascending"},
        {"1001,q,k,2_2,3,0,0,0", 4, "once each"},
        {"1001,q,k,1_4,3,0,0,0", 4, "box 4"},
        {"1001,q,k,01,3,0,0,0", 4, "joined by"},
        {"1001,q,k,1,3,0,0,0_", 8, "plain decimal"},
        {"1001,q,k,1-2,3,0,0,0", 4, "joined by"},
        {"1001,q,k,0,3,0,0,0", 4, "joined by"},
        {"1001,q,k,,0,0,0,0", 4, "empty"},
        {"1001,q,k, A,0,0,0,0", 4, "blank"},
        {"1001,q,k,A　,0,0,0,0", 4, "blank"},
        {"1001,q,k,\"A\nB\",0,0,0,0", 4, "line break"},
    };
    for (const Case& c : cases) {
        std::vector<BankProblem> problems = Problems(Csv(kHeader + "1000,q,k,A,0,0,0,0\n" + c.row + "\n"));
        EXPECT_TRUE(Has(problems, 3, c.column, c.words))
            << c.row << ": want 3:" << c.column << " " << c.words << "\n" << Listing(problems);
    }
}

TEST(BankSourceContent, ValidQuestionsPass)
{
    BankSummary summary;
    // 1005's answer ends in ャ@, whose bytes end like a full-width blank.
    BankRows bank = Csv(kHeader + "1001,q,k,2,2,0,0,0\n1002,q,k,1_3_8,8,2,0,0\n1003,q,k,SELECT,0,1,0,0\n"
                                  "1004,q,,3,4,0,0,1\n1005,q,k,ャ@,0,0,0,0\n1006,q,k,4,8,3,0,0\n");
    std::vector<BankProblem> problems = AllProblems(bank, CheckBankContent(bank, {}, &summary));
    EXPECT_TRUE(problems.empty()) << Listing(problems);
    EXPECT_EQ(summary.questions, 6);
    EXPECT_EQ(summary.choiceQuestions, 4);
    EXPECT_EQ(summary.typedQuestions, 2);
    EXPECT_EQ(summary.pictures, 1);
}

TEST(BankSourceContent, AQuestionTextMustFitTheBoxWithoutScrolling)
{
    std::string fits = "\"1", tooLong;
    for (int line = 2; line <= 14; ++line)
        fits += "\n" + std::to_string(line);
    tooLong = fits + "\n15\"";
    fits += "\"";
    const std::vector<BankProblem> problems = Problems(Csv(kHeader + "1001," + fits + ",k,A,0,0,0,0\n1002," + tooLong +
                                                           ",k,A,0,0,0,0\n1003," + tooLong + ",k,A,0,0,1,0\n"));
    ASSERT_EQ(problems.size(), 1u) << Listing(problems);
    EXPECT_TRUE(Has(problems, 16, 2, "takes about 15 lines in the question box, which shows 14")) << Listing(problems);
}

TEST(BankSourceContent, BankLevelProblems)
{
    EXPECT_EQ(Listing(Problems(Csv(kHeader))), "a.csv:1: the bank has no question rows\n");
    EXPECT_TRUE(Has(Problems(Csv("1001,q,k,A,0,0,0,0\n1002,q,k,A,0,0,0,0\n")), 1, 1, "looks like a question"));
    EXPECT_TRUE(Has(Problems(ParseBankBytes("t.dat", "")), 0, 0, "no rows"));
}

TEST(BankSourceContent, DuplicateKeysNameTheFirstUse)
{
    BankRows bank = ParseCsvSources({{"a.csv", kHeader + "1001,q,k,A,0,0,0,0\n1002,q,k,A,0,0,0,0\n"},
                                     {"b.csv", kHeader + "2001,q,k,A,0,0,0,0\n1002,q,k,A,0,0,0,0\n"}});
    std::vector<BankProblem> problems = Problems(bank);
    ASSERT_EQ(problems.size(), 1u) << Listing(problems);
    EXPECT_EQ(FormatProblem(problems[0]), "b.csv:3:1: the key 1002 is also used at a.csv:3");
}

TEST(BankSourceContent, PicturesAreLookedForOnlyWhenFlagged)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    std::ofstream(folder + "/NONEm1001.jpg") << "good";
    std::ofstream(folder + "/NONEk1002.jpg") << "bad";
    std::set<std::string> asked;
    BankCheckOptions options;
    options.pictureFolder = folder;
    options.decodePicture = [&](const std::string& path, std::string& reason, PictureSize& size) {
        size = {760, 200};
        asked.insert(path.substr(path.rfind('/') + 1));
        reason = "broken";
        return path.find("NONEm1001") != std::string::npos;
    };
    BankRows bank = Csv(kHeader + "1001,q,k,A,0,0,1,0\n1002,q,k,A,0,0,0,1\n1003,q,k,A,0,0,1,1\n1004,q,k,A,0,0,0,0\n");
    std::vector<BankProblem> problems = Problems(bank, options);
    EXPECT_EQ(asked, (std::set<std::string>{"NONEm1001.jpg", "NONEk1002.jpg"}));
    ASSERT_EQ(problems.size(), 3u) << Listing(problems);
    EXPECT_TRUE(Has(problems, 3, 8, "NONEk1002.jpg cannot be shown: broken"));
    EXPECT_TRUE(Has(problems, 4, 7, "NONEm1003.jpg is missing"));
    EXPECT_TRUE(Has(problems, 4, 8, "NONEk1003.jpg is missing"));
    // Without a decoder no picture is looked at.
    EXPECT_TRUE(Problems(bank).empty());
}

TEST(BankSourceContent, PicturesMustFitTheirBox)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    for (const char* name : {"NONEm1001.jpg", "NONEm1002.jpg", "NONEm1003.jpg", "NONEk1003.jpg", "NONEm1004.jpg",
                             "NONEk1001.jpg"})
        std::ofstream(folder + "/" + name) << "jpeg";
    // Each picture's size, by file name.
    const std::map<std::string, PictureSize> sizes {
        {"NONEm1001.jpg", {760, 270}},  // shown 790 x 280: fits
        {"NONEm1002.jpg", {760, 271}},  // shown 790 x 281: just fits
        {"NONEm1003.jpg", {760, 272}},  // shown 790 x 282: one pixel too tall
        {"NONEk1003.jpg", {760, 1000}}, // an explanation picture that shows only its top
        {"NONEk1001.jpg", {1580, 562}}, // shown 790 x 281: fits the explanation box
        {"NONEm1004.jpg", {2, 8000}},   // a thin picture cannot be shown at all
    };
    BankCheckOptions options;
    options.pictureFolder = folder;
    options.decodePicture = [&](const std::string& path, std::string&, PictureSize& size) {
        size = sizes.at(path.substr(path.rfind('/') + 1));
        return true;
    };
    BankRows bank = Csv(kHeader + "1001,q,k,A,0,0,1,1\n1002,q,k,A,0,0,1,0\n1003,q,k,A,0,0,1,1\n1004,q,k,A,0,0,1,0\n");
    std::vector<BankProblem> problems = Problems(bank, options);
    ASSERT_EQ(problems.size(), 3u) << Listing(problems);
    EXPECT_TRUE(Has(problems, 4, 7, "NONEm1003.jpg (760 x 272) is shown 282 px high, taller than the question box "
                                    "(281 px)"));
    EXPECT_TRUE(Has(problems, 4, 7, "at most 270 px high"));
    EXPECT_TRUE(Has(problems, 4, 8, "the explanation picture NONEk1003.jpg (760 x 1000) is shown 1039 px high, "
                                    "taller than the explanation box (281 px): the learner would see only its top; "
                                    "at this width make it at most 270 px high"));
    EXPECT_TRUE(Has(problems, 5, 7, "NONEm1004.jpg (2 x 8000) is too thin to be shown"));
}

// ---------------------------------------------------------------------------
// Both ways without loss.

TEST(BankSourceRoundTrip, ValidBanksComeBackByteForByte)
{
    const std::vector<TextTable> banks = {
        {{0, {"\x96\xE2\x83\x4C\x81\x5B", "h2"}}, // 問キー
         {1, {"1001", "a<$>b<$><$>", "x,y \"q\" ", "1_2", "2", "0", "0", "0"}},
         {2, {"1002", " lead", "\"edge\"", "", "", "", "", ""}}},
        {{0, {""}}, {1, {"1", "<$>", "a\"", "\"a", ",", "0", "0", "0"}}},
        {{0, {"", ""}}, {1, {"1", "\x81\x60\x81\x5F\x81\x7C", "\xEA\xA4", "~\\", "0", "0", "0", "0"}}},
    };
    for (const TextTable& table : banks) {
        const std::string bank = ReplaceAll(TableToText(table), "\n", "\r\n"); // as written to disk
        ASSERT_TRUE(ParseBankBytes("t.dat", bank).textProblems.empty()) << bank;
        std::string csv, error;
        ASSERT_TRUE(BankTableToCsv(table, csv, &error)) << error;
        BankRows back = Csv(csv);
        EXPECT_TRUE(back.textProblems.empty()) << Listing(back.textProblems) << csv;
        EXPECT_EQ(ReplaceAll(TableToText(BankTable(back)), "\n", "\r\n"), bank) << csv;
    }
}

TEST(BankSourceRoundTrip, CsvIsQuotedOnlyWhereNeeded)
{
    std::string csv;
    ASSERT_TRUE(BankTableToCsv({{0, {"a", "b c", "d,e", "f\"g", "h<$>i", "", " j"}}, {1, {""}}}, csv));
    EXPECT_EQ(csv, "a,b c,\"d,e\",\"f\"\"g\",\"h\ni\",,\" j\"\n\"\"\n");
}

TEST(BankSourceRoundTrip, LoaderReadsTheWrittenBank)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("toi.dat").toStdString();
    BankRows bank = Csv(kHeader + "1001,\"一行目\n二行目\",\"解説 \"\"引用\"\"\",1_2,3,1,0,0\n1002,q,k,ABC,0,0,0,0\n");
    ASSERT_TRUE(Problems(bank).empty()) << Listing(Problems(bank));
    FileError error;
    ASSERT_TRUE(TryWriteTextFile(TableToText(BankTable(bank)), path, &error)) << FileReason(error);
    TextTable loaded = LoadTextTable(path);
    EXPECT_EQ(loaded, BankTable(bank));
    EXPECT_EQ(SjisToUtf8(loaded.at(1).at(1)), "一行目<$>二行目");
    EXPECT_EQ(SjisToUtf8(loaded.at(1).at(2)), "解説 \"引用\"");
}

TEST(BankSourceRoundTrip, ExportRefusesCellsThatAreNotShiftJis)
{
    std::string csv, error;
    EXPECT_FALSE(BankTableToCsv({{0, {"ok", "\x82"}}}, csv, &error));
    EXPECT_NE(error.find("cell 2"), std::string::npos) << error;
}

TEST(BankSourceWrite, BytesAreWrittenUnchangedAndFailuresReported)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.csv").toStdString();
    FileError error;
    ASSERT_TRUE(ReplaceFile(path, "a\nb\r\n", &error)) << FileReason(error);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a\nb\r\n");
    EXPECT_FALSE(ReplaceFile(dir.filePath("missing/a.csv").toStdString(), "x", &error));
    EXPECT_EQ(error.number, ENOENT);
    EXPECT_FALSE(ReplaceFile(dir.path().toStdString(), "x", &error));
}

} // namespace
