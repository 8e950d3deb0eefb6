// The study record through the real window: reached by its access key from
// the start screen, showing the day's answers and the areas of a journal
// built for the test, a friendly empty state, and the way back. And the
// journal under a disk that fills, and beside an edited mark.
#include "window/KirokuView.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "data/Kiroku.h"
#include "data/ToiBank.h"
#include "support/FormHarness.h"
#include "text/Clock.h"
#include "text/SafeFile.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

namespace {

constexpr std::time_t kNow = 1786000000; // 2026-08-06, pinned

std::vector<BankQuestion> AreaBank()
{
    std::vector<BankQuestion> bank = TypedBank(6);
    for (std::size_t i = 0; i < bank.size(); ++i)
        bank[i].bunya = i < 3 ? "正規化" : "SQL";
    return bank;
}

class KirokuWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clock::SetFixedNow(kNow);
        MessageBox::clearShownTexts();
    }
    void TearDown() override
    {
        Clock::SetFixedNow(std::nullopt);
        SetAppendFaultForTest(0, 0);
        MessageBox::clearShownTexts();
    }
    static void CloseWithYes(TForm1& form)
    {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        form.close();
    }
    WorkFolder folder;
};

TEST_F(KirokuWindow, AnEmptyJournalShowsAFriendlyWordAndTheWayBack)
{
    WriteBank(folder, AreaBank());
    auto form = OpenForm();
    ASSERT_TRUE(PressAccessKey(*form, Qt::Key_K, [&] { return VisibleScreen(*form) == form->pnlKiroku; }));
    EXPECT_EQ(VisibleScreenCount(*form), 1);
    EXPECT_TRUE(form->kirokuView->IsEmptyState());
    EXPECT_TRUE(form->StatusText().startsWith(QStringLiteral(" ： ")));
    const QImage shot = form->kirokuView->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    ASSERT_TRUE(PressAccessKey(*form, Qt::Key_B, [&] { return VisibleScreen(*form) == form->pnlStart; }));
}

TEST_F(KirokuWindow, TheDaysAnswersAndTheAreasOfAJournal)
{
    WriteBank(folder, AreaBank());
    {
        // Three days ago one right answer; today the answers played below.
        KirokuJournal journal;
        journal.Open(nullptr);
        KirokuEntry old;
        LocalDayAndSecond(kNow, old.day, old.second);
        old.day -= 3;
        old.key = "K4";
        old.seikai = true;
        ASSERT_TRUE(journal.Append(old));
    }
    auto form = OpenForm();
    QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
    AnswerAndNext(*form, true);  // K1
    AnswerAndNext(*form, false); // K2
    AnswerAndNext(*form, false); // K3
    form->btnSEStartBackClick();
    QTest::mouseClick(form->btnKiroku, Qt::LeftButton);
    ASSERT_EQ(VisibleScreen(*form), form->pnlKiroku);
    const KirokuFigures& f = form->kirokuView->Figures();
    EXPECT_FALSE(form->kirokuView->IsEmptyState());
    EXPECT_EQ(f.answers, 4);
    EXPECT_EQ(f.days.back().seikai, 1);
    EXPECT_EQ(f.days.back().fuseikai, 2);
    EXPECT_EQ(f.days[kKirokuDays - 4].seikai, 1);
    EXPECT_EQ(f.streak, 1);
    ASSERT_EQ(f.bunya.size(), 2u);
    EXPECT_EQ(f.bunya[0].seen, 3);
    EXPECT_EQ(f.bunya[0].recentSeikai, 1);
    EXPECT_EQ(f.bunya[1].seen, 1);
    ASSERT_EQ(f.misses.size(), 2u);
    EXPECT_EQ(f.misses[0].key, "K2");
    // Painted without a chart library, into the window's own pixels.
    const QImage shot = form->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(993, 650));
    if (const char* path = std::getenv("MIRETO_RECORD_SHOT"))
        shot.save(QString::fromLocal8Bit(path));
    QTest::mouseClick(form->btnKirokuBack, Qt::LeftButton);
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
}

// The disk fills while an answer's row is written, right after its closing
// quote: the learner is told it was not recorded, and once there is room it
// never appears in the journal; each answer counts once after a new start.
TEST_F(KirokuWindow, AnAnswerAFullDiskCutShortIsToldAndNeverAppearsLater)
{
    WriteBank(folder, TypedBank(5));
    std::int32_t cutRow = 0, nextRow = 0;
    {
        auto form = OpenForm();
        QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
        cutRow = form->Drill.CurrentRow();
        SetAppendFaultForTest(2);
        AnswerAndNext(*form, true);
        ASSERT_EQ(MessageBox::shownTexts().size(), 1);
        EXPECT_TRUE(MessageBox::shownTexts().first().contains(QStringLiteral("ディスクがいっぱいです")));
        nextRow = form->Drill.CurrentRow();
        AnswerAndNext(*form, true);
        CloseWithYes(*form);
    }
    KirokuJournal journal;
    journal.Open(nullptr);
    ASSERT_EQ(journal.Entries().size(), 1u);
    EXPECT_EQ(journal.Entries()[0].key, "K" + std::to_string(nextRow));
    auto form = OpenForm();
    EXPECT_EQ(TableCell(form->Drill.ToiSeikaiTable, cutRow, 1), "1");
    EXPECT_EQ(TableCell(form->Drill.ToiSeikaiTable, nextRow, 1), "1");
}

// A mark edited by hand, its number lowered (every answer after it would
// count again) or raised to the top (no answer could be recorded): told at
// the start, no answer counted twice, and the journal goes on.
TEST_F(KirokuWindow, AnEditedMarkIsToldAndNeitherCountsTwiceNorStopsTheJournal)
{
    for (const char* number : {"0", "999999999999999"}) {
        SCOPED_TRACE(number);
        WorkFolder own;
        WriteBank(own, TypedBank(5));
        {
            auto form = OpenForm();
            QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
            AnswerQuestions(*form, 3, 0);
            CloseWithYes(*form);
        }
        std::string mark = own.Read(kKirokuMarkFileName);
        const auto at = mark.find("\"3\",\"");
        ASSERT_NE(at, std::string::npos);
        own.Write(kKirokuMarkFileName, mark.replace(at + 1, 1, number));
        MessageBox::clearShownTexts();
        auto form = OpenForm();
        ASSERT_EQ(MessageBox::shownTexts().size(), 1);
        EXPECT_TRUE(MessageBox::shownTexts().first().contains(QStringLiteral("db_kiroku_mark.dat")));
        for (std::int32_t row = 1; row <= 3; ++row)
            EXPECT_EQ(TableCell(form->Drill.ToiSeikaiTable, row, 1), "1") << row;
        QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
        AnswerAndNext(*form, true);
        EXPECT_EQ(MessageBox::shownTexts().size(), 1);
        KirokuJournal journal;
        journal.Open(nullptr);
        EXPECT_EQ(journal.Entries().size(), 4u);
    }
}

} // namespace
