// The question screen of TForm1: starting a run, presenting a question,
// judging it under the countdown, and what [次へ] leads to.
#include "window/Unit1.h"

#include "window/FormTexts.h"
#include "window/MessageBox.h"
#include "window/SjisText.h"
#include "window/Widgets.h"
#include "data/DataTexts.h"
#include "data/ToiBoxes.h"
#include "drill/AnswerStep.h"
#include "drill/Judge.h"
#include "drill/Presentation.h"
#include "picture/LoadJpegBitmap.h"
#include "drill/ShownText.h"
#include "drill/RunStart.h"
#include "drill/StageEnd.h"
#include "saveload/NextStep.h"
#include "text/Clock.h"

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

// A question or explanation text in the memo: bounded, with its lines ended
// by LF (see BoundShownText), and a cut one says so.
QString ShownText(const std::string& sjis)
{
    const BoundedText shown = BoundShownText(sjis);
    QString text = SjisToQString(shown.text);
    if (shown.cut)
        text += QStringLiteral("\n（長すぎるため、ここから先は表示していません）");
    return text;
}

// A one-line text from a file, cut with "…" when too long for a label.
QString ShownLine(const std::string& sjis, std::size_t maxBytes = kMaxShownLineBytes)
{
    const BoundedText shown = BoundShownLine(sjis, maxBytes);
    return SjisToQString(shown.text) + (shown.cut ? QStringLiteral("…") : QString());
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

void ShowNoSuchToi(QWidget* parent, std::int32_t row)
{
    MessageBox::error(parent, TForm1::kWindowTitle,
                      QStringLiteral("出題する問題が見つかりません（問題番号 %1）。\nスタート画面に戻ります。").arg(row));
}

} // namespace

// --- Run start -------------------------------------------------------------

void TForm1::StartRunOnScreen(PlayModeValue playMode)
{
    ChooseBunyaForRun();
    if (!StartRun(Drill, playMode)) {
        // The learner stays on the start screen and no countdown runs.
        if (!Drill.Bunya.empty())
            TellNoBunyaQuestions();
        else
            ShowNoQuestions(this);
        ShowStartScreen();
        return;
    }
    PresentToi();
}

void TForm1::btnStartNormalClick()
{
    StartRunOnScreen(kModeNormal);
}

void TForm1::btnStartRandClick()
{
    StartRunOnScreen(kModeRand);
}

void TForm1::btnStartJakutenClick()
{
    StartRunOnScreen(kModeJakuten);
}

void TForm1::btnHNormalStartClick()
{
    StartRunOnScreen(kModeHNormal);
}

void TForm1::btnHRandStartClick()
{
    StartRunOnScreen(kModeHRand);
}

// --- Presentation ----------------------------------------------------------

bool TForm1::ShowPicture(QScrollArea* box, QLabel* image, const QImage& bitmap, const std::string& fileName,
                         QString* reason)
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const std::optional<ToiBoxes::ShownSize> size =
        ToiBoxes::PictureShownSize(bitmap.width(), bitmap.height(), box->width(), scrollBar);
    // Scaled once here, not at every paint.
    const QImage scaled = size ? bitmap.scaled(size->width, size->height, Qt::IgnoreAspectRatio,
                                               Qt::SmoothTransformation)
                               : QImage();
    if (scaled.isNull()) {
        image->clear();
        if (reason)
            *reason = PictureNotShowableText(fileName);
        return false;
    }
    image->setPixmap(QPixmap::fromImage(scaled));
    image->setGeometry(0, 0, size->width, size->height);
    box->verticalScrollBar()->setValue(0);
    box->setVisible(true);
    return true;
}

void TForm1::ShowMemo(QPlainTextEdit* memo, const QString& text)
{
    memo->setPlainText(text);
    memo->verticalScrollBar()->setValue(0);
    memo->setVisible(true);
}

bool TForm1::PresentToi()
{
    CreateHiddenScreens();
    const ToiView view = ViewOfToi(Drill);
    if (!view.found) {
        // No countdown runs and the learner is back on the start screen.
        StopCountdown();
        ShowProgressStrip(false);
        ShowNoSuchToi(this, view.row);
        ShowStartScreen();
        return false;
    }
    SetDefaultButton(nullptr);
    btnNext->setEnabled(false);
    ShowToiSideColumn(view);
    ShowAnswerControls(view);
    ShowTrueOrFalse(std::nullopt);

    StartCountdown();
    ShowTime();
    ShowProgressStrip(true);

    ShowToiTextOrPicture(view);
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

void TForm1::ShowToiSideColumn(const ToiView& view)
{
    lblStageNumber->setText(QStringLiteral("ステージ") + Number(Drill.StageNo));
    lblMainMode->setText(ModeNames.value(Drill.PlayMode));
    lblMainNanwido->setText(FormTexts::kNanwido + NanwidoText());
    lblMainNokori->setText(FormTexts::kNokori + Number(Drill.Nokori));
    lblMainNokori->setVisible(view.nokoriShown);
    lblToiKey->setText(ShownLine(view.key));
}

void TForm1::ShowAnswerControls(const ToiView& view)
{
    edtInput->setText(FormTexts::kPrompt);
    edtInput->setEnabled(true);
    edtInput->setVisible(!view.choice);
    const QStringList& labels = *LabelLists[static_cast<std::size_t>(view.labelSet)];
    for (int i = 0; i < AnswerBoxes.size(); ++i) {
        QCheckBox* box = AnswerBoxes[i];
        if (view.choice) {
            box->setChecked(false);
            box->setEnabled(true);
            box->setText(labels.value(i));
        }
        cb[static_cast<std::size_t>(i)]->setMark(BoxMark::None);
        box->setVisible(i < view.boxCount);
    }
}

void TForm1::ShowToiTextOrPicture(const ToiView& view)
{
    ShowToiTextOrPicture(view, memToiBun, sboxToi, imgToi);
}

void TForm1::ShowToiTextOrPicture(const ToiView& view, QPlainTextEdit* memo, QScrollArea* box, QLabel* image)
{
    QStringList notes;
    if (view.shortRow)
        notes << QStringLiteral("（この問題のデータは項目が足りません。足りない項目は空として扱います）");
    if (view.badLabelSet)
        notes << QStringLiteral("（選択肢の表示形式 %1 は使えないため、番号で表示しています）").arg(*view.badLabelSet);
    if (!view.pictureFile.empty()) {
        // The picture takes the place of the text.
        memo->setVisible(false);
        QString reason;
        if (LoadJpegBitmap(view.pictureFile, ToiBitmap, &reason)
            && ShowPicture(box, image, ToiBitmap, view.pictureFile, &reason))
            return;
        // The question can still be answered from its text.
        notes << QStringLiteral("（問題の画像を表示できません：%1）").arg(reason);
    }
    box->setVisible(false);
    QString text = ShownText(view.text);
    if (!notes.isEmpty())
        text += QStringLiteral("\n\n") + notes.join(QStringLiteral("\n"));
    ShowMemo(memo, text);
}

// --- Countdown -------------------------------------------------------------

void TForm1::StartCountdown()
{
    Drill.TimeCount = 0;
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, Drill.TimeLimit());
    Timer1->start();
}

void TForm1::StopCountdown()
{
    Timer1->stop();
}

void TForm1::Timer1Timer()
{
    const bool timeUp = TickCountdown(Drill).timeUp;
    ShowTime();
    // Whatever stands on the screen now is judged, as [決定] would.
    if (timeUp)
        btnEnterClick();
}

void TForm1::ShowTime()
{
    const CountdownView countdown = ViewOfCountdown(Drill);
    lblTime->setText(FormTexts::kNokori + Number(countdown.left));
    ProgressBar1->setValue(countdown.barValue);
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
    // Counted and in the journal before the learner sees the verdict.
    const AnsweredToi answered = AnswerToi(Drill, GivenAnswerOnScreen(), Clock::Now());
    if (answered.recordFailure)
        ShowRecordFailure(*answered.recordFailure);
    ShowJudgement(answered.judged);
}

GivenAnswer TForm1::GivenAnswerOnScreen() const
{
    GivenAnswer given;
    for (int i = 0; i < AnswerBoxes.size() && i < 8; ++i)
        given.ticked[static_cast<std::size_t>(i)] = AnswerBoxes[i]->isChecked();
    std::string typed;
    if (QStringToSjis(edtInput->text(), typed))
        given.typed = std::move(typed);
    given.promptUntouched = edtInput->text() == FormTexts::kPrompt;
    return given;
}

void TForm1::ShowJudgement(const Judgement& judged)
{
    // A choice question's answer text stands in the hidden edit box.
    if (judged.choice)
        edtInput->setText(SjisToQString(judged.answer));
    ShowTrueOrFalse(judged.seikai);
    ShowKaisetu(judged);
    edtInput->setEnabled(false);
    for (std::size_t i = 0; i < cb.size(); ++i) {
        cb[i]->setEnabled(false);
        if (judged.choice)
            cb[i]->setMark(judged.boxMarks[i]);
    }
    if (judged.timeUp) {
        // The full bar says why the question was judged.
        ProgressBar1->setFormat(QStringLiteral("時間切れ"));
        ProgressBar1->setTextVisible(true);
    }
    btnNext->setEnabled(true);
    SetDefaultButton(btnNext);
    btnNext->setFocus();
    SetStatusText(kStatusJudged);
}

void TForm1::ShowTrueOrFalse(std::optional<bool> seikai)
{
    // White on green or on red, besides the words themselves.
    QPalette palette = lblTrueOrFalse->palette();
    palette.setColor(QPalette::Window, !seikai ? FormStyle::kSilver
                                       : *seikai ? FormStyle::kSeikaiGreen
                                                 : FormStyle::kWrongRed);
    palette.setColor(QPalette::WindowText, seikai ? FormStyle::kWhite : QColor(Qt::black));
    lblTrueOrFalse->setPalette(palette);
    QFont font = lblTrueOrFalse->font();
    font.setBold(seikai.has_value());
    lblTrueOrFalse->setFont(font);
    lblTrueOrFalse->setText(!seikai ? QString() : *seikai ? QStringLiteral("正解！") : QStringLiteral("不正解！"));
}

void TForm1::ShowKaisetu(const Judgement& judged)
{
    QString reason;
    if (!judged.kaisetuPicture.empty()) {
        if (LoadJpegBitmap(judged.kaisetuPicture, KaisetuBitmap, &reason)
            && ShowPicture(sboxKaisetu, imgKaisetu, KaisetuBitmap, judged.kaisetuPicture, &reason))
            return;
    }
    sboxKaisetu->setVisible(false);
    QString text = QStringLiteral("正解は...") + ShownLine(judged.seikaiText, kMaxUnbrokenRunBytes) + QStringLiteral("\n")
                   + ShownText(judged.kaisetuText);
    // Without its picture the learner still gets the answer in words.
    if (!reason.isEmpty())
        text += QStringLiteral("\n\n（解説の画像を表示できません：%1）").arg(reason);
    ShowMemo(memKaisetuBun, text);
}

// --- After judging ---------------------------------------------------------

void TForm1::btnNextClick()
{
    if (pnlMain->isHidden() || !btnNext->isEnabled())
        return;
    SetStatusText(kStatusLoading);
    const NextStep step = StepAfterNext(Drill);
    switch (step.action) {
    case NextAction::PresentNext:
        PresentToi();
        return;
    case NextAction::StageEnd:
        ShowStageEnd(step.stageEnd);
        break;
    case NextAction::FinalResults:
        ShowFinalResults();
        break;
    }
    if (step.writeFailure)
        ShowWriteFailure(*step.writeFailure);
}

void TForm1::ShowStageEnd()
{
    ShowStageEnd(ViewOfStageEnd(Drill));
}

void TForm1::ShowStageEnd(const StageEndView& view)
{
    CreateHiddenScreens();
    lblSETitle->setText(QStringLiteral("ステージ") + Number(view.stageNo) + QStringLiteral("終了"));
    lblKekka->setText(view.kekka == kKekkaClear   ? QStringLiteral("クリア")
                      : view.kekka == kKekkaRetry ? QStringLiteral("残念")
                                                  : QStringLiteral("ゲームオーバー"));
    lblKekka->setVisible(view.kekkaShown);
    lblSENokori->setVisible(view.kekkaShown);
    lblSENanwido->setVisible(view.kekkaShown);
    if (view.kekkaShown) {
        lblSENokori->setText(FormTexts::kNokori + Number(view.nokori));
        lblSENanwido->setText(FormTexts::kNanwido + cbNanwido->itemText(view.nanwido));
    }
    lblSEMode->setText(ModeNames.value(view.mode));
    btnSESave->setVisible(view.saveOffered);
    btnNextStage->setText(view.sameStageAgain ? QStringLiteral("同じステージをもう一度(&N)")
                                              : QStringLiteral("次のステージへ(&N)"));
    btnNextStage->setVisible(view.nextStageShown);
    lblMonchuMonseikai->setText(Number(view.toiCount) + QStringLiteral("問中") + Number(view.seikaiCount)
                                + QStringLiteral("問正解"));
    ShowProgressStrip(false);
    SetStatusText(kStatusStageEnd);
    HideAllScreens();
    pnlStageEnd->setVisible(true);
    (!btnNextStage->isHidden() ? btnNextStage : btnSEStartBack)->setFocus();
}

void TForm1::ShowFinalResults()
{
    CreateHiddenScreens();
    lblFseMode->setText(ModeNames.value(Drill.PlayMode));
    lblFseNanwido->setText(FormTexts::kNanwido + NanwidoText());
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
