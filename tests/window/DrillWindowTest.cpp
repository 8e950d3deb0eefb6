// Presenting, answering and judging questions through the real window, with
// the countdown driven by direct ticks.
#include "text/Clock.h"
#include "text/Unit2.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "data/DataTexts.h"
#include "data/ToiBank.h"
#include "data/ToiBoxes.h"
#include "picture/LoadJpegBitmap.h"
#include "support/FormHarness.h"
#include "support/ShownMessages.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

namespace {

class DrillWindow : public ::testing::Test {
protected:
    void SetUp() override { ShownMessages::clear(); }

    std::unique_ptr<TForm1> StartNormal(const std::vector<BankQuestion>& bank)
    {
        WriteBank(folder, bank);
        auto form = OpenForm();
        form->btnStartNormal->click();
        return form;
    }

    // A test picture: left half red, right half blue.
    void WritePicture(const std::string& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.fillRect(0, 0, width / 2, height, Qt::red);
        painter.fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
        painter.end();
        ASSERT_TRUE(SaveJpegFile(image, folder.Path() + "/" + name));
    }

    WorkFolder folder;
};

QStringList VisibleBoxCaptions(TForm1& form)
{
    QStringList captions;
    for (QCheckBox* box : form.AnswerBoxes)
        if (!box->isHidden())
            captions << box->text();
    return captions;
}

} // namespace

TEST_F(DrillWindow, EverythingInTheSideColumnIsDrawnSixteenPixelsHigh)
{
    // A choice question: the boxes, with their own style sheet, show.
    auto form = StartNormal({{"1", "問", "解", "1", 4, 1, 0, 0}});
    ASSERT_FALSE(form->cb[0]->isHidden());
    for (QWidget* inside : form->pnlMainLine1->findChildren<QWidget*>())
        EXPECT_EQ(QFontInfo(inside->font()).pixelSize(), 16) << inside->objectName().toStdString();
}

TEST_F(DrillWindow, TypedQuestionIsPresentedReadyForAnswering)
{
    auto bank = TypedBank(2);
    bank[0].text = "A<$>B";
    auto form = StartNormal(bank);
    ASSERT_EQ(VisibleScreen(*form), form->pnlMain);
    EXPECT_EQ(form->lblStageNumber->text(), QStringLiteral("ステージ1"));
    EXPECT_EQ(form->lblMainMode->text(), QStringLiteral("通常モード"));
    EXPECT_EQ(form->lblMainNanwido->text(), QStringLiteral("難易度：Ｆ"));
    EXPECT_EQ(form->lblMainNokori->text(), QStringLiteral("残り：3"));
    EXPECT_FALSE(form->lblMainNokori->isHidden());
    EXPECT_EQ(form->lblToiKey->text(), QStringLiteral("K1"));
    EXPECT_EQ(form->memToiBun->toPlainText(), QStringLiteral("A\nB"));
    EXPECT_FALSE(form->memToiBun->isHidden());
    EXPECT_TRUE(form->sboxToi->isHidden());
    EXPECT_TRUE(form->memKaisetuBun->isHidden());
    EXPECT_TRUE(form->sboxKaisetu->isHidden());
    EXPECT_TRUE(VisibleBoxCaptions(*form).isEmpty());
    EXPECT_FALSE(form->edtInput->isHidden());
    EXPECT_TRUE(form->edtInput->isEnabled());
    EXPECT_EQ(form->edtInput->text(), QStringLiteral("ここに入力。。。"));
    EXPECT_TRUE(form->edtInput->hasFocus());
    EXPECT_TRUE(form->lblTrueOrFalse->text().isEmpty());
    EXPECT_EQ(form->StatusText(), QStringLiteral(" ： 回答を入力し、[決定]をクリックしてください"));
    EXPECT_TRUE(form->btnEnter->isEnabled());
    EXPECT_EQ(form->DefaultButton(), form->btnEnter);
    EXPECT_FALSE(form->btnNext->isEnabled());
    EXPECT_FALSE(form->pnlProgress->isHidden());
    EXPECT_EQ(form->pnlMain->height(), 608);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 1000);
    EXPECT_EQ(form->lblTime->text(), QStringLiteral("残り：90"));
    EXPECT_EQ(form->ProgressBar1->value(), 0);
    EXPECT_EQ(form->ProgressBar1->maximum(), 90);
}

TEST_F(DrillWindow, ChoiceBoxesFollowTheCountAndTheLabelSet)
{
    struct Case {
        int choices;
        int labels;
        QStringList captions;
    };
    const Case cases[] = {
        {4, 1, {"A(&1)", "B(&2)", "C(&3)", "D(&4)"}},
        {3, 2, {"イ(&1)", "ロ(&2)", "ハ(&3)"}},
        {4, 3, {"ア(&1)", "イ(&2)", "ウ(&3)", "エ(&4)"}},
        {8, 3, {"ア(&1)", "イ(&2)", "ウ(&3)", "エ(&4)", "オ(&5)", "カ(&6)", "キ(&7)", "ク(&8)"}},
        {2, 0, {"&1", "&2"}},
        {10, 0, {"&1", "&2", "&3", "&4", "&5", "&6", "&7", "&8"}},
        {1, 1, {}},
        {0, 2, {}},
    };
    std::vector<BankQuestion> bank;
    for (const Case& c : cases)
        bank.push_back({"C" + std::to_string(bank.size() + 1), "問", "解", "1", c.choices, c.labels, 0, 0});
    auto form = StartNormal(bank);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choices);
        EXPECT_EQ(VisibleBoxCaptions(*form), c.captions);
        EXPECT_EQ(form->edtInput->isHidden(), c.choices > 1);
        for (QCheckBox* box : form->AnswerBoxes)
            EXPECT_FALSE(box->isChecked());
        QTest::mouseClick(form->btnEnter, Qt::LeftButton);
        QTest::mouseClick(form->btnNext, Qt::LeftButton);
    }
}

TEST_F(DrillWindow, ChoiceAnswersAreJudgedByTheTickedBoxesInBoxOrder)
{
    struct Case {
        std::vector<int> ticked;
        const char* answer;
        std::string seikai;
        bool right;
    };
    // The rule's other cases are judged without the window (JudgeToi). A
    // choice answer is compared exactly: what typed answers forgive does not
    // apply to it.
    const Case cases[] = {
        {{3, 1}, "1_3", "1_3", true},
        {{1, 3, 5}, "1_3_5", "1_3", false},
        {{1, 3}, "1_3", "1_3 ", false},
        {{2}, "2", "２", false},
    };
    std::vector<BankQuestion> bank;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        bank.push_back({"Q" + std::to_string(i + 1), "問", "解", cases[i].seikai, 5, 0, 0, 0});
    auto form = StartNormal(bank);
    std::uint32_t rightSoFar = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        TickBoxes(*form, c.ticked);
        QTest::mouseClick(form->btnEnter, Qt::LeftButton);
        EXPECT_EQ(form->edtInput->text(), QString::fromLatin1(c.answer));
        EXPECT_EQ(form->lblTrueOrFalse->text(), c.right ? QStringLiteral("正解！") : QStringLiteral("不正解！"));
        rightSoFar += c.right ? 1 : 0;
        EXPECT_EQ(form->Drill.StageSeikaiCount, rightSoFar);
        for (QCheckBox* box : form->AnswerBoxes)
            EXPECT_FALSE(box->isEnabled());
        QTest::mouseClick(form->btnNext, Qt::LeftButton);
    }
}

// A right answer typed in full-width mode, with a blank before or after it
// or in the other letter case is right, and counted; the stored answer is
// shown as stored. The form's own cases are tested without the window.
TEST_F(DrillWindow, TypedAnswersAreJudgedAsALearnerTypesThem)
{
    struct Case {
        QString typed;
        std::string seikai;
        bool right;
    };
    const Case cases[] = {
        {QStringLiteral("５"), "5", true},
        {QStringLiteral("4 "), "4", true},
        {QStringLiteral("\u3000ＡＤ"), "AD", true},
        {QStringLiteral("view"), "VIEW", true},
        {QStringLiteral("1"), "１", true},
        {QStringLiteral("ABD"), "ABC", false},
        {QStringLiteral("A B"), "AB", false},
        // A character without a Shift_JIS form never matches, not even the
        // "?" that stands for it in a conversion.
        {QStringLiteral("\U0001F600"), "?", false},
    };
    std::vector<BankQuestion> bank;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        bank.push_back({"T" + std::to_string(i + 1), "問", "解", cases[i].seikai, 0, 0, 0, 0});
    auto form = StartNormal(bank);
    std::uint32_t right = 0;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.typed.toStdString());
        TypeAnswer(*form, c.typed);
        QTest::mouseClick(form->btnEnter, Qt::LeftButton);
        EXPECT_EQ(form->lblTrueOrFalse->text(), c.right ? QStringLiteral("正解！") : QStringLiteral("不正解！"));
        right += c.right ? 1 : 0;
        EXPECT_EQ(form->Drill.StageSeikaiCount, right);
        EXPECT_EQ(TableCell(form->Drill.ToiSeikaiTable, static_cast<std::int32_t>(i + 1), 1), c.right ? "1" : "0");
        EXPECT_EQ(form->edtInput->text(), c.typed) << "the answer stays as typed";
        EXPECT_TRUE(form->memKaisetuBun->toPlainText().startsWith(
            QStringLiteral("正解は...") + QString::fromStdString(c.seikai)));
        QTest::mouseClick(form->btnNext, Qt::LeftButton);
    }
}

// After judging, every correct choice is marked (a filled green circle when
// ticked, an open one when missed) and every wrong tick a red cross, on a
// ground of the same colour; the captions and the typed answer stay black.
TEST_F(DrillWindow, JudgedChoicesAreMarkedAndStayReadable)
{
    auto form = StartNormal({{"M1", "問", "解", "1_3", 5, 0, 0, 0}, {"M2", "問", "解", "AD", 0, 0, 0, 0}});
    TickBoxes(*form, {1, 4});
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("不正解！"));
    const BoxMark marks[] = {BoxMark::Seikai, BoxMark::None,      BoxMark::Missed, BoxMark::WrongTick,
                             BoxMark::None,   BoxMark::None,      BoxMark::None,   BoxMark::None};
    for (std::size_t i = 0; i < form->cb.size(); ++i)
        EXPECT_EQ(form->cb[i]->mark(), marks[i]) << "cb" << i;
    // How many pixels of the colour the tick's place holds.
    const auto inTick = [](TChoiceBox* box, const QColor& colour) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect tick =
            box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).adjusted(-2, -2, 2, 2);
        const QImage shot = box->grab().toImage();
        int count = 0;
        for (int y = qMax(0, tick.top()); y <= qMin(shot.height() - 1, tick.bottom()); ++y)
            for (int x = qMax(0, tick.left()); x <= qMin(shot.width() - 1, tick.right()); ++x)
                count += shot.pixelColor(x, y) == colour ? 1 : 0;
        return count;
    };
    // Colour and mark: a filled circle, an open one in a green frame, a cross.
    EXPECT_GT(inTick(form->cb[0], FormStyle::kSeikaiGreen), 40);
    EXPECT_GT(inTick(form->cb[2], FormStyle::kSeikaiGreen), 20);
    EXPECT_GT(inTick(form->cb[2], FormStyle::kWhite), 40);
    EXPECT_GT(inTick(form->cb[3], FormStyle::kWrongRed), 40);
    EXPECT_EQ(inTick(form->cb[1], FormStyle::kSeikaiGreen) + inTick(form->cb[1], FormStyle::kWrongRed), 0);
    EXPECT_EQ(form->cb[1]->grab().toImage().pixelColor(form->cb[1]->width() - 1, 1), FormStyle::kSilver);
    EXPECT_EQ(form->cb[2]->grab().toImage().pixelColor(form->cb[2]->width() - 1, 1), FormStyle::kSeikaiGround);
    EXPECT_EQ(form->cb[3]->grab().toImage().pixelColor(form->cb[3]->width() - 1, 1), FormStyle::kWrongGround);
    // The caption of a judged box is drawn in black, not grey.
    for (TChoiceBox* box : form->cb) {
        EXPECT_FALSE(box->isEnabled());
        if (box->isHidden())
            continue;
        const QImage shot = box->grab().toImage();
        QStyleOptionButton option;
        option.initFrom(box);
        const int captionLeft = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).left();
        bool black = false;
        for (int y = 0; y < shot.height() && !black; ++y)
            for (int x = captionLeft; x < shot.width() && !black; ++x)
                black = shot.pixelColor(x, y).lightness() < 40;
        EXPECT_TRUE(black) << box->objectName().toStdString();
    }
    const QColor wrongGround = form->lblTrueOrFalse->grab().toImage().pixelColor(1, 1);
    EXPECT_EQ(wrongGround, FormStyle::kWrongRed);

    // The next question shows its boxes unmarked; a typed answer stays black
    // on white, and a right one is told in green.
    QTest::mouseClick(form->btnNext, Qt::LeftButton);
    for (TChoiceBox* box : form->cb)
        EXPECT_EQ(box->mark(), BoxMark::None);
    EXPECT_EQ(form->lblTrueOrFalse->grab().toImage().pixelColor(1, 1), FormStyle::kSilver);
    TypeAnswer(*form, QStringLiteral("ad"));
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));
    EXPECT_EQ(form->lblTrueOrFalse->grab().toImage().pixelColor(1, 1), FormStyle::kSeikaiGreen);
    EXPECT_FALSE(form->edtInput->isEnabled());
    EXPECT_EQ(form->edtInput->palette().color(QPalette::Disabled, QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(form->edtInput->palette().color(QPalette::Disabled, QPalette::Base), FormStyle::kWhite);
}

TEST_F(DrillWindow, UntouchedPromptIsTheAnswerGiven)
{
    auto form = StartNormal({{"P1", "問", "解", "ここに入力。。。", 0, 0, 0, 0}, {"P2", "問", "解", "X", 0, 0, 0, 0}});
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));
    QTest::mouseClick(form->btnNext, Qt::LeftButton);
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("不正解！"));
}

TEST_F(DrillWindow, JudgedStateShowsTheAnswerAndExplanation)
{
    auto bank = TypedBank(2);
    bank[0].seikai = "2_4";
    bank[0].choices = 4;
    bank[0].kaisetu = "A<$>B";
    auto form = StartNormal(bank);
    TickBoxes(*form, {2, 4});
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));
    EXPECT_EQ(form->memKaisetuBun->toPlainText(), QStringLiteral("正解は...2_4\nA\nB"));
    EXPECT_FALSE(form->memKaisetuBun->isHidden());
    EXPECT_TRUE(form->sboxKaisetu->isHidden());
    EXPECT_FALSE(form->btnEnter->isEnabled());
    EXPECT_TRUE(form->btnNext->isEnabled());
    EXPECT_EQ(form->DefaultButton(), form->btnNext);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->StatusText(), QStringLiteral(" ： [次へ]をクリックしてください"));
    // Judging twice is impossible: the button is disabled and the state kept.
    form->btnEnterClick();
    EXPECT_EQ(form->Drill.StageSeikaiCount, 1u);
}

TEST_F(DrillWindow, RightAnswerRaisesOnlyTheFirstRowWithTheKey)
{
    auto bank = TypedBank(3);
    bank[2].key = "K1"; // the same key twice in the bank
    WriteBank(folder, bank);
    folder.Write(DataTexts::kSeikaiFileName,
                 TableFileText({{"問キー", "その問の正解数"}, {"K1", "4"}, {"K2", "0"}, {"K1", "7"}}));
    auto form = OpenForm();
    form->btnStartNormal->click();
    AnswerAndNext(*form, true);  // K1 right
    AnswerAndNext(*form, false); // K2 wrong
    EXPECT_EQ(form->Drill.ToiSeikaiTable.at(1).at(1), "5");
    EXPECT_EQ(form->Drill.ToiSeikaiTable.at(2).at(1), "0");
    EXPECT_EQ(form->Drill.ToiSeikaiTable.at(3).at(1), "7");
}

TEST_F(DrillWindow, CountdownRunsFromTheLimitAndJudgesAtZero)
{
    folder.Write(DataTexts::kNanwidoFileName, "0");
    auto bank = TypedBank(2);
    bank[0].choices = 3;
    bank[0].seikai = "2";
    auto form = StartNormal(bank);
    EXPECT_EQ(form->lblTime->text(), QStringLiteral("残り：15"));
    EXPECT_EQ(form->ProgressBar1->maximum(), 15);
    form->Timer1Timer();
    EXPECT_EQ(form->lblTime->text(), QStringLiteral("残り：14"));
    EXPECT_EQ(form->ProgressBar1->value(), 1);
    TickBoxes(*form, {2});
    for (int i = 0; i < 13; ++i)
        form->Timer1Timer();
    EXPECT_EQ(form->lblTime->text(), QStringLiteral("残り：1"));
    EXPECT_TRUE(form->lblTrueOrFalse->text().isEmpty());
    form->Timer1Timer();
    // The last tick judges what stands in the boxes at that moment.
    EXPECT_EQ(form->lblTime->text(), QStringLiteral("残り：0"));
    EXPECT_EQ(form->ProgressBar1->value(), 15);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(form->btnNext->isEnabled());
    // The full bar says why the question was judged.
    EXPECT_TRUE(form->ProgressBar1->isTextVisible());
    EXPECT_EQ(form->ProgressBar1->text(), QStringLiteral("時間切れ"));

    // The next question starts its countdown afresh.
    QTest::mouseClick(form->btnNext, Qt::LeftButton);
    EXPECT_FALSE(form->ProgressBar1->isTextVisible());
    EXPECT_EQ(form->lblTime->text(), QStringLiteral("残り：15"));
    EXPECT_EQ(form->ProgressBar1->value(), 0);
    EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(DrillWindow, AnswerGivenInTimeIsNotCalledATimeOut)
{
    auto form = StartNormal(TypedBank(2));
    form->Timer1Timer();
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    EXPECT_FALSE(form->ProgressBar1->isTextVisible());
}

TEST_F(DrillWindow, EnterJudgesFirstThenPressesNext)
{
    auto form = StartNormal(TypedBank(3));
    ASSERT_TRUE(form->edtInput->hasFocus());
    TypeAnswer(*form, QStringLiteral("A1"));
    QTest::keyClick(form->edtInput, Qt::Key_Return);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));
    EXPECT_EQ(form->Drill.ToiIndex, 0u);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(), Qt::Key_Enter);
    EXPECT_EQ(form->Drill.ToiIndex, 1u);
    EXPECT_TRUE(form->lblTrueOrFalse->text().isEmpty());
    EXPECT_TRUE(form->btnEnter->isEnabled());
}

TEST_F(DrillWindow, AccessKeysAnswerAndJudge)
{
    auto bank = TypedBank(2);
    bank[0].choices = 3;
    bank[0].seikai = "3";
    auto form = StartNormal(bank);
    form->activateWindow();
    ASSERT_TRUE(PressAccessKey(*form, Qt::Key_3, [&] { return form->AnswerBoxes[2]->isChecked(); }));
    ASSERT_TRUE(PressAccessKey(*form, Qt::Key_E, [&] { return !form->lblTrueOrFalse->text().isEmpty(); }));
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));
    ASSERT_TRUE(PressAccessKey(*form, Qt::Key_N, [&] { return form->Drill.ToiIndex == 1; }));
}

TEST_F(DrillWindow, TypingReplacesThePrompt)
{
    auto form = StartNormal(TypedBank(2));
    QTest::keyClicks(form->edtInput, QStringLiteral("A1"));
    EXPECT_EQ(form->edtInput->text(), QStringLiteral("A1"));
    QTest::keyClick(form->edtInput, Qt::Key_Return);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));
}

TEST_F(DrillWindow, MousePressInTheEditBoxSelectsItsText)
{
    auto form = StartNormal(TypedBank(1));
    form->edtInput->deselect();
    QTest::mouseClick(form->edtInput, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(form->edtInput->selectedText(), QStringLiteral("ここに入力。。。"));
    QTest::mouseClick(form->edtInput, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(form->edtInput->selectedText(), QStringLiteral("ここに入力。。。"));

    // A double click or a small drag does not shrink the selection to a word.
    form->edtInput->setText(QStringLiteral("AB CD EF"));
    QTest::mouseDClick(form->edtInput, Qt::LeftButton, {}, QPoint(form->edtInput->width() / 2, 5));
    EXPECT_EQ(form->edtInput->selectedText(), QStringLiteral("AB CD EF"));
    form->edtInput->setText(QStringLiteral("ここに入力。。。"));
    QTest::mousePress(form->edtInput, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent drag(QEvent::MouseMove, QPointF(40, 5), form->edtInput->mapToGlobal(QPointF(40, 5)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form->edtInput, &drag);
    QTest::mouseRelease(form->edtInput, Qt::LeftButton, {}, QPoint(40, 5));
    EXPECT_EQ(form->edtInput->selectedText(), QStringLiteral("ここに入力。。。"));
    QTest::keyClicks(form->edtInput, QStringLiteral("A1"));
    EXPECT_EQ(form->edtInput->text(), QStringLiteral("A1"));
}

TEST_F(DrillWindow, QuestionPictureReplacesTheTextAtTheBoxWidth)
{
    WritePicture("NONEm77.jpg", 800, 600);
    auto form = StartNormal({{"77", "見えない文", "解", "X", 0, 0, 1, 0}});
    EXPECT_TRUE(form->memToiBun->isHidden());
    EXPECT_FALSE(form->sboxToi->isHidden());
    EXPECT_EQ(form->ToiBitmap.size(), QSize(800, 600));
    EXPECT_EQ(form->ToiBitmap.format(), QImage::Format_RGB32);
    const int margin = form->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 5;
    const int width = form->sboxToi->width() - margin;
    EXPECT_EQ(form->imgToi->geometry(), QRect(0, 0, width, 600 * width / 800));
    EXPECT_EQ(form->imgToi->pixmap().size(), QSize(width, 600 * width / 800));
    EXPECT_EQ(form->sboxToi->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(form->Timer1->isActive());
}

// The bank tool checks pictures against the box sizes of data/ToiBoxes.h:
// they must be the window's real boxes, and a picture that the tool lets
// through must fit the real box with its real scroll bar.
TEST_F(DrillWindow, BoxSizesTheBankToolUsesAreTheWindowsOwn)
{
    WritePicture("NONEm1.jpg", 760, 271); // shown 790 x 281: just fits
    WritePicture("NONEm2.jpg", 760, 272); // one pixel too tall
    auto form = StartNormal({{"1", "", "解", "X", 0, 0, 1, 0}, {"2", "", "解", "X", 0, 0, 1, 0}});
    const QRect toiBox(ToiBoxes::kLeft, ToiBoxes::kToiTop, ToiBoxes::kWidth, ToiBoxes::kHeight);
    EXPECT_EQ(form->pnlMainToi->geometry(), toiBox);
    EXPECT_EQ(form->pnlMainKaisetu->geometry(), toiBox.translated(0, ToiBoxes::kKaisetuTop - ToiBoxes::kToiTop));
    for (QWidget* inside : {static_cast<QWidget*>(form->sboxToi), static_cast<QWidget*>(form->memToiBun),
                            static_cast<QWidget*>(form->sboxKaisetu), static_cast<QWidget*>(form->memKaisetuBun)})
        EXPECT_EQ(inside->geometry(), QRect(0, 0, ToiBoxes::kWidth, ToiBoxes::kHeight)) << inside->objectName().toStdString();
    EXPECT_EQ(form->style()->pixelMetric(QStyle::PM_ScrollBarExtent), ToiBoxes::kScrollBarWidth);
    EXPECT_EQ(form->memToiBun->font().pixelSize(), ToiBoxes::kTextPixelHeight);

    EXPECT_EQ(form->imgToi->size(), QSize(ToiBoxes::kPictureShownWidth, ToiBoxes::kHeight));
    EXPECT_EQ(form->sboxToi->verticalScrollBar()->maximum(), 0); // nothing hides below the box
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    QTest::mouseClick(form->btnNext, Qt::LeftButton);
    EXPECT_EQ(form->imgToi->size(), QSize(ToiBoxes::kPictureShownWidth, ToiBoxes::kHeight + 1));
    EXPECT_GT(form->sboxToi->verticalScrollBar()->maximum(), 0);
}

TEST_F(DrillWindow, ExplanationPictureIsShownScrolledToTheTop)
{
    WritePicture("NONEk5.jpg", 400, 1200);
    auto form = StartNormal({{"5", "問", "解", "X", 0, 0, 0, 1}});
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    EXPECT_TRUE(form->memKaisetuBun->isHidden());
    EXPECT_FALSE(form->sboxKaisetu->isHidden());
    EXPECT_EQ(form->sboxKaisetu->verticalScrollBar()->value(), 0);
    const int margin = form->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 5;
    const int width = form->sboxKaisetu->width() - margin;
    EXPECT_EQ(form->imgKaisetu->size(), QSize(width, 1200 * width / 400));
    EXPECT_TRUE(form->btnNext->isEnabled());
}

TEST_F(DrillWindow, BrokenQuestionPictureFallsBackToTheText)
{
    folder.Write("NONEm9.jpg", "not a jpeg at all");
    auto form = StartNormal({{"9", "文章の問題", "解", "X", 0, 0, 1, 0}, {"10", "次", "解", "X", 0, 0, 1, 0}});
    EXPECT_TRUE(form->sboxToi->isHidden());
    EXPECT_FALSE(form->memToiBun->isHidden());
    EXPECT_TRUE(form->memToiBun->toPlainText().startsWith(QStringLiteral("文章の問題")));
    EXPECT_TRUE(form->memToiBun->toPlainText().contains(QStringLiteral("NONEm9.jpg")));
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(VisibleScreen(*form), form->pnlMain);

    // A missing file too.
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    QTest::mouseClick(form->btnNext, Qt::LeftButton);
    EXPECT_TRUE(form->memToiBun->toPlainText().contains(QStringLiteral("NONEm10.jpg")));
    EXPECT_TRUE(form->btnEnter->isEnabled());
}

TEST_F(DrillWindow, BrokenExplanationPictureStillReachesTheJudgedState)
{
    WritePicture("NONEk3.jpg", 64, 64);
    const std::string whole = folder.Read("NONEk3.jpg");
    folder.Write("NONEk3.jpg", whole.substr(0, whole.size() / 2)); // truncated
    auto form = StartNormal({{"3", "問", "説明文", "X", 0, 0, 0, 1}});
    TypeAnswer(*form, QStringLiteral("X"));
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));
    EXPECT_TRUE(form->sboxKaisetu->isHidden());
    EXPECT_FALSE(form->memKaisetuBun->isHidden());
    EXPECT_TRUE(form->memKaisetuBun->toPlainText().startsWith(QStringLiteral("正解は...X\n説明文")));
    EXPECT_TRUE(form->memKaisetuBun->toPlainText().contains(QStringLiteral("NONEk3.jpg")));
    EXPECT_TRUE(form->btnNext->isEnabled());
    EXPECT_EQ(form->Drill.StageSeikaiCount, 1u);
}

TEST_F(DrillWindow, EmptyBankRefusesToStart)
{
    WriteBank(folder, {});
    auto form = OpenForm();
    ASSERT_EQ(VisibleScreen(*form), form->pnlStart);
    for (QPushButton* start : {form->btnStartNormal, form->btnStartRand, form->btnStartJakuten,
                               form->btnHNormalStart, form->btnHRandStart}) {
        ShownMessages::clear();
        start->click();
        EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
        EXPECT_FALSE(form->Timer1->isActive());
        EXPECT_TRUE(form->pnlProgress->isHidden());
        ASSERT_EQ(ShownMessages::texts().size(), 1);
        EXPECT_TRUE(ShownMessages::texts().first().contains(QStringLiteral("問題がありません")));
    }
}

TEST_F(DrillWindow, MalformedRowsAreStillPresentable)
{
    folder.Write(DataTexts::kToiFileName,
                 TableFileText({{"問キー", "問題文"}, {"S1", "短い行"}, {"S2", "問", "解", "2", "3", "7", "0", "0"}}));
    auto form = OpenForm();
    form->btnStartNormal->click();
    // Missing cells read as empty: a typed question with a note.
    EXPECT_EQ(VisibleScreen(*form), form->pnlMain);
    EXPECT_FALSE(form->edtInput->isHidden());
    EXPECT_TRUE(form->memToiBun->toPlainText().startsWith(QStringLiteral("短い行")));
    EXPECT_GT(form->memToiBun->toPlainText().size(), QStringLiteral("短い行").size());
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("不正解！"));
    QTest::mouseClick(form->btnNext, Qt::LeftButton);
    // A label set the program does not have falls back to numbers.
    EXPECT_EQ(VisibleBoxCaptions(*form), (QStringList {"&1", "&2", "&3"}));
}

TEST_F(DrillWindow, ModesShowOrHideTheChances)
{
    WriteBank(folder, TypedBank(3));
    auto form = OpenForm();
    struct Case {
        QPushButton* start;
        QString mode;
        bool nokoriShown;
    };
    const Case cases[] = {{form->btnStartRand, QStringLiteral("ランダムモード"), true},
                          {form->btnStartJakuten, QStringLiteral("弱点克服モード"), false},
                          {form->btnHNormalStart, QStringLiteral("本試験通常"), false},
                          {form->btnHRandStart, QStringLiteral("本試験ランダム"), false}};
    for (const Case& c : cases) {
        form->ShowStartScreen();
        c.start->click();
        EXPECT_EQ(form->lblMainMode->text(), c.mode);
        EXPECT_EQ(!form->lblMainNokori->isHidden(), c.nokoriShown) << c.mode.toStdString();
        EXPECT_EQ(form->Drill.ToiList.size(), 3u);
    }
}
