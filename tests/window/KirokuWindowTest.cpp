// The study record through the real window: reached by its access key from
// the start screen, showing the day's answers and the areas of a journal
// built for the test, a friendly empty state, and the way back.
#include "window/KirokuView.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "data/Kiroku.h"
#include "support/FormHarness.h"
#include "text/Clock.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
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
    void SetUp() override { Clock::SetFixedNow(kNow); }
    void TearDown() override { Clock::SetFixedNow(std::nullopt); }
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

TEST_F(KirokuWindow, AnAnswerLeftAtThePromptIsRecordedEmpty)
{
    WriteBank(folder, TypedBank(3));
    auto form = OpenForm();
    const auto control = [&](const char* name) { return form->findChild<QWidget*>(QString::fromLatin1(name)); };
    QTest::mouseClick(control("btnStartNormal"), Qt::LeftButton);
    // Judged with [決定], then by the countdown, with nothing typed; then typed.
    QTest::mouseClick(control("btnEnter"), Qt::LeftButton);
    QTest::mouseClick(control("btnNext"), Qt::LeftButton);
    LetTimeRunOut(*form);
    auto* edit = form->findChild<QLineEdit*>(QStringLiteral("edtInput"));
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClicks(edit, QStringLiteral("A3"));
    QTest::mouseClick(control("btnEnter"), Qt::LeftButton);
    EXPECT_EQ(form->lblTrueOrFalse->text(), QStringLiteral("正解！"));

    KirokuJournal journal;
    journal.Open(nullptr, false);
    std::vector<std::string> answers;
    for (const KirokuEntry& e : journal.Entries())
        answers.push_back(e.answer);
    EXPECT_EQ(answers, (std::vector<std::string> {"", "", "A3"}));
}

} // namespace
