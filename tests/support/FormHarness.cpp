#include "FormHarness.h"

#include "Widgets.h"
#include "data/DataTexts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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
    for (const BankQuestion& q : questions)
        rows.push_back({q.key, q.text, q.kaisetu, q.seikai, std::to_string(q.choices), std::to_string(q.labels),
                        std::to_string(q.toiPicture), std::to_string(q.kaisetuPicture)});
    folder.Write(DataTexts::kToiFileName, TableFileText(rows));
}

std::unique_ptr<TForm1> OpenForm()
{
    auto form = std::make_unique<TForm1>();
    form->show();
    // Focus and access keys need the window to be the active one.
    form->activateWindow();
    QTest::qWaitForWindowActive(form.get(), 2000);
    return form;
}

int VisibleScreenCount(TForm1& form)
{
    int count = 0;
    for (QWidget* panel : {static_cast<QWidget*>(form.pnlStart), static_cast<QWidget*>(form.pnlError),
                           static_cast<QWidget*>(form.pnlMain), static_cast<QWidget*>(form.pnlStageEnd),
                           static_cast<QWidget*>(form.pnlFinalStageEnd), static_cast<QWidget*>(form.pnlSaveLoad)})
        count += panel->isHidden() ? 0 : 1;
    return count;
}

QWidget* VisibleScreen(TForm1& form)
{
    if (VisibleScreenCount(form) != 1)
        return nullptr;
    for (QWidget* panel : {static_cast<QWidget*>(form.pnlStart), static_cast<QWidget*>(form.pnlError),
                           static_cast<QWidget*>(form.pnlMain), static_cast<QWidget*>(form.pnlStageEnd),
                           static_cast<QWidget*>(form.pnlFinalStageEnd), static_cast<QWidget*>(form.pnlSaveLoad)})
        if (!panel->isHidden())
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
    QTest::keyClick(&form, key, Qt::AltModifier);
    return QTest::qWaitFor(done, 1000);
}
