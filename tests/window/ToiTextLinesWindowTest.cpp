// The bank tool's estimate of a question text's lines, held to the real
// question box: it never counts fewer lines than the box takes, and not many
// more; and the box shows the lines the tool lets through without scrolling.
#include "data/ToiTextLines.h"
#include "text/SjisCodec.h"
#include "window/Unit1.h"
#include "support/FormHarness.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// The lines the box's text takes, as its layout wraps them.
int RealLines(QPlainTextEdit* memo)
{
    int lines = 0;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next())
        lines += block.layout()->lineCount();
    return lines;
}

TEST(ToiTextLinesWindow, TheEstimateHoldsForTheRealQuestionBox)
{
    const std::string sql = "SELECT 社員番号, 氏名, 部門名 FROM 社員 INNER JOIN 部門 ON 社員.部門番号 = 部門.部門番号 "
                            "WHERE 給与 >= (SELECT AVG(給与) FROM 社員 WHERE 部門番号 = 'D1') ORDER BY 氏名";
    std::string log; // a recovery log of 14 lines
    for (int i = 1; i <= 14; ++i)
        log += "<$>" + std::to_string(100 + i) + " <T" + std::to_string(i % 3) + ", UPDATE, 口座A, " +
               std::to_string(i * 100) + ", " + std::to_string(i * 100 + 50) + ">";
    std::vector<std::string> texts = {
        "トランザクションの実行中に障害が発生した。このとき保証されているACID特性として最も適切なものはどれか。",
        std::string(60, 'a') + " " + std::string(60, 'b'),
        std::string(30, 'W') + " " + std::string(30, 'i') + " " + std::string(30, 'm'),
        std::string(200, 'x'),
        sql + "<$>" + sql + "<$>" + sql,
        "次のログを用いて回復する。" + log,
        "ア<$><$><$><$><$><$><$><$><$><$>イ",
        "関係R(A, B, C, D)に関数従属性 A→B, B→C, C→D がある。<$><$><$>"
        "第3正規形に分解したものはどれか。<$>ア. R1(A, B), R2(B, C), R3(C, D)<$>イ. R1(A, B, C), R2(C, D)",
    };
    std::string fourteen = "1", fifteen;
    for (int line = 2; line <= 14; ++line)
        fourteen += "<$>" + std::to_string(line);
    fifteen = fourteen + "<$>15";
    texts.push_back(fourteen);
    texts.push_back(fifteen);
    WorkFolder folder;
    std::vector<BankQuestion> bank;
    for (std::size_t i = 0; i < texts.size(); ++i)
        bank.push_back({std::to_string(i + 1), texts[i], "解", "X", 0, 0, 0, 0});
    WriteBank(folder, bank);
    auto form = OpenForm();
    form->btnStartNormal->click();

    QPlainTextEdit* memo = form->findChild<QPlainTextEdit*>(QStringLiteral("memToiBun"));
    ASSERT_NE(memo, nullptr);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(memo->toPlainText(), QString::fromStdString(texts[i]).replace(QStringLiteral("<$>"), QStringLiteral("\n")));
        std::string sjis;
        ASSERT_TRUE(Utf8ToSjis(texts[i], sjis));
        const int estimate = ToiTextLines::LineCount(sjis);
        const int real = RealLines(memo);
        EXPECT_GE(estimate, real) << texts[i];
        EXPECT_LE(estimate, real + 2) << texts[i];
        // A text the estimate lets through needs no scrolling; where the
        // estimate is exact, one line more does.
        if (estimate <= ToiTextLines::kVisibleLines) {
            EXPECT_EQ(memo->verticalScrollBar()->maximum(), 0) << texts[i];
        }
        if (estimate == real) {
            EXPECT_EQ(memo->verticalScrollBar()->maximum() == 0, real <= ToiTextLines::kVisibleLines) << texts[i];
        }
        AnswerAndNext(*form, false);
    }
}

} // namespace
