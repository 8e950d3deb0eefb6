#include "window/Unit1.h"

#include "window/FormTexts.h"
#include "window/MessageBox.h"
#include "window/SjisText.h"
#include "window/Widgets.h"
#include "data/ChoiceLabels.h"
#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "drill/StudyOpening.h"
#include "text/SystemReason.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

const QString TForm1::kWindowTitle = QStringLiteral("MIRETO for DATAQUALIFY - 資格向け学習ソフト");

namespace StatusTexts {
const QString kStart = QStringLiteral(" ： オプションを設定し、お好みのモードに合わせ"
                                      "て[スタート]をクリックしてください");
const QString kError = QStringLiteral(" ： エラーです。終了してください");
} // namespace StatusTexts

TForm1::TForm1(QWidget* parent)
    : QWidget(parent)
{
    StartUp();
}

TForm1::~TForm1() = default;

void TForm1::StartUp()
{
    CreateControls();

    setWindowTitle(kWindowTitle);
    move(15, 15);

    for (const PlayModeRow& mode : kPlayModes)
        ModeNames << SjisToQString(std::string(mode.name));
    // The captions of each label set, as the bank's label-set column numbers them.
    QStringList* lists[] = {&NumberLabels, &AlphaLabels, &IrohaLabels, &AiueoLabels};
    static_assert(std::size(lists) == ChoiceLabels::kSetCount);
    for (int set = 0; set < ChoiceLabels::kSetCount; ++set) {
        QStringList& labels = *lists[set];
        for (int box = 0; box < ChoiceLabels::kBoxCount; ++box)
            labels << SjisToQString(ChoiceLabels::Caption(set, box));
        LabelLists[static_cast<std::size_t>(set)] = &labels;
    }

    // The bank, the databases, the journal and the area, as data; the
    // learner hears of what went wrong once the first screen stands.
    const StudyOpening opening = OpenStudy(Drill);
    if (Drill.ToiFileFound)
        InitDataAndScreens();
    else
        ShowErrorScreen(QStringLiteral("エラー：必要なファイルが見つかりません"));
    ShowStartupWarnings(opening);
}

void TForm1::InitDataAndScreens()
{
    FillBunyaChoices();
    PrepareScreens();
    ShowStartScreen();
}

void TForm1::ShowStartupWarnings(const StudyOpening& opening)
{
    QStringList warnings;
    if (opening.bankUnreadable) {
        // A bank that exists but cannot be read is as good as missing; the
        // databases are then left alone at close.
        warnings << QStringLiteral("%1 を読み込めませんでした（%2）。")
                        .arg(QString::fromUtf8(DataTexts::kToiFileName),
                             QString::fromStdString(FileReason(*opening.bankUnreadable)));
    }
    for (const DamagedFile& file : opening.damaged) {
        if (file.copyName.empty())
            continue; // named below as a file left untouched
        // The counts keep every row but the spoiled ones; the others what
        // came before the NUL.
        const QString text = file.rowsAfterKept
            ? QStringLiteral("%1 の一部が壊れています（NUL バイトがあります）。\n"
                             "壊れた行のほかはすべて使います。元の内容は %2 に残しました。")
            : QStringLiteral("%1 は途中から壊れています（NUL バイトがあります）。\n"
                             "読めた所までを使います。元の内容は %2 に残しました。");
        warnings << text.arg(QString::fromStdString(file.fileName), QString::fromStdString(file.copyName));
    }
    warnings << KirokuWarnings(opening);
    for (const UnreadableFile& file : opening.unreadable) {
        warnings << QStringLiteral("%1 を読み込めませんでした（%2）。\n"
                                   "このファイルは終了時にも書き換えません。")
                        .arg(QString::fromStdString(file.fileName), QString::fromStdString(FileReason(file.reason)));
    }
    if (!warnings.isEmpty())
        MessageBox::error(this, kWindowTitle, warnings.join(QStringLiteral("\n\n")));
}

void TForm1::HideAllScreens()
{
    for (TPanel* panel : {pnlStart, pnlError, pnlMain, pnlStageEnd, pnlFinalStageEnd, pnlSaveLoad, pnlKiroku, pnlMogi, pnlMogiKekka})
        if (panel)
            panel->setVisible(false);
}

void TForm1::ShowStartScreen()
{
    cbNanwido->setCurrentIndex(Drill.Nanwido);
    SelectBunyaItem();
    SetStatusText(StatusTexts::kStart);
    HideAllScreens();
    pnlStart->setVisible(true);
    btnStartNormal->setFocus();
}

void TForm1::ShowErrorScreen(const QString& message)
{
    pnlError->setCaption(message);
    pnlError->setGeometry(0, 0, width(), pnlProgress->isHidden() ? StatusBar1->y() : pnlProgress->y());
    SetStatusText(StatusTexts::kError);
    HideAllScreens();
    pnlError->setVisible(true);
}

void TForm1::cbNanwidoChange(int index)
{
    // No selected item (-1) leaves the difficulty as it is.
    if (const auto nanwido = NanwidoValue::Of(index))
        Drill.Nanwido = *nanwido;
}

void TForm1::edtInputMouseDown()
{
    edtInput->selectAll();
}

void TForm1::SetStatusText(const QString& text)
{
    StatusBar1->showMessage(text);
}

QString TForm1::StatusText() const
{
    return StatusBar1->currentMessage();
}

QString TForm1::NanwidoText() const
{
    return cbNanwido->itemText(Drill.Nanwido);
}

void TForm1::SetDefaultButton(QPushButton* button)
{
    for (QPushButton* b : {btnEnter, btnNext})
        b->setDefault(b == button);
    defaultButton_ = button;
}

QPushButton* TForm1::DefaultButton() const
{
    return defaultButton_;
}

void TForm1::ShowProgressStrip(bool visible)
{
    pnlProgress->setVisible(visible);
    const int panelHeight = visible ? pnlProgress->y() : StatusBar1->y();
    for (TPanel* panel : {pnlStart, pnlError, pnlMain, pnlStageEnd, pnlFinalStageEnd, pnlSaveLoad, pnlKiroku, pnlMogi, pnlMogiKekka})
        if (panel)
            panel->resize(width(), panelHeight);
    if (pnlMainLine1)
        pnlMainLine1->setGeometry(pnlMain->width() - pnlMainLine1->width(), 0, pnlMainLine1->width(), panelHeight);
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The question screen has a default button that Enter presses from
        // anywhere on it; elsewhere Enter presses the focused button.
        QPushButton* target = nullptr;
        if (pnlMain && !pnlMain->isHidden() && defaultButton_ && defaultButton_->isEnabled())
            target = defaultButton_;
        else if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
                 focused && focused->isVisibleTo(this) && focused->isEnabled())
            target = focused;
        if (target) {
            target->click();
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtInput && edtInput->isEnabled()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // Any press selects the whole text, so the first key replaces the
            // prompt; the edit box never sees the press, nor a drag after it.
            edtInput->setFocus(Qt::MouseFocusReason);
            edtInputMouseDown();
            return true;
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // After an end without asking (a signal, the desktop session's end)
    // everything is written: the window just closes.
    if (Drill.Writing.ended) {
        event->accept();
        return;
    }
    const auto answer = MessageBox::question(this, kWindowTitle, QStringLiteral("終了しますか？"));
    if (Drill.Writing.ended) {
        // The program was ended while the question was open.
        event->accept();
        return;
    }
    if (answer != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    StopCountdown();
    WriteDatabases();
    event->accept();
}
