// Stage ends and final results through the real window: runs are played by
// typing answers, pressing [決定] and [次へ], and letting the countdown run
// out, and the screens are read as the learner sees them.
#include "text/Clock.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "data/DataTexts.h"
#include "support/FormHarness.h"
#include "support/FixedClock.h"
#include "support/ShownMessages.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString kStageEndStatus = QStringLiteral(" ： １つのステージが終了しました");
const QString kFinalStatus = QStringLiteral(" ： すべてのステージが終了しました。成績を確認してください");

// What the stage-end screen shows, as one value so a case reads in one line.
struct StageEndView {
    QString title;
    QString kekka;   // empty when the label is hidden
    QString monchu;
    QString nokori;  // empty when hidden
    QString nanwido; // empty when hidden
    QString mode;
    QString nextStage; // empty when the button is hidden
    bool save = false;

    bool operator==(const StageEndView&) const = default;
};

void PrintTo(const StageEndView& v, std::ostream* os)
{
    *os << "{" << v.title.toStdString() << ", " << v.kekka.toStdString() << ", " << v.monchu.toStdString() << ", "
        << v.nokori.toStdString() << ", " << v.nanwido.toStdString() << ", " << v.mode.toStdString() << ", "
        << v.nextStage.toStdString() << ", save=" << v.save << "}";
}

QString Shown(const QLabel* label)
{
    return label->isVisible() ? label->text() : QString();
}

StageEndView ReadStageEnd(TForm1& form)
{
    return {form.lblSETitle->text(),
            Shown(form.lblKekka),
            form.lblMonchuMonseikai->text(),
            Shown(form.lblSENokori),
            Shown(form.lblSENanwido),
            form.lblSEMode->text(),
            form.btnNextStage->isVisible() ? form.btnNextStage->text() : QString(),
            form.btnSESave->isVisible()};
}

// Checks that the stage-end screen alone is shown, with its status text.
void ExpectOnStageEnd(TForm1& form)
{
    EXPECT_EQ(VisibleScreen(form), form.pnlStageEnd);
    EXPECT_EQ(form.StatusText(), kStageEndStatus);
    EXPECT_TRUE(form.pnlProgress->isHidden());
    EXPECT_FALSE(form.Timer1->isActive()) << "no countdown on the stage end";
    EXPECT_TRUE(form.btnSEStartBack->isVisible());
}

void ExpectOnFinalResults(TForm1& form, const std::vector<QStringList>& rows)
{
    EXPECT_EQ(VisibleScreen(form), form.pnlFinalStageEnd);
    EXPECT_EQ(form.StatusText(), kFinalStatus);
    EXPECT_TRUE(form.pnlProgress->isHidden());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.lblFseNanwido->isVisible());
    EXPECT_EQ(ListRows(form.lvSeiseki), rows);
}

// The question screen at the start of a stage.
void ExpectQuestion(TForm1& form, const QString& stage, const QString& key)
{
    EXPECT_EQ(VisibleScreen(form), form.pnlMain);
    EXPECT_EQ(form.lblStageNumber->text(), stage);
    EXPECT_EQ(form.lblToiKey->text(), key);
    EXPECT_TRUE(form.btnEnter->isEnabled());
    EXPECT_TRUE(form.Timer1->isActive());
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

class StageEndWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ShownMessages::clear();
        FixedClock::Set(1796586175); // Sun Dec 06 19:42:55 2026 (UTC)
    }
    void TearDown() override
    {
        FixedClock::Set(std::nullopt);
        // Every message a test provokes is checked by that test.
        EXPECT_TRUE(ShownMessages::texts().isEmpty()) << ShownMessages::texts().join(" | ").toStdString();
    }
    WorkFolder folder;
};

// A start button and the mode name it leads to.
struct StartButton {
    const char* name;
    QPushButton* TForm1::*start;
    QString modeName;
};

void PrintTo(const StartButton& b, std::ostream* os)
{
    *os << b.name;
}

class NormalAndRandomRun : public StageEndWindow, public ::testing::WithParamInterface<StartButton> {};

// 45 questions in stages of 20, 20 and 5 at Ｆ: a cleared stage, a failed one
// played again, the short last stage and the final results.
TEST_P(NormalAndRandomRun, ThreeStagesEndInTheFinalResultsAndOneStepHarder)
{
    WriteBank(folder, TypedBank(45));
    auto form = OpenForm();
    ASSERT_EQ(form->cbNanwido->currentText(), QStringLiteral("Ｆ"));
    Click(form.get()->*GetParam().start);
    const QString mode = GetParam().modeName;
    ASSERT_EQ(VisibleScreen(*form), form->pnlMain);

    AnswerQuestions(*form, 15, 5);
    ExpectOnStageEnd(*form);
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ1終了", "クリア", "20問中15問正解", "残り：3", "難易度：Ｆ", mode,
                                                  "次のステージへ(&N)", true}));

    // Alt+N is this screen's button, not [次へ] or a start button.
    ASSERT_TRUE(PressAccessKey(*form, Qt::Key_N, [&] { return !form->pnlMain->isHidden(); }));
    const QString stage2First = QStringLiteral("K%1").arg(form->Drill.ToiList.at(20));
    ExpectQuestion(*form, "ステージ2", stage2First);
    EXPECT_EQ(form->lblMainNokori->text(), QStringLiteral("残り：3"));

    // 8 of 20 is 40 percent, not above Ｆ's pass line.
    AnswerQuestions(*form, 8, 12);
    ExpectOnStageEnd(*form);
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ2終了", "残念", "20問中8問正解", "残り：2", "難易度：Ｆ", mode,
                                                  "同じステージをもう一度(&N)", true}));

    Click(form->btnNextStage);
    ExpectQuestion(*form, "ステージ2", stage2First);
    EXPECT_EQ(form->lblMainNokori->text(), QStringLiteral("残り：2"));

    AnswerQuestions(*form, 20, 0);
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ2終了", "クリア", "20問中20問正解", "残り：2", "難易度：Ｆ", mode,
                                                  "次のステージへ(&N)", true}));
    Click(form->btnNextStage);
    ExpectQuestion(*form, "ステージ3", QStringLiteral("K%1").arg(form->Drill.ToiList.at(40)));

    // The short last stage: 3 of 5 (60) clears and the final results follow.
    AnswerQuestions(*form, 3, 2);
    ExpectOnFinalResults(*form, {{"1", "75"}, {"2", "100"}, {"3", "60"}});
    EXPECT_EQ(form->lblFseMode->text(), mode);
    EXPECT_EQ(form->lblFseNanwido->text(), QStringLiteral("難易度：Ｆ"));

    Click(form->btnFseStartBack);
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
    EXPECT_EQ(form->cbNanwido->currentText(), QStringLiteral("Ｅ"));
    EXPECT_EQ(form->Drill.Nanwido, 4);
    EXPECT_EQ(form->Drill.StageTable.size(), 1u) << "only the header row stays";

    // The next run finds no stage rows but its own: slot 1 stores one stage.
    Click(form.get()->*GetParam().start);
    AnswerQuestions(*form, 20, 0);
    EXPECT_EQ(ReadStageEnd(*form).title, QStringLiteral("ステージ1終了"));
    EXPECT_EQ(SlotCellText(*form, 1, 3), "20<%>20");
    EXPECT_EQ(SlotCellText(*form, 1, 6), "4");
}

INSTANTIATE_TEST_SUITE_P(Runs, NormalAndRandomRun,
                         ::testing::Values(StartButton {"Normal", &TForm1::btnStartNormal, "通常モード"},
                                           StartButton {"Random", &TForm1::btnStartRand, "ランダムモード"}),
                         [](const auto& info) { return std::string(info.param.name); });

// At Ａ the pass line is 90: 18 of 20 fails, 19 of 20 clears. Wrong answers
// here come from the countdown running out.
TEST_F(StageEndWindow, PassLineAtAIsStrictAndAStaysA)
{
    WriteBank(folder, TypedBank(40));
    folder.Write(DataTexts::kNanwidoFileName, "0");
    auto form = OpenForm();
    Click(form->btnStartNormal);
    EXPECT_EQ(form->lblTime->text(), QStringLiteral("残り：15"));

    AnswerQuestions(*form, 18, 0);
    LetTimeRunOut(*form);
    LetTimeRunOut(*form);
    ExpectOnStageEnd(*form);
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ1終了", "残念", "20問中18問正解", "残り：2", "難易度：Ａ",
                                                  "通常モード", "同じステージをもう一度(&N)", true}));

    Click(form->btnNextStage);
    ExpectQuestion(*form, "ステージ1", "K1");
    AnswerQuestions(*form, 19, 0);
    LetTimeRunOut(*form);
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ1終了", "クリア", "20問中19問正解", "残り：2", "難易度：Ａ",
                                                  "通常モード", "次のステージへ(&N)", true}));

    Click(form->btnNextStage);
    ExpectQuestion(*form, "ステージ2", "K21");
    AnswerQuestions(*form, 20, 0);
    ExpectOnFinalResults(*form, {{"1", "95"}, {"2", "100"}});
    EXPECT_EQ(form->lblFseNanwido->text(), QStringLiteral("難易度：Ａ"));

    Click(form->btnFseStartBack);
    EXPECT_EQ(form->cbNanwido->currentText(), QStringLiteral("Ａ"));
    EXPECT_EQ(form->Drill.Nanwido, 0);
}

// At Ｃ (pass line 70) the 5-question last stage fails at 3 right (60) and
// clears at 4 right (80), and the final results follow at once.
TEST_F(StageEndWindow, ShorterLastStageAtC)
{
    WriteBank(folder, TypedBank(45));
    folder.Write(DataTexts::kNanwidoFileName, "2");
    auto form = OpenForm();
    Click(form->btnStartNormal);
    AnswerQuestions(*form, 15, 5); // 75: clears
    Click(form->btnNextStage);
    AnswerQuestions(*form, 14, 6); // 70: fails
    EXPECT_EQ(form->lblKekka->text(), QStringLiteral("残念"));
    Click(form->btnNextStage);
    AnswerQuestions(*form, 20, 0);
    Click(form->btnNextStage);
    ExpectQuestion(*form, "ステージ3", "K41");

    AnswerQuestions(*form, 3, 2);
    ExpectOnStageEnd(*form);
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ3終了", "残念", "5問中3問正解", "残り：1", "難易度：Ｃ",
                                                  "通常モード", "同じステージをもう一度(&N)", true}));
    Click(form->btnNextStage);
    ExpectQuestion(*form, "ステージ3", "K41");

    AnswerQuestions(*form, 4, 1);
    ExpectOnFinalResults(*form, {{"1", "75"}, {"2", "100"}, {"3", "80"}});
    Click(form->btnFseStartBack);
    EXPECT_EQ(form->cbNanwido->currentText(), QStringLiteral("Ｂ"));
}

// Three failed stages: 残り 2, 1, then game over with only the way back,
// and the game over is not saved.
TEST_F(StageEndWindow, ThreeFailedStagesEndInGameOver)
{
    WriteBank(folder, TypedBank(20));
    auto form = OpenForm();
    Click(form->btnStartNormal);

    AnswerQuestions(*form, 8, 12);
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ1終了", "残念", "20問中8問正解", "残り：2", "難易度：Ｆ",
                                                  "通常モード", "同じステージをもう一度(&N)", true}));
    EXPECT_EQ(SlotCellText(*form, 1, 7), "2");

    FixedClock::Set(1796586175 + 60);
    Click(form->btnNextStage);
    AnswerQuestions(*form, 0, 20);
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ1終了", "残念", "20問中0問正解", "残り：1", "難易度：Ｆ",
                                                  "通常モード", "同じステージをもう一度(&N)", true}));
    const TextRow lastAutoSave = form->Drill.SaveLoadTable.at(1);
    EXPECT_EQ(SlotCellText(*form, 1, 7), "1");
    EXPECT_EQ(SlotCellText(*form, 1, 5), TimeToText(1796586175 + 60));

    FixedClock::Set(1796586175 + 120);
    Click(form->btnNextStage);
    AnswerQuestions(*form, 8, 12);
    ExpectOnStageEnd(*form);
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ1終了", "ゲームオーバー", "20問中8問正解", "残り：0",
                                                  "難易度：Ｆ", "通常モード", "", false}));
    EXPECT_EQ(form->Drill.SaveLoadTable.at(1), lastAutoSave) << "slot 1 keeps the last automatic save";

    Click(form->btnSEStartBack);
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
    EXPECT_EQ(form->cbNanwido->currentText(), QStringLiteral("Ｆ")) << "leaving a stage end never changes it";
    EXPECT_EQ(form->Drill.StageTable.size(), 1u);
}

// Weak-point stages: no result, chances or difficulty; no save; each next
// stage is sorted anew by the correct counts, fewest first.
TEST_F(StageEndWindow, WeakPointStagesAreBuiltAnewFromTheCounts)
{
    WriteBank(folder, TypedBank(25));
    auto form = OpenForm();
    const TextRow emptySlot = form->Drill.SaveLoadTable.at(1);
    Click(form->btnStartJakuten);
    ExpectQuestion(*form, "ステージ1", "K1");
    EXPECT_FALSE(form->lblMainNokori->isVisible());

    AnswerQuestions(*form, 10, 10); // K1..K10 right
    ExpectOnStageEnd(*form);
    const StageEndView weakEnd {"ステージ1終了", "", "20問中10問正解", "", "", "弱点克服モード", "次のステージへ(&N)", false};
    EXPECT_EQ(ReadStageEnd(*form), weakEnd);
    EXPECT_EQ(form->Drill.SaveLoadTable.at(1), emptySlot) << "no automatic save in this mode";

    Click(form->btnNextStage);
    ExpectQuestion(*form, "ステージ1", "K11");
    std::vector<std::int32_t> expected;
    for (int row = 11; row <= 25; ++row)
        expected.push_back(row);
    for (int row = 1; row <= 10; ++row)
        expected.push_back(row);
    EXPECT_EQ(form->Drill.ToiList, expected);

    AnswerQuestions(*form, 20, 0); // K11..K25 and K1..K5 right
    EXPECT_EQ(ReadStageEnd(*form), (StageEndView {"ステージ1終了", "", "20問中20問正解", "", "", "弱点克服モード",
                                                  "次のステージへ(&N)", false}));
    Click(form->btnNextStage);
    ExpectQuestion(*form, "ステージ1", "K6"); // K6..K25 once, K1..K5 twice
    EXPECT_EQ(form->Drill.ToiList.front(), 6);
    EXPECT_EQ(form->Drill.ToiList.back(), 5);
    EXPECT_EQ(form->Drill.SaveLoadTable.at(1), emptySlot);
}

class ExamRun : public StageEndWindow, public ::testing::WithParamInterface<StartButton> {};

// An exam runs past 20 questions without a stage end and shows one row.
TEST_P(ExamRun, RunsThroughToOneFinalRow)
{
    WriteBank(folder, TypedBank(25));
    auto form = OpenForm();
    const TextRow emptySlot = form->Drill.SaveLoadTable.at(1);
    Click(form.get()->*GetParam().start);
    EXPECT_FALSE(form->lblMainNokori->isVisible());

    AnswerQuestions(*form, 18, 2);
    EXPECT_EQ(VisibleScreen(*form), form->pnlMain) << "no stage end after 20 questions";
    EXPECT_EQ(form->lblStageNumber->text(), QStringLiteral("ステージ1"));
    AnswerQuestions(*form, 0, 5);

    ExpectOnFinalResults(*form, {{"1", "72"}}); // 18 of 25
    EXPECT_EQ(form->lblFseMode->text(), GetParam().modeName);
    EXPECT_EQ(form->lblFseNanwido->text(), QStringLiteral("難易度：Ｆ"));
    EXPECT_EQ(form->Drill.SaveLoadTable.at(1), emptySlot);

    Click(form->btnFseStartBack);
    EXPECT_EQ(form->cbNanwido->currentText(), QStringLiteral("Ｅ"));
}

INSTANTIATE_TEST_SUITE_P(Exams, ExamRun,
                         ::testing::Values(StartButton {"Normal", &TForm1::btnHNormalStart, "本試験通常"},
                                           StartButton {"Random", &TForm1::btnHRandStart, "本試験ランダム"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A hand-edited slot whose stage 2 row was never played: restored at stage 3,
// the final results still list stage 2, with a dash for its percentage.
TEST_F(StageEndWindow, StageRowWithNothingAnsweredListsADash)
{
    WriteBank(folder, TypedBank(45));
    std::vector<std::vector<std::string>> slotRows {SlotHeaderRow(),
                                                 {"NORMAL", BankOrderList(45), "40", "18<%>20<$>0<%>0", "1",
                                                  "Sun Dec 06 19:42:55 2026", "5", "2"}};
    for (int s = 2; s <= 9; ++s)
        slotRows.push_back(EmptySlotCells(45));
    folder.Write(DataTexts::kSaveLoadFileName, TableFileText(slotRows));
    auto form = OpenForm();
    Click(form->btnLoadNormal);
    Click(form->btnSaveLoad);
    ExpectQuestion(*form, "ステージ3", "K41");
    EXPECT_EQ(form->lblMainNokori->text(), QStringLiteral("残り：2"));

    AnswerQuestions(*form, 5, 0);
    ExpectOnFinalResults(*form, {{"1", "90"}, {"2", "－"}, {"3", "100"}});
}

} // namespace
