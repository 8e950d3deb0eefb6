// Files made to hurt the window: a thin picture, texts of one enormous run,
// a slot with chances no run has, a slot file of many thousand rows. Each
// must leave a usable window showing a bounded amount.
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "data/DataTexts.h"
#include "drill/ShownText.h"
#include "picture/LoadJpegBitmap.h"
#include "support/FormHarness.h"
#include "support/ShownMessages.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString kCutNote = QStringLiteral("（長すぎるため、ここから先は表示していません）");

class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override { ShownMessages::clear(); }
    void TearDown() override
    {
        EXPECT_TRUE(ShownMessages::texts().isEmpty()) << ShownMessages::texts().join(" | ").toStdString();
    }

    void WritePicture(const std::string& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(200, 30, 30));
        std::string error;
        ASSERT_TRUE(SaveJpegFile(image, folder.Path() + "/" + name, 90, &error)) << error;
    }

    WorkFolder folder;
};

// Every line of a memo no longer than a run may be (and the few characters
// put around a cut answer), the whole bounded, and the memo drawn, so its
// text is laid out as the learner would see it.
void ExpectBoundedMemo(QPlainTextEdit* memo)
{
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines)
        ASSERT_LE(line.size(), static_cast<qsizetype>(kMaxUnbrokenRunBytes) + 8);
    // The text, its note, and for the explanation the answer line before it.
    EXPECT_LE(memo->toPlainText().size(),
              static_cast<qsizetype>(kMaxShownTextBytes + kMaxUnbrokenRunBytes) + kCutNote.size() + 64);
    EXPECT_FALSE(memo->grab().isNull());
}

// A 2 x 8000 picture would be scaled to 578 x 2 312 000 pixels (gigabytes):
// it gets the note of a picture that cannot be shown, and the question is
// answered from its text as with a broken picture.
TEST_F(HostileFiles, ThinPicturesAreNotedNotScaled)
{
    auto bank = TypedBank(2);
    bank[0].key = "1";
    bank[0].toiPicture = 1;
    bank[0].kaisetuPicture = 1;
    WriteBank(folder, bank);
    WritePicture("NONEm1.jpg", 2, 8000);
    WritePicture("NONEk1.jpg", 4, 8000);
    auto form = OpenForm();
    form->btnStartNormal->click();

    ASSERT_EQ(VisibleScreen(*form), form->pnlMain);
    EXPECT_TRUE(form->sboxToi->isHidden());
    EXPECT_FALSE(form->memToiBun->isHidden());
    EXPECT_EQ(form->memToiBun->toPlainText(),
              QStringLiteral("問題1\n\n（問題の画像を表示できません：画像の縦横の比率が極端なため表示できません"
                             "：NONEm1.jpg）"));
    EXPECT_TRUE(form->Timer1->isActive());

    TypeAnswer(*form, QStringLiteral("A1"));
    form->btnEnter->click();
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));
    EXPECT_TRUE(form->sboxKaisetu->isHidden());
    EXPECT_EQ(form->memKaisetuBun->toPlainText(),
              QStringLiteral("正解は...A1\n解説1\n\n（解説の画像を表示できません：画像の縦横の比率が極端なため"
                             "表示できません：NONEk1.jpg）"));
    EXPECT_TRUE(form->btnNext->isEnabled());
}

// One megabyte of letters without a break in the question, the explanation,
// the answer and the key: shown broken into lines and cut with a note.
TEST_F(HostileFiles, OneRunOfAMegabyteIsShownBrokenAndCut)
{
    auto bank = TypedBank(2);
    bank[0].text = std::string(1000000, 'a');
    bank[0].kaisetu = std::string(1000000, 'b');
    bank[0].seikai = std::string(1000000, 'c');
    bank[1].key = std::string(1000000, 'K');
    WriteBank(folder, bank);
    auto form = OpenForm();
    form->btnStartNormal->click();

    ASSERT_EQ(VisibleScreen(*form), form->pnlMain);
    const QString question = form->memToiBun->toPlainText();
    EXPECT_TRUE(question.startsWith(QString(static_cast<qsizetype>(kMaxUnbrokenRunBytes), QLatin1Char('a'))
                                    + QLatin1Char('\n')));
    EXPECT_TRUE(question.endsWith(QLatin1Char('\n') + kCutNote));
    ExpectBoundedMemo(form->memToiBun);

    TypeAnswer(*form, QStringLiteral("wrong"));
    form->btnEnter->click();
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("不正解！"));
    const QString kaisetu = form->memKaisetuBun->toPlainText();
    EXPECT_TRUE(kaisetu.startsWith(QStringLiteral("正解は...")
                                   + QString(static_cast<qsizetype>(kMaxUnbrokenRunBytes), QLatin1Char('c'))
                                   + QStringLiteral("…\nbbb")));
    EXPECT_TRUE(kaisetu.endsWith(kCutNote));
    ExpectBoundedMemo(form->memKaisetuBun);

    form->btnNext->click();
    EXPECT_EQ(form->lblToiKey->text(),
              QString(static_cast<qsizetype>(kMaxShownLineBytes), QLatin1Char('K')) + QStringLiteral("…"));
    EXPECT_FALSE(form->lblToiKey->grab().isNull());
}

// A slot whose chances no run can have is refused with the reason; the
// learner stays on the load screen with no countdown running.
TEST_F(HostileFiles, SlotWithChancesNoRunHasIsRefused)
{
    WriteBank(folder, TypedBank(20));
    for (const char* nokori : {"-2147483648", "0", "4"}) {
        SCOPED_TRACE(nokori);
        std::vector<std::string> slot = EmptySlotCells(20);
        slot[4] = "1";
        slot[7] = nokori;
        folder.Write(DataTexts::kSaveLoadFileName, TableFileText({SlotHeaderRow(), EmptySlotCells(20), slot}));
        auto form = OpenForm();
        form->btnLoadNormal->click();
        ClickListRow(form->lvSaveLoad, 1);
        form->btnSaveLoad->click();
        EXPECT_EQ(ShownMessages::texts(),
                  QStringList {QStringLiteral("このセーブデータの残り数（%1）が1から3の範囲外のため、"
                                              "続きから始められません。\n別のデータを選んでください。")
                                   .arg(QString::fromLatin1(nokori))});
        ShownMessages::clear();
        EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
        EXPECT_FALSE(form->Timer1->isActive());

        // The slot beside it still loads, with its three chances.
        ClickListRow(form->lvSaveLoad, 0);
        form->btnSaveLoad->click();
        ASSERT_EQ(VisibleScreen(*form), form->pnlMain);
        EXPECT_EQ(form->lblMainNokori->text(), QStringLiteral("残り：3"));
    }
}

// A slot file of thousands of rows lists the nine slots, with long cells cut.
TEST_F(HostileFiles, SaveLoadScreenListsNineSlotsOfAHugeFile)
{
    WriteBank(folder, TypedBank(3));
    std::vector<std::vector<std::string>> rows {SlotHeaderRow()};
    for (int i = 1; i <= 20000; ++i)
        rows.push_back(EmptySlotCells(3));
    rows[3][5] = std::string(100000, 'D');
    folder.Write(DataTexts::kSaveLoadFileName, TableFileText(rows));
    auto form = OpenForm();
    ASSERT_EQ(form->Drill.SaveLoadTable.size(), 20001u);
    form->btnLoadNormal->click();

    const std::vector<QStringList> listed = ListRows(form->lvSaveLoad);
    ASSERT_EQ(listed.size(), 9u);
    EXPECT_EQ(listed.back(), (QStringList {"9", "NORMAL", "新規データ"}));
    EXPECT_EQ(listed[2][2], QString(static_cast<qsizetype>(kMaxShownLineBytes), QLatin1Char('D')));

    ClickListRow(form->lvSaveLoad, 8);
    form->btnSaveLoad->click();
    EXPECT_EQ(VisibleScreen(*form), form->pnlMain);
}

} // namespace
