// The learner's progress reaches the disk at every stage end and at the
// final results, through the real window; a write that fails there is told
// once and the drill goes on; an end without asking writes as a confirmed
// close would.
#include "text/SafeFile.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "data/DataTexts.h"
#include "data/ToiBank.h"
#include "support/FormHarness.h"
#include "support/FailingDisk.h"
#include "support/ShownMessages.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

namespace {

using namespace DataTexts;

const QString kCloseQuestion = QStringLiteral("終了しますか？");

class PersistWindow : public ::testing::Test {
protected:
    void SetUp() override { ShownMessages::clear(); }
    void TearDown() override
    {
        SetWriteFault(WriteFault::None);
        ShownMessages::clear();
    }

    std::unique_ptr<TForm1> Start(int questions, QPushButton* TForm1::*button = &TForm1::btnStartNormal)
    {
        WriteBank(folder, TypedBank(questions));
        auto form = OpenForm();
        QTest::mouseClick((*form).*button, Qt::LeftButton);
        return form;
    }

    struct Files {
        std::string seikai, saveLoad, nanwido;
        bool operator==(const Files&) const = default;
    };
    Files Read() const
    {
        return {folder.Read(kSeikaiFileName), folder.Read(kSaveLoadFileName), folder.Read(kNanwidoFileName)};
    }
    bool AnyDatabase() const
    {
        return folder.Exists(kSeikaiFileName) || folder.Exists(kSaveLoadFileName) || folder.Exists(kNanwidoFileName);
    }
    // Cell of a table file in the folder, as the next start would read it.
    std::string FileCell(const char* name, int row, int cell) const
    {
        return TableCell(ParseTableFile(folder.Read(name)), row, cell);
    }
    void CloseWithYes(TForm1& form)
    {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        form.close();
    }

    WorkFolder folder;
};

TEST_F(PersistWindow, StageEndWritesWhatAConfirmedCloseWrites)
{
    auto form = Start(45);
    // Answers inside a stage stay in memory.
    AnswerQuestions(*form, 15, 4);
    EXPECT_FALSE(AnyDatabase());
    AnswerQuestions(*form, 0, 1);
    ASSERT_EQ(VisibleScreen(*form), form->pnlStageEnd);

    // The stage's counts and the automatic save are on disk at once.
    EXPECT_EQ(FileCell(kSeikaiFileName, 1, 1), "1");
    EXPECT_EQ(FileCell(kSeikaiFileName, 20, 1), "0");
    EXPECT_EQ(FileCell(kSaveLoadFileName, 1, 4), "1");
    EXPECT_EQ(FileCell(kSaveLoadFileName, 1, 2), "20");
    EXPECT_EQ(folder.Read(kNanwidoFileName), "5");
    const Files atStageEnd = Read();

    // Nothing changed since: the close writes the very same bytes.
    CloseWithYes(*form);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Read(), atStageEnd);
    EXPECT_TRUE(ShownMessages::texts() == QStringList {kCloseQuestion});
}

TEST_F(PersistWindow, WeakPointStageEndAndExamResultsAreWrittenToo)
{
    {
        auto form = Start(25, &TForm1::btnStartJakuten);
        AnswerQuestions(*form, 20, 0);
        ASSERT_EQ(VisibleScreen(*form), form->pnlStageEnd);
        // No automatic save in this mode, but the counts are kept.
        EXPECT_EQ(FileCell(kSaveLoadFileName, 1, 4), "0");
        EXPECT_EQ(FileCell(kSeikaiFileName, 1, 1), "1");
        EXPECT_EQ(FileCell(kSeikaiFileName, 21, 1), "0");
        CloseWithYes(*form);
    }
    auto form = Start(25, &TForm1::btnHNormalStart);
    AnswerQuestions(*form, 2, 23);
    ASSERT_EQ(VisibleScreen(*form), form->pnlFinalStageEnd);
    EXPECT_EQ(FileCell(kSeikaiFileName, 1, 1), "2");
    EXPECT_EQ(FileCell(kSeikaiFileName, 2, 1), "2");
    EXPECT_EQ(FileCell(kSeikaiFileName, 3, 1), "1");
    // Leaving the results raises the difficulty in memory; the next write
    // (here the close) takes it to the file.
    QTest::mouseClick(form->btnFseStartBack, Qt::LeftButton);
    EXPECT_EQ(folder.Read(kNanwidoFileName), "5");
    CloseWithYes(*form);
    EXPECT_EQ(folder.Read(kNanwidoFileName), "4");
}

TEST_F(PersistWindow, FullDiskAtAStageEndIsToldOnceAndTheDrillGoesOn)
{
    folder.Write(kSeikaiFileName, "old counts");
    folder.Write(kSaveLoadFileName, "old saveLoad");
    folder.Write(kNanwidoFileName, "5");
    const Files old = Read();
    auto form = Start(45);
    SetWriteFault(WriteFault::Write, -1);

    AnswerQuestions(*form, 15, 5);
    ASSERT_EQ(VisibleScreen(*form), form->pnlStageEnd);
    ASSERT_EQ(ShownMessages::texts().size(), 1);
    const QString told = ShownMessages::texts().first();
    EXPECT_TRUE(told.contains(QStringLiteral("db_1toi_pr.dat"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("ディスクがいっぱいです"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("終了するときにもう一度保存します"))) << told.toStdString();
    EXPECT_EQ(Read(), old);

    // The learner plays on; the next failing stage end says nothing more.
    QTest::mouseClick(form->btnNextStage, Qt::LeftButton);
    ASSERT_EQ(VisibleScreen(*form), form->pnlMain);
    AnswerQuestions(*form, 15, 5);
    ASSERT_EQ(VisibleScreen(*form), form->pnlStageEnd);
    EXPECT_EQ(ShownMessages::texts().size(), 1);
    EXPECT_EQ(Read(), old);

    // Room again: the final results are written, silently.
    SetWriteFault(WriteFault::None);
    QTest::mouseClick(form->btnNextStage, Qt::LeftButton);
    AnswerQuestions(*form, 5, 0);
    ASSERT_EQ(VisibleScreen(*form), form->pnlFinalStageEnd);
    EXPECT_EQ(ShownMessages::texts().size(), 1);
    EXPECT_EQ(FileCell(kSeikaiFileName, 45, 1), "1");
    EXPECT_EQ(FileCell(kSaveLoadFileName, 1, 2), "40");

    // A failure after a success is told again.
    QTest::mouseClick(form->btnFseStartBack, Qt::LeftButton);
    QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
    SetWriteFault(WriteFault::Rename, -1);
    AnswerQuestions(*form, 15, 5);
    ASSERT_EQ(ShownMessages::texts().size(), 2);
    EXPECT_TRUE(ShownMessages::texts().last().contains(QStringLiteral("db_1toi_pr.dat")));
}

TEST_F(PersistWindow, ReasonsShownToTheLearnerAreJapanese)
{
    ASSERT_EQ(::mkdir(kNanwidoFileName, 0755), 0);
    std::vector<BankQuestion> bank = TypedBank(2);
    bank[0].toiPicture = 1;
    bank[0].kaisetuPicture = 1;
    WriteBank(folder, bank);
    ASSERT_EQ(::mkdir("NONEmK1.jpg", 0755), 0);
    ASSERT_EQ(::mkdir("NONEkK1.jpg", 0755), 0);
    auto form = OpenForm();

    ASSERT_EQ(ShownMessages::texts().size(), 1);
    const QString startup = ShownMessages::texts().first();
    EXPECT_TRUE(startup.contains(QStringLiteral("db_nanwido.dat を読み込めませんでした（フォルダです）")))
        << startup.toStdString();

    QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
    const QString question = form->memToiBun->toPlainText();
    EXPECT_TRUE(question.contains(QStringLiteral("画像ファイルを読み込めません（フォルダです）：NONEmK1.jpg")))
        << question.toStdString();
    TypeAnswer(*form, QStringLiteral("A1"));
    QTest::mouseClick(form->btnEnter, Qt::LeftButton);
    const QString kaisetu = form->memKaisetuBun->toPlainText();
    EXPECT_TRUE(kaisetu.contains(QStringLiteral("画像ファイルを読み込めません（フォルダです）：NONEkK1.jpg")))
        << kaisetu.toStdString();
}

TEST_F(PersistWindow, EndWithoutAskingWritesAsAConfirmedCloseWithoutTheQuestion)
{
    auto form = Start(45);
    AnswerQuestions(*form, 5, 2);
    EXPECT_EQ(form->EndWithoutAsking(), 0);
    EXPECT_FALSE(ShownMessages::texts().contains(kCloseQuestion));
    EXPECT_EQ(FileCell(kSeikaiFileName, 5, 1), "1");
    EXPECT_EQ(FileCell(kSeikaiFileName, 6, 1), "0");
    const Files ended = Read();

    // The window then closes (the session's "die", a quit) without asking
    // and without a second write, and a second end writes nothing either.
    form->Drill.Nanwido = kNanwidoA;
    form->Drill.ToiSeikaiTable[6][1] = "9";
    EXPECT_EQ(form->EndWithoutAsking(), 0);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(ShownMessages::texts().contains(kCloseQuestion));
    EXPECT_EQ(Read(), ended);
}

TEST_F(PersistWindow, EndAfterTheCloseOrWithoutABankWritesNothing)
{
    {
        auto form = Start(3);
        CloseWithYes(*form);
        const Files closed = Read();
        // A signal handled after the close's own write changes nothing.
        form->Drill.Nanwido = kNanwidoA;
        EXPECT_EQ(form->EndWithoutAsking(), 0);
        EXPECT_EQ(Read(), closed);
        EXPECT_EQ(folder.Read(kNanwidoFileName), "5");
    }
    ASSERT_EQ(::unlink(kToiFileName), 0);
    ASSERT_EQ(::unlink(kSeikaiFileName), 0);
    ASSERT_EQ(::unlink(kSaveLoadFileName), 0);
    ASSERT_EQ(::unlink(kNanwidoFileName), 0);
    auto form = OpenForm();
    ASSERT_EQ(VisibleScreen(*form), form->pnlError);
    EXPECT_EQ(form->EndWithoutAsking(), 0);
    EXPECT_FALSE(AnyDatabase());
}

} // namespace
