#include "FormHarness.h"

#include "window/Widgets.h"
#include "window/SjisText.h"
#include "data/DataTexts.h"
#include "data/ToiBank.h"

#include <algorithm>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

std::vector<BankQuestion> TypedBank(int n)
{
    std::vector<BankQuestion> bank;
    for (int i = 1; i <= n; ++i) {
        const std::string k = std::to_string(i);
        bank.push_back({"K" + k, "問題" + k, "解説" + k, "A" + k, 0, 0, 0, 0});
    }
    return bank;
}

void WriteBank(const WorkFolder& folder, const std::vector<BankQuestion>& questions)
{
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"問キー", "問題文", "解説文", "正解", "選択肢数", "ラベル種類", "問題画像", "解説画像"});
    const bool areas = std::any_of(questions.begin(), questions.end(), [](const BankQuestion& q) { return !q.bunya.empty(); });
    for (const BankQuestion& q : questions) {
        rows.push_back({q.key, q.text, q.kaisetu, q.seikai, std::to_string(q.choices), std::to_string(q.labels),
                        std::to_string(q.toiPicture), std::to_string(q.kaisetuPicture)});
        if (areas)
            rows.back().push_back(q.bunya);
    }
    folder.Write(DataTexts::kToiFileName, TableFileText(rows));
}

std::unique_ptr<TForm1> OpenForm()
{
    auto form = std::make_unique<TForm1>();
    form->show();
    // Focus and access keys need the window to be the active one.
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get(), 2000))
        qWarning("the test window did not become active");
    return form;
}

int VisibleScreenCount(TForm1& form)
{
    int count = 0;
    for (QWidget* panel : {static_cast<QWidget*>(form.pnlStart), static_cast<QWidget*>(form.pnlError),
                           static_cast<QWidget*>(form.pnlMain), static_cast<QWidget*>(form.pnlStageEnd),
                           static_cast<QWidget*>(form.pnlFinalStageEnd), static_cast<QWidget*>(form.pnlSaveLoad),
                           static_cast<QWidget*>(form.pnlKiroku), static_cast<QWidget*>(form.pnlMogi),
                           static_cast<QWidget*>(form.pnlMogiKekka)})
        count += panel && !panel->isHidden() ? 1 : 0;
    return count;
}

QWidget* VisibleScreen(TForm1& form)
{
    if (VisibleScreenCount(form) != 1)
        return nullptr;
    for (QWidget* panel : {static_cast<QWidget*>(form.pnlStart), static_cast<QWidget*>(form.pnlError),
                           static_cast<QWidget*>(form.pnlMain), static_cast<QWidget*>(form.pnlStageEnd),
                           static_cast<QWidget*>(form.pnlFinalStageEnd), static_cast<QWidget*>(form.pnlSaveLoad),
                           static_cast<QWidget*>(form.pnlKiroku), static_cast<QWidget*>(form.pnlMogi),
                           static_cast<QWidget*>(form.pnlMogiKekka)})
        if (panel && !panel->isHidden())
            return panel;
    return nullptr;
}

void TypeAnswer(TForm1& form, const QString& text)
{
    form.edtInput->setFocus();
    form.edtInput->selectAll();
    // QTest::keyClicks cannot type Japanese; an input-method commit can.
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(form.edtInput, &event);
}

void TickBoxes(TForm1& form, const std::vector<int>& boxes)
{
    for (int number : boxes)
        QTest::mouseClick(form.AnswerBoxes.at(number - 1), Qt::LeftButton);
}

void AnswerAndNext(TForm1& form, bool right)
{
    const std::int32_t row = form.Drill.CurrentRow();
    TypeAnswer(form, right ? QStringLiteral("A%1").arg(row) : QStringLiteral("wrong"));
    QTest::mouseClick(form.btnEnter, Qt::LeftButton);
    QTest::mouseClick(form.btnNext, Qt::LeftButton);
}

bool PressAccessKey(TForm1& form, Qt::Key key, const std::function<bool()>& done)
{
    // Access keys work only in the active window; activation arrives
    // through the event loop.
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form, 1000))
        return false;
    QTest::keyClick(&form, key, Qt::AltModifier);
    return QTest::qWaitFor(done, 1000);
}

void AnswerQuestions(TForm1& form, int right, int wrong)
{
    for (int i = 0; i < right + wrong; ++i)
        AnswerAndNext(form, i < right);
}

void LetTimeRunOut(TForm1& form)
{
    // One tick more than the limit at most: a countdown that never judges
    // leaves [決定] enabled and the caller's checks fail.
    for (int tick = 0; tick <= form.Drill.TimeLimit() && form.btnEnter->isEnabled(); ++tick)
        form.Timer1Timer();
    QTest::mouseClick(form.btnNext, Qt::LeftButton);
}

void ChooseNanwido(TForm1& form, int index)
{
    form.cbNanwido->setFocus();
    for (int guard = 0; guard < 6 && form.cbNanwido->currentIndex() != index; ++guard)
        QTest::keyClick(form.cbNanwido, form.cbNanwido->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
}

void ClickListRow(QTreeWidget* list, int r)
{
    QTreeWidgetItem* item = list->topLevelItem(r);
    if (!item)
        return;
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

std::vector<QStringList> ListRows(const QTreeWidget* list)
{
    std::vector<QStringList> rows;
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < list->columnCount(); ++c)
            texts << list->topLevelItem(r)->text(c);
        rows.push_back(texts);
    }
    return rows;
}

std::vector<std::string> SlotHeaderRow()
{
    return {"プレイモード", "出題リスト", "問番号", "ステージごとのプレイ内容テーブル", "空データかどうか", "日付", "難易度", "残り数"};
}

std::string BankOrderList(int n)
{
    std::string list;
    for (int i = 1; i <= n; ++i)
        list += (i > 1 ? "<%>" : "") + std::to_string(i);
    return list;
}

std::vector<std::string> EmptySlotCells(int n)
{
    std::string stages;
    for (int s = 1; s <= n / 20; ++s)
        stages += std::string(s > 1 ? "<$>" : "") + "0<%>0";
    return {"NORMAL", BankOrderList(n), "0", stages, "0", "新規データ", "5", "3"};
}

std::string SlotCellText(const TForm1& form, int slot, int cell)
{
    return SjisToUtf8(TableCell(form.Drill.SaveLoadTable, slot, cell));
}
