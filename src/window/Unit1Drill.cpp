// The question screen of TForm1: starting a run, presenting a question,
// judging it under the countdown, and what [次へ] leads to.
#include "window/Unit1.h"

#include "window/MessageBox.h"
#include "window/SjisText.h"
#include "window/Widgets.h"
#include "data/DataTexts.h"
#include "data/ToiBank.h"
#include "drill/Judge.h"
#include "picture/LoadJpegBitmap.h"
#include "drill/StageEnd.h"
#include "drill/ToiSelection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString kStatusAnswer = QStringLiteral(" ： 回答を入力し、[決定]をクリックしてください");
const QString kStatusLoading = QStringLiteral(" ： now loading ... ");
const QString kStatusJudged = QStringLiteral(" ： [次へ]をクリックしてください");
const QString kStatusStageEnd = QStringLiteral(" ： １つのステージが終了しました");
const QString kStatusFinal = QStringLiteral(" ： すべてのステージが終了しました。成績を"
                                            "確認してください");
const QString kPrompt = QStringLiteral("ここに入力。。。");

// Bank texts use "<$>" for a line break; the memo shows each as a new line.
QString ShownText(const std::string& sjis)
{
    QString text = SjisToQString(ReplaceAll(sjis, DataTexts::kLineMarker, "\r\n"));
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString Number(long long value)
{
    return QString::number(value);
}

// A bank without questions: there is nothing to drill.
void ShowNoQuestions(QWidget* parent)
{
    MessageBox::error(parent, TForm1::kWindowTitle,
                      QStringLiteral("問題集（%1）に問題がありません。\n問題を追加してから始めてください。")
                          .arg(QString::fromLatin1(DataTexts::kToiFileName)));
}

} // namespace

// --- Run start -------------------------------------------------------------

void TForm1::StartRun(std::int32_t playMode, bool resetNokori)
{
    Drill.ToiIndex = 0;
    Drill.StageNo = 1;
    Drill.StageToiCount = 0;
    Drill.StageSeikaiCount = 0;
    Drill.PlayMode = playMode;
    if (resetNokori)
        Drill.Nokori = 3;
    BuildToiList(Drill);
    if (Drill.ToiList.empty()) {
        // The learner stays on the start screen and no countdown runs.
        ShowNoQuestions(this);
        ShowStartScreen();
        return;
    }
    PresentToi();
}

void TForm1::btnStartNormalClick()
{
    StartRun(kModeNormal, true);
}

void TForm1::btnStartRandClick()
{
    StartRun(kModeRand, true);
}

void TForm1::btnStartJakutenClick()
{
    StartRun(kModeJakuten, false);
}

void TForm1::btnHNormalStartClick()
{
    StartRun(kModeHNormal, true);
}

void TForm1::btnHRandStartClick()
{
    StartRun(kModeHRand, true);
}

// --- Presentation ----------------------------------------------------------

void TForm1::ShowPicture(QScrollArea* box, QLabel* image, const QImage& bitmap)
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize size = PictureShowSize(bitmap.size(), box->width(), scrollBar);
    // Scaled once here, not at every paint.
    image->setPixmap(QPixmap::fromImage(
        bitmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    image->setGeometry(0, 0, size.width(), size.height());
    box->verticalScrollBar()->setValue(0);
    box->setVisible(true);
}

bool TForm1::PresentToi()
{
    const std::int32_t row = Drill.CurrentRow();
    if (row < 1 || row > ToiCount(Drill.ToiTable)) {
        StopCountdown();
        ShowProgressStrip(false);
        MessageBox::error(this, kWindowTitle,
                          QStringLiteral("出題する問題が見つかりません（問題番号 %1）。\nスタート画面に戻ります。")
                              .arg(row));
        ShowStartScreen();
        return false;
    }
    const TextRow& cells = Drill.ToiTable.at(row);
    const std::string& key = TableCell(Drill.ToiTable, row, ToiColumn::Key);
    QString text = ShownText(TableCell(Drill.ToiTable, row, ToiColumn::Text));
    QStringList notes;
    if (cells.size() < static_cast<std::size_t>(ToiColumn::Count))
        notes << QStringLiteral("（この問題のデータは項目が足りません。足りない項目は空として扱います）");

    SetDefaultButton(nullptr);
    btnNext->setEnabled(false);
    lblStageNumber->setText(QStringLiteral("ステージ") + Number(Drill.StageNo));
    lblMainMode->setText(ModeNames.value(Drill.PlayMode));
    lblMainNanwido->setText(QStringLiteral("難易度：") + NanwidoText());
    if (Drill.PlayMode == kModeJakuten || Drill.IsExamMode()) {
        lblMainNokori->setVisible(false);
    } else {
        lblMainNokori->setText(QStringLiteral("残り：") + Number(Drill.Nokori));
        lblMainNokori->setVisible(true);
    }
    lblToiKey->setText(SjisToQString(key));
    edtInput->setText(kPrompt);
    edtInput->setEnabled(true);

    const std::int32_t n = TextToInt(TableCell(Drill.ToiTable, row, ToiColumn::ChoiceCount));
    std::int32_t s = TextToInt(TableCell(Drill.ToiTable, row, ToiColumn::LabelSet));
    if (s < 0 || s > 2) {
        notes << QStringLiteral("（選択肢の表示形式 %1 は使えないため、番号で表示しています）").arg(s);
        s = 0;
    }
    if (n <= 1) {
        for (QCheckBox* box : AnswerBoxes)
            box->setVisible(false);
        edtInput->setVisible(true);
    } else {
        const QStringList& labels = *LabelLists[static_cast<std::size_t>(s)];
        for (int i = 0; i < AnswerBoxes.size(); ++i) {
            QCheckBox* box = AnswerBoxes[i];
            box->setChecked(false);
            box->setEnabled(true);
            box->setText(labels.value(i));
            box->setVisible(i < n);
        }
        edtInput->setVisible(false);
    }
    lblTrueOrFalse->clear();

    StartCountdown();
    ShowTime();
    ShowProgressStrip(true);

    const std::int32_t p = TextToInt(TableCell(Drill.ToiTable, row, ToiColumn::ToiPicture));
    bool pictureShown = false;
    if (p != 0) {
        memToiBun->setVisible(false);
        QString reason;
        const std::string fileName = PictureFileName('m', key);
        if (LoadJpegBitmap(fileName, ToiBitmap, &reason)) {
            ShowPicture(sboxToi, imgToi, ToiBitmap);
            pictureShown = true;
        } else {
            // The question can still be answered from its text.
            notes << QStringLiteral("（問題の画像を表示できません：%1）").arg(reason);
        }
    }
    if (!pictureShown) {
        sboxToi->setVisible(false);
        if (!notes.isEmpty())
            text += QStringLiteral("\n\n") + notes.join(QStringLiteral("\n"));
        memToiBun->setPlainText(text);
        memToiBun->verticalScrollBar()->setValue(0);
        memToiBun->setVisible(true);
    }
    sboxKaisetu->setVisible(false);
    memKaisetuBun->setVisible(false);
    SetStatusText(kStatusAnswer);
    btnEnter->setEnabled(true);
    SetDefaultButton(btnEnter);
    HideAllScreens();
    pnlMain->setVisible(true);
    if (!edtInput->isHidden() && edtInput->isEnabled()) {
        // Selected, so the first key typed replaces the prompt.
        edtInput->setFocus();
        edtInput->selectAll();
    }
    else if (!AnswerBoxes.isEmpty())
        AnswerBoxes.first()->setFocus();
    return true;
}

// --- Countdown -------------------------------------------------------------

void TForm1::StartCountdown()
{
    Drill.TimeCount = 0;
    ProgressBar1->setRange(0, Drill.TimeLimit());
    Timer1->start();
}

void TForm1::StopCountdown()
{
    Timer1->stop();
}

void TForm1::Timer1Timer()
{
    ++Drill.TimeCount;
    ShowTime();
}

void TForm1::ShowTime()
{
    const std::int32_t left = Drill.TimeLimit() - Drill.TimeCount;
    lblTime->setText(QStringLiteral("残り：") + Number(left));
    ProgressBar1->setValue(qBound(0, Drill.TimeCount, ProgressBar1->maximum()));
    if (left <= 0)
        btnEnterClick();
}

// --- Judging ---------------------------------------------------------------

void TForm1::btnEnterClick()
{
    // Each question is judged once: only from the answering state.
    if (pnlMain->isHidden() || !btnEnter->isEnabled())
        return;
    SetStatusText(kStatusLoading);
    btnEnter->setEnabled(false);
    SetDefaultButton(nullptr);
    StopCountdown();

    const std::int32_t row = Drill.CurrentRow();
    const std::string& key = TableCell(Drill.ToiTable, row, ToiColumn::Key);
    const std::string& seikai = TableCell(Drill.ToiTable, row, ToiColumn::Seikai);
    const auto found = Drill.ToiTable.find(row);
    const TextRow noRow;
    if (IsChoiceToi(found != Drill.ToiTable.end() ? found->second : noRow)) {
        std::array<bool, 8> ticked {};
        for (int i = 0; i < AnswerBoxes.size() && i < 8; ++i)
            ticked[static_cast<std::size_t>(i)] = AnswerBoxes[i]->isChecked();
        edtInput->setText(QString::fromStdString(AnswerTextFromBoxes(ticked)));
    }
    std::string answer;
    // A character with no Shift_JIS form can never match a stored answer.
    const bool convertible = QStringToSjis(edtInput->text(), answer);
    if (convertible && IsSeikai(answer, seikai)) {
        lblTrueOrFalse->setText(QStringLiteral("正解！"));
        ++Drill.StageSeikaiCount;
        CountSeikai(Drill.ToiSeikaiTable, key);
    } else {
        lblTrueOrFalse->setText(QStringLiteral("不正解！"));
    }

    const QString memoText = QStringLiteral("正解は...") + SjisToQString(seikai) + QStringLiteral("\n")
                             + ShownText(TableCell(Drill.ToiTable, row, ToiColumn::KaisetuText));
    bool pictureShown = false;
    QString reason;
    if (TextToInt(TableCell(Drill.ToiTable, row, ToiColumn::KaisetuPicture)) != 0) {
        if (LoadJpegBitmap(PictureFileName('k', key), KaisetuBitmap, &reason)) {
            ShowPicture(sboxKaisetu, imgKaisetu, KaisetuBitmap);
            pictureShown = true;
        }
    }
    if (!pictureShown) {
        sboxKaisetu->setVisible(false);
        // Without its picture the learner still gets the answer in words.
        memKaisetuBun->setPlainText(reason.isEmpty()
                                        ? memoText
                                        : memoText + QStringLiteral("\n\n（解説の画像を表示できません：%1）").arg(reason));
        memKaisetuBun->verticalScrollBar()->setValue(0);
        memKaisetuBun->setVisible(true);
    }

    edtInput->setEnabled(false);
    for (QCheckBox* box : AnswerBoxes)
        box->setEnabled(false);
    btnNext->setEnabled(true);
    SetDefaultButton(btnNext);
    btnNext->setFocus();
    SetStatusText(kStatusJudged);
}

// --- After judging ---------------------------------------------------------

void TForm1::btnNextClick()
{
    if (pnlMain->isHidden() || !btnNext->isEnabled())
        return;
    SetStatusText(kStatusLoading);
    const NextOutcome outcome = AdvanceAfterNext(Drill);
    switch (outcome.action) {
    case NextAction::PresentNext:
        PresentToi();
        break;
    case NextAction::StageEnd:
        ShowStageEnd();
        if (outcome.autoSave)
            StoreSessionInSlot(0);
        SaveProgressNow();
        break;
    case NextAction::FinalResults:
        ShowFinalResults();
        SaveProgressNow();
        break;
    }
}

void TForm1::ShowStageEnd()
{
    lblSETitle->setText(QStringLiteral("ステージ") + Number(Drill.StageNo) + QStringLiteral("終了"));
    lblKekka->setText(Drill.StageKekka == kKekkaClear   ? QStringLiteral("クリア")
                      : Drill.StageKekka == kKekkaRetry ? QStringLiteral("残念")
                                                        : QStringLiteral("ゲームオーバー"));
    const bool jakuten = Drill.PlayMode == kModeJakuten;
    lblKekka->setVisible(!jakuten);
    lblSENokori->setVisible(!jakuten);
    lblSENanwido->setVisible(!jakuten);
    if (!jakuten) {
        lblSENokori->setText(QStringLiteral("残り：") + Number(Drill.Nokori));
        lblSENanwido->setText(QStringLiteral("難易度：") + NanwidoText());
    }
    lblSEMode->setText(ModeNames.value(Drill.PlayMode));
    btnSESave->setVisible((Drill.PlayMode == kModeNormal || Drill.PlayMode == kModeRand)
                          && (Drill.StageKekka == kKekkaClear || Drill.StageKekka == kKekkaRetry));
    btnNextStage->setText(Drill.StageKekka == kKekkaClear ? QStringLiteral("次のステージへ(&N)")
                                                          : QStringLiteral("同じステージをもう一度(&N)"));
    btnNextStage->setVisible(Drill.StageKekka != kKekkaGameOver);
    lblMonchuMonseikai->setText(Number(Drill.StageToiCount) + QStringLiteral("問中") + Number(Drill.StageSeikaiCount)
                                + QStringLiteral("問正解"));
    ShowProgressStrip(false);
    SetStatusText(kStatusStageEnd);
    HideAllScreens();
    pnlStageEnd->setVisible(true);
    (!btnNextStage->isHidden() ? btnNextStage : btnSEStartBack)->setFocus();
}

void TForm1::ShowFinalResults()
{
    lblFseMode->setText(ModeNames.value(Drill.PlayMode));
    lblFseNanwido->setText(QStringLiteral("難易度：") + NanwidoText());
    lblFseNanwido->setVisible(true);
    lvSeiseki->clear();
    for (const SeisekiRow& result : FinalResultRows(Drill)) {
        auto* item = new QTreeWidgetItem(lvSeiseki);
        item->setText(0, Number(result.stage));
        // A stage with no answered question has no percentage.
        item->setText(1, result.percent ? Number(*result.percent) : QStringLiteral("－"));
    }
    ShowProgressStrip(false);
    SetStatusText(kStatusFinal);
    HideAllScreens();
    pnlFinalStageEnd->setVisible(true);
    btnFseStartBack->setFocus();
}

void TForm1::btnNextStageClick()
{
    PrepareNextStage(Drill);
    if (Drill.ToiList.empty()) {
        ShowNoQuestions(this);
        RemoveStageRows(Drill.StageTable);
        ShowStartScreen();
        return;
    }
    PresentToi();
}

void TForm1::btnSEStartBackClick()
{
    RemoveStageRows(Drill.StageTable);
    ShowStartScreen();
}

void TForm1::btnFseStartBackClick()
{
    RaiseDifficulty(Drill);
    RemoveStageRows(Drill.StageTable);
    ShowStartScreen();
}
