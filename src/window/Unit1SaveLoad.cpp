// The save/load screen of TForm1 and the slot operations behind it.
#include "window/Unit1.h"

#include "window/MessageBox.h"
#include "window/SjisText.h"
#include "window/Widgets.h"
#include "saveload/SaveSlots.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QString RestoreProblemText(RestoreProblem problem, std::int32_t badRow)
{
    switch (problem) {
    case RestoreProblem::None:
        break;
    case RestoreProblem::NoSuchSlot:
        return QStringLiteral("このセーブデータは見つかりません。");
    case RestoreProblem::EmptyList:
        return QStringLiteral("このセーブデータには出題リストがありません。");
    case RestoreProblem::ListLongerThanBank:
        return QStringLiteral("このセーブデータの出題リストは今の問題集より長いため、続きから始められません。");
    case RestoreProblem::RowOutsideBank:
        return QStringLiteral("このセーブデータは今の問題集にない問題（問題番号 %1）を含むため、"
                              "続きから始められません。")
            .arg(badRow);
    case RestoreProblem::IndexOutsideList:
        return QStringLiteral("このセーブデータの問番号が出題リストの範囲外のため、続きから始められません。");
    case RestoreProblem::NokoriOutsideRun:
        return QStringLiteral("このセーブデータの残り数（%1）が1から%2の範囲外のため、続きから始められません。")
            .arg(badRow)
            .arg(kRunChances);
    case RestoreProblem::StagesOutsideBank:
        return QStringLiteral("このセーブデータのステージ数が問題集のステージ数より多いため、続きから始められません。");
    }
    return {};
}

void ShowSlotListRow(QTreeWidgetItem* item, const SlotListRow& row)
{
    item->setText(0, SjisToQString(row.name));
    item->setText(1, SjisToQString(row.mode));
    item->setText(2, SjisToQString(row.date));
    // The date may be wider than its column; the tip shows it whole.
    item->setToolTip(2, item->text(2));
}

} // namespace

void TForm1::StoreSessionInSlot(int r)
{
    ::StoreSessionInSlot(Drill, r);
}

bool TForm1::RestoreSessionFromSlot(int r)
{
    std::int32_t badRow = 0;
    const RestoreProblem problem = ::RestoreSessionFromSlot(Drill, r, &badRow);
    if (problem != RestoreProblem::None) {
        // Nothing is restored; the learner stays on the save/load screen.
        MessageBox::error(this, kWindowTitle,
                          RestoreProblemText(problem, badRow) + QStringLiteral("\n別のデータを選んでください。"));
        return false;
    }
    return PresentToi();
}

void TForm1::btnLoadNormalClick()
{
    Drill.SaveLoadMode = kSaveLoadLoad;
    ShowSaveLoadScreen();
}

void TForm1::btnSESaveClick()
{
    Drill.SaveLoadMode = kSaveLoadSave;
    ShowSaveLoadScreen();
}

void TForm1::ShowSaveLoadScreen()
{
    CreateHiddenScreens();
    lvSaveLoad->clear();
    if (Drill.SaveLoadMode == kSaveLoadSave) {
        lblSLTitle->setText(QStringLiteral("セーブ"));
        btnSaveLoad->setText(QStringLiteral("セーブ(&S)"));
        SetStatusText(QStringLiteral(" ： データを選択し、[セーブ]をクリックしてください"));
    } else if (Drill.SaveLoadMode == kSaveLoadLoad) {
        lblSLTitle->setText(QStringLiteral("ロード"));
        btnSaveLoad->setText(QStringLiteral("ロード(&L)"));
        SetStatusText(QStringLiteral(" ： データを選択し、[ロード]をクリックしてください"));
    }
    FillSaveLoadList();
    if (QTreeWidgetItem* first = lvSaveLoad->topLevelItem(0)) {
        lvSaveLoad->setCurrentItem(first);
        first->setSelected(true);
    }
    HideAllScreens();
    pnlSaveLoad->setVisible(true);
    lvSaveLoad->setFocus();
}

void TForm1::FillSaveLoadList()
{
    for (const SlotListRow& row : SlotListRows(Drill.SaveLoadTable))
        ShowSlotListRow(new QTreeWidgetItem(lvSaveLoad), row);
}

void TForm1::btnSaveLoadClick()
{
    QTreeWidgetItem* selected = lvSaveLoad->currentItem();
    const int r = selected && selected->isSelected() ? lvSaveLoad->indexOfTopLevelItem(selected) : -1;
    if (r < 0) {
        // No slot chosen: nothing is stored or restored.
        MessageBox::information(this, kWindowTitle, QStringLiteral("データを選択してください。"));
        return;
    }
    if (Drill.SaveLoadMode == kSaveLoadSave) {
        if (SlotHoldsDrill(Drill.SaveLoadTable, r)
            // A stray Enter must not overwrite a stored run: No is the default.
            && MessageBox::question(this, kWindowTitle, QStringLiteral("上書き保存しますか？"), QMessageBox::No)
                   != QMessageBox::Yes)
            return;
        StoreSessionInSlot(r);
        ShowSlotListRow(selected, SlotListRowFor(Drill.SaveLoadTable, r));
        return;
    }
    RestoreSessionFromSlot(r);
}

void TForm1::btnSLBackClick()
{
    if (Drill.SaveLoadMode == kSaveLoadSave)
        ShowStageEnd();
    else
        ShowStartScreen();
}
