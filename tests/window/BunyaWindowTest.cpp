// Study by area through the real window: the drop-down beside the
// difficulty, a run limited to the chosen area, the questions last answered
// wrong, the questions due for review today, the choice remembered across
// starts, and a slot that brings the area run back.
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "window/MessageBox.h"
#include "data/BunyaFile.h"
#include "data/DataTexts.h"
#include "data/Kiroku.h"
#include "support/FormHarness.h"
#include "support/FixedClock.h"
#include "support/ShownMessages.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <tuple>

namespace {

// 30 typed questions in areas データ, SQL, データ, SQL, ... and the last five
// without an area.
std::vector<BankQuestion> AreaBank()
{
    std::vector<BankQuestion> bank = TypedBank(30);
    for (std::size_t i = 0; i < 25; ++i)
        bank[i].bunya = i % 2 == 0 ? "データ" : "SQL";
    return bank;
}

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void Choose(TForm1& form, const QString& item)
{
    const int index = form.cbBunya->findText(item);
    ASSERT_GE(index, 0) << item.toStdString();
    form.cbBunya->setCurrentIndex(index);
    emit form.cbBunya->activated(index);
}

TEST(BunyaWindow, TheDropDownSitsInTheOptionGroupAndMovesNothing)
{
    WorkFolder folder;
    WriteBank(folder, AreaBank());
    auto form = OpenForm();
    EXPECT_EQ(Items(form->cbBunya), (QStringList {"全分野", "データ", "SQL", "最近間違えた問題", "今日の復習"}));
    EXPECT_EQ(form->cbBunya->currentIndex(), 0);
    for (QWidget* w : {static_cast<QWidget*>(form->lblBunya), static_cast<QWidget*>(form->cbBunya),
                       static_cast<QWidget*>(form->btnKiroku)}) {
        EXPECT_EQ(w->parentWidget(), form->gbOption);
        EXPECT_TRUE(QRect(QPoint(0, 0), form->gbOption->size()).contains(w->geometry())) << w->objectName().toStdString();
        EXPECT_FALSE(w->geometry().intersects(form->cbNanwido->geometry()));
        EXPECT_FALSE(w->geometry().intersects(form->lblNanwido->geometry()));
    }
    EXPECT_FALSE(form->cbBunya->geometry().intersects(form->btnKiroku->geometry()));
    // The specified controls where they were.
    EXPECT_EQ(form->gbOption->geometry(), QRect(232, 480, 529, 73));
    EXPECT_EQ(form->cbNanwido->geometry().topLeft(), QPoint(112, 36));
    EXPECT_EQ(form->btnKiroku->text(), QStringLiteral("学習記録(&K)"));
}

TEST(BunyaWindow, TheListOpensWideEnoughForALongAreaName)
{
    WorkFolder folder;
    std::vector<BankQuestion> bank = TypedBank(80);
    for (std::size_t i = 0; i < bank.size(); ++i)
        bank[i].bunya = "分野" + std::to_string(i);
    bank[0].bunya = "データベースの論理設計と物理設計の違いを問う長い分野名";
    WriteBank(folder, bank);
    auto form = OpenForm();
    const QFontMetrics metrics(form->cbBunya->view()->font());
    int longest = 0;
    for (const QString& item : Items(form->cbBunya))
        longest = std::max(longest, metrics.horizontalAdvance(item));
    ASSERT_GT(longest, form->cbBunya->width());
    form->cbBunya->showPopup();
    EXPECT_GE(form->cbBunya->view()->viewport()->width(), longest); // no name cut
    form->cbBunya->hidePopup();
}

TEST(BunyaWindow, ABankWithoutAreasOffersOnlyAllAndTheMisses)
{
    WorkFolder folder;
    WriteBank(folder, TypedBank(25));
    auto form = OpenForm();
    EXPECT_EQ(Items(form->cbBunya), (QStringList {"全分野", "最近間違えた問題", "今日の復習"}));
    QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
    EXPECT_EQ(form->Drill.ToiList.size(), 25u);
}

TEST(BunyaWindow, AnAreaRunAsksOnlyThatAreaInEveryMode)
{
    WorkFolder folder;
    WriteBank(folder, AreaBank());
    auto form = OpenForm();
    Choose(*form, QStringLiteral("SQL"));
    const std::vector<std::int32_t> sql {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24};
    for (QPushButton* start : {form->btnStartNormal, form->btnStartRand, form->btnStartJakuten, form->btnHNormalStart,
                               form->btnHRandStart}) {
        QTest::mouseClick(start, Qt::LeftButton);
        ASSERT_EQ(VisibleScreen(*form), form->pnlMain);
        auto list = form->Drill.ToiList;
        std::sort(list.begin(), list.end());
        EXPECT_EQ(list, sql) << start->objectName().toStdString();
        form->ShowStartScreen();
    }
    // Remembered in its own file, and chosen again at the next start.
    EXPECT_EQ(folder.Read(kBunyaFileName), TableFileText({{"分野"}, {"SQL"}}));
    form.reset();
    auto again = OpenForm();
    EXPECT_EQ(again->cbBunya->currentText(), QStringLiteral("SQL"));
}

TEST(BunyaWindow, RecentMissesReviewWhatWentWrong)
{
    WorkFolder folder;
    WriteBank(folder, AreaBank());
    auto form = OpenForm();
    QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
    AnswerAndNext(*form, false); // K1 wrong
    AnswerAndNext(*form, true);  // K2 right
    AnswerAndNext(*form, false); // K3 wrong
    form->btnSEStartBackClick();
    Choose(*form, QStringLiteral("最近間違えた問題"));
    QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
    EXPECT_EQ(form->Drill.ToiList, (std::vector<std::int32_t> {1, 3}));
    AnswerAndNext(*form, true); // K1 right now
    form->ShowStartScreen();
    QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
    EXPECT_EQ(form->Drill.ToiList, (std::vector<std::int32_t> {3}));
}

TEST(BunyaWindow, NoQuestionToAskStaysOnTheStartScreenWithAWord)
{
    WorkFolder folder;
    WriteBank(folder, AreaBank());
    auto form = OpenForm();
    ShownMessages::Record(true);
    ShownMessages::clear();
    Choose(*form, QStringLiteral("最近間違えた問題"));
    QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
    ASSERT_FALSE(ShownMessages::texts().isEmpty());
    EXPECT_TRUE(ShownMessages::texts().last().contains(QStringLiteral("「最近間違えた問題」には出題できる問題がありません")));
}

// Today's review with the clock pinned: a first right answer is due two days
// on, a first wrong one the next day.
class FukushuWindow : public ::testing::Test {
protected:
    static constexpr std::time_t kNow = 1786000000; // 2026-08-06
    void SetUp() override
    {
        FixedClock::Set(kNow);
        ShownMessages::clear();
    }
    void TearDown() override { FixedClock::Set(std::nullopt); }
    // The journal: each answer (key, right, days ago), as the program writes it.
    void WriteJournal(const std::vector<std::tuple<std::string, bool, int>>& answers)
    {
        std::string bytes;
        AppendTableLine(bytes, KirokuHeaderRow());
        std::int64_t seq = 0;
        for (const auto& [key, right, daysAgo] : answers) {
            KirokuEntry e;
            LocalDayAndSecond(kNow, e.day, e.second);
            e.day -= daysAgo;
            e.seq = ++seq;
            e.key = key;
            e.seikai = right;
            e.answer = "A";
            bytes += KirokuLine(e);
        }
        folder.Write(kKirokuFileName, bytes);
    }
    WorkFolder folder;
};

TEST_F(FukushuWindow, TodaysReviewAsksTheQuestionsDueTheMostOverdueFirst)
{
    WriteBank(folder, AreaBank());
    // K4 due 4 days ago, K1 yesterday, K2 today; K3 tomorrow, K5 the day after.
    WriteJournal({{"K1", true, 3}, {"K2", false, 1}, {"K3", false, 0}, {"K4", false, 5}, {"K5", true, 0}});
    auto form = OpenForm();
    Choose(*form, QStringLiteral("今日の復習"));
    QTest::mouseClick(form->btnStartNormal, Qt::LeftButton);
    ASSERT_EQ(VisibleScreen(*form), form->pnlMain);
    EXPECT_EQ(form->Drill.ToiList, (std::vector<std::int32_t> {4, 1, 2}));
    // Answered right now, K4 is due again in days, not today.
    AnswerAndNext(*form, true);
    form->ShowStartScreen();
    QTest::mouseClick(form->btnStartRand, Qt::LeftButton);
    auto list = form->Drill.ToiList;
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<std::int32_t> {1, 2}));
    form->ShowStartScreen();
    // Remembered like an area.
    EXPECT_EQ(folder.Read(kBunyaFileName), TableFileText({{"分野"}, {"今日の復習"}}));
    form.reset();
    EXPECT_EQ(OpenForm()->cbBunya->currentText(), QStringLiteral("今日の復習"));
}

TEST_F(FukushuWindow, NothingDueSaysWhenTheNextReviewIsAndStaysOnTheStartScreen)
{
    WriteBank(folder, AreaBank());
    WriteJournal({{"K1", true, 0}, {"K2", true, 0}, {"K3", false, 0}});
    auto form = OpenForm();
    Choose(*form, QStringLiteral("今日の復習"));
    QTest::mouseClick(form->btnStartJakuten, Qt::LeftButton);
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
    ASSERT_EQ(ShownMessages::texts().size(), 1);
    const QString text = ShownMessages::texts().first();
    EXPECT_TRUE(text.contains(QStringLiteral("今日復習する問題はありません"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("次の復習は8月7日（1問）です"))) << text.toStdString();
}

TEST(BunyaWindow, ASlotStoredInAnAreaRunRestoresThatRun)
{
    WorkFolder folder;
    WriteBank(folder, AreaBank());
    auto form = OpenForm();
    Choose(*form, QStringLiteral("データ"));
    QTest::mouseClick(form->btnStartRand, Qt::LeftButton);
    const auto list = form->Drill.ToiList;
    ASSERT_EQ(list.size(), 13u);
    AnswerQuestions(*form, 5, 0);
    // Stored into slot 2 (a hand save's rule); another area is chosen, and
    // loading the slot brings the area run back.
    form->StoreSessionInSlot(1);
    form->ShowStartScreen();
    Choose(*form, QStringLiteral("SQL"));
    QTest::mouseClick(form->btnLoadNormal, Qt::LeftButton);
    ClickListRow(form->lvSaveLoad, 1);
    QTest::mouseClick(form->btnSaveLoad, Qt::LeftButton);
    ASSERT_EQ(VisibleScreen(*form), form->pnlMain);
    EXPECT_EQ(form->Drill.ToiList, list);
    EXPECT_EQ(form->Drill.ToiIndex, 5u);
    form->ShowStartScreen();
    EXPECT_EQ(form->cbBunya->currentText(), QStringLiteral("データ"));
}

} // namespace
