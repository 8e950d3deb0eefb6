// Save slotFile through the real window: the automatic save at a stage end, the
// save/load screen in both roles, restoring a run, refusing slotFile that do not
// fit, and what reaches the files at a confirmed close.
#include "text/Clock.h"
#include "window/MessageBox.h"
#include "window/SjisText.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "data/DataTexts.h"
#include "support/FormHarness.h"
#include "support/DrillExpect.h"
#include "support/FixedClock.h"
#include "support/ShownMessages.h"

#include <gtest/gtest.h>

#include <algorithm>


#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr std::time_t kFirstSave = 1796586175; // Sun Dec 06 19:42:55 2026 (UTC)
const QString kSaveStatus = QStringLiteral(" ： データを選択し、[セーブ]をクリックしてください");
const QString kLoadStatus = QStringLiteral(" ： データを選択し、[ロード]をクリックしてください");
const QString kOverwrite = QStringLiteral("上書き保存しますか？");

using Cells = std::vector<std::string>;

// Slot row `slot` of the window's table, readable.
Cells SlotRow(const TForm1& form, int slot)
{
    Cells cells;
    const auto found = form.Drill.SaveLoadTable.find(slot);
    if (found != form.Drill.SaveLoadTable.end())
        for (const std::string& cell : found->second)
            cells.push_back(SjisToUtf8(cell));
    return cells;
}

std::string JoinList(const std::vector<std::int32_t>& list)
{
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i)
        text += (i > 0 ? "<%>" : "") + std::to_string(list[i]);
    return text;
}

std::string DateText(std::time_t t)
{
    return TimeToText(t);
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// The save/load screen as it opens: its role's texts and the first row,
// "AUTO", selected.
void ExpectSaveLoadScreen(TForm1& form, bool saving)
{
    EXPECT_EQ(VisibleScreen(form), form.pnlSaveLoad);
    EXPECT_EQ(form.lblSLTitle->text(), saving ? QStringLiteral("セーブ") : QStringLiteral("ロード"));
    EXPECT_EQ(form.btnSaveLoad->text(), saving ? QStringLiteral("セーブ(&S)") : QStringLiteral("ロード(&L)"));
    EXPECT_EQ(form.StatusText(), saving ? kSaveStatus : kLoadStatus);
    ASSERT_GT(form.lvSaveLoad->topLevelItemCount(), 0);
    QTreeWidgetItem* first = form.lvSaveLoad->topLevelItem(0);
    EXPECT_EQ(form.lvSaveLoad->currentItem(), first);
    EXPECT_TRUE(first->isSelected());
    EXPECT_EQ(form.lvSaveLoad->selectedItems().size(), 1);
    EXPECT_EQ(first->text(0), QStringLiteral("AUTO"));
}

// The question screen at the first question of a stage.
void ExpectQuestion(TForm1& form, const QString& stage, const QString& key, const QString& nokori,
                    const QString& nanwido)
{
    EXPECT_EQ(VisibleScreen(form), form.pnlMain);
    EXPECT_EQ(form.lblStageNumber->text(), stage);
    EXPECT_EQ(form.lblToiKey->text(), key);
    EXPECT_EQ(form.lblMainNokori->text(), nokori);
    EXPECT_EQ(form.lblMainNanwido->text(), nanwido);
    EXPECT_EQ(form.Drill.StageToiCount, 0u);
    EXPECT_EQ(form.Drill.StageSeikaiCount, 0u);
    EXPECT_TRUE(form.Timer1->isActive());
}

// db_save_load.dat with the given slot rows after the header.
void WriteSlots(const WorkFolder& folder, const std::vector<Cells>& slotRows)
{
    std::vector<Cells> rows {SlotHeaderRow()};
    rows.insert(rows.end(), slotRows.begin(), slotRows.end());
    folder.Write(DataTexts::kSaveLoadFileName, TableFileText(rows));
}

class SaveLoadWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ShownMessages::clear();
        FixedClock::Set(kFirstSave);
    }
    void TearDown() override
    {
        FixedClock::Set(std::nullopt);
        // Every message a test provokes is checked (and cleared) by that test.
        EXPECT_TRUE(ShownMessages::texts().isEmpty()) << ShownMessages::texts().join(" | ").toStdString();
    }
    WorkFolder folder;
};

TEST_F(SaveLoadWindow, AutoSaveAfterAClearedStageResumesAtTheNextStage)
{
    WriteBank(folder, TypedBank(45));
    auto form = OpenForm();
    Click(form->btnStartNormal);
    AnswerQuestions(*form, 15, 5);
    ASSERT_EQ(VisibleScreen(*form), form->pnlStageEnd);
    EXPECT_EQ(SlotRow(*form, 1),
              (Cells {"NORMAL", BankOrderList(45), "20", "15<%>20<$>0<%>0", "1", DateText(kFirstSave), "5", "3"}));
    EXPECT_EQ(SlotRow(*form, 2), EmptySlotCells(45)) << "only slot 1 is saved automatically";

    Click(form->btnSEStartBack);
    ChooseNanwido(*form, 0);
    ASSERT_EQ(form->Drill.Nanwido, 0);
    Click(form->btnLoadNormal);
    ExpectSaveLoadScreen(*form, false);
    EXPECT_EQ(ListRows(form->lvSaveLoad).front(),
              (QStringList {"AUTO", "NORMAL", QString::fromStdString(DateText(kFirstSave))}));

    Click(form->btnSaveLoad);
    ExpectQuestion(*form, "ステージ2", "K21", "残り：3", "難易度：Ｆ");
    EXPECT_EQ(form->lblMainMode->text(), QStringLiteral("通常モード"));

    // The restored stage table carries stage 1 into the final results.
    AnswerQuestions(*form, 20, 0);
    Click(form->btnNextStage);
    AnswerQuestions(*form, 5, 0);
    ASSERT_EQ(VisibleScreen(*form), form->pnlFinalStageEnd);
    EXPECT_EQ(ListRows(form->lvSeiseki), (std::vector<QStringList> {{"1", "75"}, {"2", "100"}, {"3", "100"}}));
}

TEST_F(SaveLoadWindow, AutoSaveAfterAFailedStageResumesTheSameStageWithFewerChances)
{
    WriteBank(folder, TypedBank(45));
    auto form = OpenForm();
    ChooseNanwido(*form, 2);
    Click(form->btnStartRand);
    const std::vector<std::int32_t> shuffled = form->Drill.ToiList;
    AnswerQuestions(*form, 10, 10); // 50: fails at Ｃ
    ASSERT_EQ(form->lblKekka->text(), QStringLiteral("残念"));
    EXPECT_EQ(SlotRow(*form, 1),
              (Cells {"RAND", JoinList(shuffled), "0", "10<%>20<$>0<%>0", "1", DateText(kFirstSave), "2", "2"}));

    Click(form->btnSEStartBack);
    ChooseNanwido(*form, 5);
    Click(form->btnLoadNormal);
    EXPECT_EQ(ListRows(form->lvSaveLoad).front().at(1), QStringLiteral("RAND"));
    Click(form->btnSaveLoad);
    ExpectQuestion(*form, "ステージ1", QStringLiteral("K%1").arg(shuffled.front()), "残り：2", "難易度：Ｃ");
    EXPECT_EQ(form->lblMainMode->text(), QStringLiteral("ランダムモード"));
    EXPECT_EQ(form->Drill.ToiList, shuffled);

    AnswerQuestions(*form, 0, 20);
    EXPECT_EQ(form->lblSENokori->text(), QStringLiteral("残り：1"));
    Click(form->btnSEStartBack);
    EXPECT_EQ(form->cbNanwido->currentText(), QStringLiteral("Ｃ")) << "the restored difficulty stays chosen";
}

TEST_F(SaveLoadWindow, ManualSaveAsksBeforeOverwritingAndReturnsToTheSameStageEnd)
{
    WriteBank(folder, TypedBank(45));
    auto form = OpenForm();
    Click(form->btnStartNormal);
    AnswerQuestions(*form, 15, 5);
    Click(form->btnSESave);
    ExpectSaveLoadScreen(*form, true);
    std::vector<QStringList> rows {{"AUTO", "NORMAL", QString::fromStdString(DateText(kFirstSave))}};
    for (int slot = 2; slot <= 9; ++slot)
        rows.push_back({QString::number(slot), "NORMAL", "新規データ"});
    EXPECT_EQ(ListRows(form->lvSaveLoad), rows);

    // Slot 1 holds the automatic save: declining the question changes nothing.
    FixedClock::Set(kFirstSave + 3600);
    const TextTable before = form->Drill.SaveLoadTable;
    MessageBox::setNextAnswer(QMessageBox::No);
    Click(form->btnSaveLoad);
    EXPECT_EQ(ShownMessages::texts(), QStringList {kOverwrite});
    EXPECT_EQ(form->Drill.SaveLoadTable, before);
    EXPECT_EQ(ListRows(form->lvSaveLoad), rows);
    EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);

    MessageBox::setNextAnswer(QMessageBox::Yes);
    Click(form->btnSaveLoad);
    EXPECT_EQ(ShownMessages::texts(), (QStringList {kOverwrite, kOverwrite}));
    const std::string later = DateText(kFirstSave + 3600);
    EXPECT_EQ(SlotCellText(*form, 1, 5), later);
    rows[0] = {"1", "NORMAL", QString::fromStdString(later)};
    EXPECT_EQ(ListRows(form->lvSaveLoad), rows);

    // An empty slot is stored without a question; Alt+S is this screen's
    // セーブ(&S), not a start button of a hidden screen.
    ClickListRow(form->lvSaveLoad, 2);
    ASSERT_TRUE(PressAccessKey(*form, Qt::Key_S, [&] { return SlotCellText(*form, 3, 4) == "1"; }));
    EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    EXPECT_EQ(ShownMessages::texts().size(), 2);
    EXPECT_EQ(SlotRow(*form, 3), SlotRow(*form, 1));
    rows[2] = {"3", "NORMAL", QString::fromStdString(later)};
    EXPECT_EQ(ListRows(form->lvSaveLoad), rows);
    EXPECT_EQ(SlotRow(*form, 2), EmptySlotCells(45));
    ShownMessages::clear();

    // 戻る shows the same stage end and saves nothing more.
    FixedClock::Set(kFirstSave + 7200);
    const TextTable saved = form->Drill.SaveLoadTable;
    ASSERT_TRUE(PressAccessKey(*form, Qt::Key_B, [&] { return !form->pnlStageEnd->isHidden(); }));
    EXPECT_EQ(VisibleScreen(*form), form->pnlStageEnd);
    EXPECT_EQ(form->StatusText(), QStringLiteral(" ： １つのステージが終了しました"));
    EXPECT_EQ(form->lblSETitle->text(), QStringLiteral("ステージ1終了"));
    EXPECT_EQ(form->lblKekka->text(), QStringLiteral("クリア"));
    EXPECT_EQ(form->lblMonchuMonseikai->text(), QStringLiteral("20問中15問正解"));
    EXPECT_EQ(form->lblSENokori->text(), QStringLiteral("残り：3"));
    EXPECT_EQ(form->btnNextStage->text(), QStringLiteral("次のステージへ(&N)"));
    EXPECT_TRUE(form->btnSESave->isVisible());
    EXPECT_EQ(form->Drill.SaveLoadTable, saved);

    // Opened again, the first row reads "AUTO" and is selected.
    Click(form->btnSESave);
    ExpectSaveLoadScreen(*form, true);
    Click(form->btnSLBack);
    Click(form->btnNextStage);
    ExpectQuestion(*form, "ステージ2", "K21", "残り：3", "難易度：Ｆ");
}

TEST_F(SaveLoadWindow, EmptySlotStartsANewNormalRunAtF)
{
    WriteBank(folder, TypedBank(45));
    auto form = OpenForm();
    ChooseNanwido(*form, 1);
    Click(form->btnLoadNormal);
    ExpectSaveLoadScreen(*form, false);
    std::vector<QStringList> rows {{"AUTO", "NORMAL", "新規データ"}};
    for (int slot = 2; slot <= 9; ++slot)
        rows.push_back({QString::number(slot), "NORMAL", "新規データ"});
    EXPECT_EQ(ListRows(form->lvSaveLoad), rows);

    Click(form->btnSLBack);
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
    EXPECT_EQ(form->cbNanwido->currentText(), QStringLiteral("Ｂ"));

    Click(form->btnLoadNormal);
    // The access key of the load button, not of the hidden start screen's.
    ASSERT_TRUE(PressAccessKey(*form, Qt::Key_L, [&] { return !form->pnlMain->isHidden(); }));
    ExpectQuestion(*form, "ステージ1", "K1", "残り：3", "難易度：Ｆ");
    EXPECT_EQ(form->lblMainMode->text(), QStringLiteral("通常モード"));
    EXPECT_EQ(form->lblTime->text(), QStringLiteral("残り：90"));
    EXPECT_EQ(form->Drill.Nanwido, 5);
    std::vector<std::int32_t> bankOrder;
    for (int row = 1; row <= 45; ++row)
        bankOrder.push_back(row);
    EXPECT_EQ(form->Drill.ToiList, bankOrder);
}

struct StoredSlot {
    int listRow;
    QString stage;
    QString key;
    QString mode;
    QString nokori;
    QString nanwido;
};

// Where a stored run resumes: the stage follows from the position, the mode
// from cell 0 ("NORMAL" exactly, anything else random).
TEST_F(SaveLoadWindow, StoredPositionModeAndChancesAreResumed)
{
    WriteBank(folder, TypedBank(45));
    std::string reversed;
    for (int row = 45; row >= 1; --row)
        reversed += (row < 45 ? "<%>" : "") + std::to_string(row);
    WriteSlots(folder, {{"RAND", reversed, "0", "0<%>0<$>0<%>0", "1", "d1", "3", "3"},
                        {"NORMAL", BankOrderList(45), "20", "20<%>20<$>0<%>0", "1", "d2", "1", "1"},
                        {"NORMAL", BankOrderList(45), "40", "20<%>20<$>18<%>20", "1", "d3", "0", "2"},
                        {"normal", BankOrderList(45), "19", "0<%>0<$>0<%>0", "1", "d4", "4", "3"}});
    const StoredSlot cases[] = {
        {0, "ステージ1", "K45", "ランダムモード", "残り：3", "難易度：Ｄ"},
        {1, "ステージ2", "K21", "通常モード", "残り：1", "難易度：Ｂ"},
        {2, "ステージ3", "K41", "通常モード", "残り：2", "難易度：Ａ"},
        {3, "ステージ1", "K20", "ランダムモード", "残り：3", "難易度：Ｅ"},
    };
    for (const StoredSlot& c : cases) {
        SCOPED_TRACE(c.listRow);
        auto form = OpenForm();
        Click(form->btnLoadNormal);
        ExpectSaveLoadScreen(*form, false);
        EXPECT_EQ(ListRows(form->lvSaveLoad).size(), 4u);
        ClickListRow(form->lvSaveLoad, c.listRow);
        Click(form->btnSaveLoad);
        ExpectQuestion(*form, c.stage, c.key, c.nokori, c.nanwido);
        EXPECT_EQ(form->lblMainMode->text(), c.mode);
    }
}

struct BadSlot {
    const char* why;
    Cells cells;
};

// A slot that cannot be resumed is refused with a message; the learner
// stays on the load screen, the drill as it was, and can pick another slot.
TEST_F(SaveLoadWindow, RefusesSlotsThatDoNotFitTheBank)
{
    WriteBank(folder, TypedBank(20));
    const BadSlot cases[] = {
        {"row beyond the bank", {"NORMAL", BankOrderList(20) + "<%>21", "0", "0<%>0", "1", "d", "5", "3"}},
        {"row 0", {"NORMAL", "0<%>1", "0", "0<%>0", "1", "d", "5", "3"}},
        {"position past the list", {"NORMAL", "1<%>2<%>3", "3", "0<%>0", "1", "d", "5", "3"}},
        {"negative position", {"NORMAL", "1<%>2<%>3", "-1", "0<%>0", "1", "d", "5", "3"}},
        {"empty list", {"NORMAL", "", "0", "0<%>0", "1", "d", "5", "3"}},
    };
    for (const BadSlot& c : cases) {
        SCOPED_TRACE(c.why);
        WriteSlots(folder, {EmptySlotCells(20), c.cells});
        auto form = OpenForm();
        // A failed stage first, so there is a drill to leave untouched.
        Click(form->btnStartNormal);
        AnswerQuestions(*form, 0, 20);
        Click(form->btnSEStartBack);
        ChooseNanwido(*form, 2);
        Click(form->btnLoadNormal);
        ClickListRow(form->lvSaveLoad, 1);
        const DrillState before = form->Drill;

        Click(form->btnSaveLoad);
        ASSERT_EQ(ShownMessages::texts().size(), 1);
        EXPECT_FALSE(ShownMessages::texts().first().isEmpty());
        ShownMessages::clear();
        EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
        EXPECT_EQ(form->StatusText(), kLoadStatus);
        EXPECT_FALSE(form->Timer1->isActive());
        EXPECT_EQ(form->lvSaveLoad->currentItem(), form->lvSaveLoad->topLevelItem(1));
        ExpectSameDrill(form->Drill, before);

        // The automatic save of the failed stage still loads.
        ClickListRow(form->lvSaveLoad, 0);
        Click(form->btnSaveLoad);
        ExpectQuestion(*form, "ステージ1", "K1", "残り：2", "難易度：Ｆ");
    }
}

// A db_save_load.dat with three slotFile, two of them short: the list shows
// what is there, a short slot without its chances is refused, and saving
// fills a slot without adding any.
TEST_F(SaveLoadWindow, FewerAndShortSlotsListWhatIsThere)
{
    WriteBank(folder, TypedBank(45));
    WriteSlots(folder, {EmptySlotCells(45), {"RAND", "3<%>1<%>2"}, {"NORMAL"}});
    {
        auto form = OpenForm();
        Click(form->btnLoadNormal);
        ExpectSaveLoadScreen(*form, false);
        EXPECT_EQ(ListRows(form->lvSaveLoad),
                  (std::vector<QStringList> {{"AUTO", "NORMAL", "新規データ"}, {"2", "RAND", ""}, {"3", "NORMAL", ""}}));
        // Its missing chances read as 0, which no run has: refused.
        ClickListRow(form->lvSaveLoad, 1);
        Click(form->btnSaveLoad);
        EXPECT_EQ(ShownMessages::texts(),
                  QStringList {QStringLiteral("このセーブデータの残り数（0）が1から3の範囲外のため、"
                                              "続きから始められません。\n別のデータを選んでください。")});
        ShownMessages::clear();
        EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    }

    auto form = OpenForm();
    Click(form->btnStartNormal);
    AnswerQuestions(*form, 15, 5);
    Click(form->btnSESave);
    ExpectSaveLoadScreen(*form, true);
    ClickListRow(form->lvSaveLoad, 2);
    Click(form->btnSaveLoad); // cell 4 is missing: no question
    EXPECT_EQ(SlotRow(*form, 3), SlotRow(*form, 1));
    EXPECT_EQ(ListRows(form->lvSaveLoad).size(), 3u);
    EXPECT_EQ(form->Drill.SaveLoadTable.size(), 4u);

    MessageBox::setNextAnswer(QMessageBox::Yes);
    ASSERT_TRUE(form->close());
    ShownMessages::clear();
    const std::string file = folder.Read(DataTexts::kSaveLoadFileName);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 4) << "the header and the three slotFile";
}

// Clears the list's selection as a learner can: a click on an empty part.
void ClearSelection(QTreeWidget* list)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, list->viewport()->height() - 5));
}

// With no row selected the button stores nothing and restores nothing; the
// header row is never touched.
TEST_F(SaveLoadWindow, ButtonWithoutASelectedRowDoesNothingHarmful)
{
    WriteBank(folder, TypedBank(45));
    WriteSlots(folder, {EmptySlotCells(45), EmptySlotCells(45)});
    auto form = OpenForm();
    const QString noRow = QStringLiteral("データを選択してください。");

    Click(form->btnLoadNormal);
    ClearSelection(form->lvSaveLoad);
    ASSERT_TRUE(form->lvSaveLoad->selectedItems().isEmpty());
    DrillState before = form->Drill;
    Click(form->btnSaveLoad);
    EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    ExpectSameDrill(form->Drill, before);
    EXPECT_EQ(ShownMessages::texts(), QStringList {noRow});
    ShownMessages::clear();

    Click(form->btnSLBack);
    Click(form->btnStartNormal);
    AnswerQuestions(*form, 15, 5);
    Click(form->btnSESave);
    ClearSelection(form->lvSaveLoad);
    ASSERT_TRUE(form->lvSaveLoad->selectedItems().isEmpty());
    before = form->Drill;
    Click(form->btnSaveLoad);
    EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    ExpectSameDrill(form->Drill, before);
    EXPECT_EQ(SlotRow(*form, 0), SlotHeaderRow());
    EXPECT_EQ(ShownMessages::texts(), QStringList {noRow});
    ShownMessages::clear();
}

// A file holding only the header lists nothing; neither role can do harm.
TEST_F(SaveLoadWindow, SlotFileWithoutSlotsListsNothing)
{
    WriteBank(folder, TypedBank(45));
    WriteSlots(folder, {});
    auto form = OpenForm();
    Click(form->btnLoadNormal);
    EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    EXPECT_EQ(form->lvSaveLoad->topLevelItemCount(), 0);
    const DrillState before = form->Drill;
    Click(form->btnSaveLoad);
    ExpectSameDrill(form->Drill, before);
    EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    EXPECT_EQ(ShownMessages::texts().size(), 1);
    ShownMessages::clear();
}

// After a confirmed close the three files hold exactly what was played.
TEST_F(SaveLoadWindow, ConfirmedCloseWritesWhatWasPlayed)
{
    WriteBank(folder, TypedBank(25));
    folder.Write(DataTexts::kNanwidoFileName, "3");
    auto form = OpenForm();
    Click(form->btnStartNormal);
    AnswerQuestions(*form, 13, 7); // 65: clears at Ｄ
    Click(form->btnSESave);
    ClickListRow(form->lvSaveLoad, 3);
    Click(form->btnSaveLoad);
    Click(form->btnSLBack);
    Click(form->btnNextStage);
    AnswerQuestions(*form, 5, 0);
    ASSERT_EQ(VisibleScreen(*form), form->pnlFinalStageEnd);
    Click(form->btnFseStartBack);

    MessageBox::setNextAnswer(QMessageBox::Yes);
    ASSERT_TRUE(form->close());
    EXPECT_EQ(ShownMessages::texts(), QStringList {"終了しますか？"});
    ShownMessages::clear();

    std::vector<Cells> seikai {{"問キー", "その問の正解数"}};
    for (int row = 1; row <= 25; ++row)
        seikai.push_back({"K" + std::to_string(row), row <= 13 || row > 20 ? "1" : "0"});
    EXPECT_EQ(folder.Read(DataTexts::kSeikaiFileName), TableFileText(seikai));

    const Cells stored {"NORMAL", BankOrderList(25), "20", "13<%>20", "1", DateText(kFirstSave), "3", "3"};
    std::vector<Cells> slotFile {SlotHeaderRow(), stored, EmptySlotCells(25), EmptySlotCells(25), stored};
    for (int slot = 5; slot <= 9; ++slot)
        slotFile.push_back(EmptySlotCells(25));
    EXPECT_EQ(folder.Read(DataTexts::kSaveLoadFileName), TableFileText(slotFile));

    EXPECT_EQ(folder.Read(DataTexts::kNanwidoFileName), "2");
}

} // namespace
