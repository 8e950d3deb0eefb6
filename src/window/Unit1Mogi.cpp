// The mock exam (模擬試験) in the window: the start screen's button, the
// paper drawn or resumed, the sitting screen (one clock for the paper, free
// moves, no verdict), the paper kept on disk at every change, and the
// hand-in in an order a crash cannot make count twice.
#include "window/Unit1.h"

#include "drill/AnswerStep.h"

#include "window/MessageBox.h"
#include "window/SjisText.h"
#include "window/Widgets.h"
#include "data/MogiHaibun.h"
#include "data/MogiToi.h"
#include "drill/Judge.h"
#include "drill/Presentation.h"
#include "text/Clock.h"
#include "text/SystemReason.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>

#include <random>

namespace {

const QString kStatusMogi = QStringLiteral(" ： 解答を選び、すべて解き終えたら[採点]をクリックしてください");
// The paper's clock is written at least this often (seconds).
constexpr std::int32_t kMogiKeepEvery = 5;
// The overview's colours: unanswered, answered, marked 見直し.
const QColor kCellOpen(255, 255, 255);
const QColor kCellAnswered(170, 200, 255);
const QColor kCellMarked(255, 220, 110);

QString ClockText(std::int32_t seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QPushButton* MakeMogiButton(QWidget* parent, const QString& name, QRect geometry, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

std::uint64_t NewMogiSeed()
{
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32 ^ static_cast<std::uint64_t>(device()))
           ^ static_cast<std::uint64_t>(Clock::Now());
}

} // namespace

void TForm1::CreateMogiStartButton()
{
    // Below gbOption's frame (which ends at 561), in the start screen's free
    // navy space: nothing specified moves.
    btnMogiStart = MakeMogiButton(pnlStart, QStringLiteral("btnMogiStart"), {416, 572, 161, 33},
                                  QStringLiteral("模擬試験(&M)"));
    setTabOrder(btnHRandStart, btnMogiStart);
    connect(btnMogiStart, &QPushButton::clicked, this, &TForm1::btnMogiStartClick);
}

void TForm1::CreateMogiScreens()
{
    pnlMogi = new TPanel(this, QStringLiteral("pnlMogi"), FormStyle::kNavy);
    pnlMogi->setGeometry(0, 0, width(), StatusBar1->y());
    pnlMogi->setVisible(false);
    auto* toiBox = new TPanel(pnlMogi, QStringLiteral("pnlMogiToi"), FormStyle::kSilver);
    toiBox->setGeometry(16, 16, 809, 281);
    memMogiToi = new QPlainTextEdit(toiBox);
    memMogiToi->setObjectName(QStringLiteral("memMogiToi"));
    memMogiToi->setReadOnly(true);
    memMogiToi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memMogiToi->setFrameShape(QFrame::NoFrame);
    memMogiToi->setFont(FormStyle::GothicFont(16));
    memMogiToi->setFocusPolicy(Qt::ClickFocus);
    memMogiToi->setPalette(memToiBun->palette());
    memMogiToi->setGeometry(0, 0, 809, 281);
    sboxMogiToi = new QScrollArea(toiBox);
    sboxMogiToi->setObjectName(QStringLiteral("sboxMogiToi"));
    sboxMogiToi->setFrameShape(QFrame::NoFrame);
    sboxMogiToi->setWidgetResizable(false);
    sboxMogiToi->setFocusPolicy(Qt::NoFocus);
    FormStyle::SetBackground(sboxMogiToi, FormStyle::kSilver);
    FormStyle::SetBackground(sboxMogiToi->viewport(), FormStyle::kSilver);
    imgMogiToi = new QLabel;
    imgMogiToi->setObjectName(QStringLiteral("imgMogiToi"));
    sboxMogiToi->setWidget(imgMogiToi);
    sboxMogiToi->setGeometry(0, 0, 809, 281);
    sboxMogiToi->setVisible(false);

    // The overview: one cell per question, in one row under the question.
    auto* overviewTitle = new QLabel(QStringLiteral("問題一覧（□未解答　■解答済み　？見直し）"), pnlMogi);
    overviewTitle->setObjectName(QStringLiteral("lblMogiOverview"));
    overviewTitle->setGeometry(16, 312, 809, 22);
    overviewTitle->setFont(FormStyle::GothicFont(16));
    FormStyle::SetBackground(overviewTitle, FormStyle::kNavy);
    overviewTitle->setStyleSheet(QStringLiteral("color: white"));
    for (int i = 0; i < static_cast<int>(btnMogiCell.size()); ++i) {
        QPushButton* cell = MakeMogiButton(pnlMogi, QStringLiteral("btnMogiCell%1").arg(i + 1),
                                           {16 + 32 * i, 340, 30, 44}, {});
        cell->setFont(FormStyle::GothicFont(12));
        cell->setFocusPolicy(Qt::NoFocus);
        btnMogiCell[static_cast<std::size_t>(i)] = cell;
        connect(cell, &QPushButton::clicked, this, [this, i] {
            if (mogi_ && i < static_cast<int>(mogi_->toi.size()))
                ShowMogiToi(i);
        });
    }

    // The right-hand column: the clock, the question number, the choices,
    // 見直し and the moves.
    auto* column = new TPanel(pnlMogi, QStringLiteral("pnlMogiLine1"), FormStyle::kNavy);
    column->setGeometry(width() - 154, 0, 154, StatusBar1->y());
    column->setFont(FormStyle::GothicFont(16));
    new RoundFrame(column, 8, 8, 137, 49, false);
    new RoundFrame(column, 8, 72, 137, 33, false);
    new RoundFrame(column, 8, 120, 137, 161, false);
    new RoundFrame(column, 8, 296, 137, 33, false);
    lblMogiTime = new QLabel(column);
    lblMogiTime->setObjectName(QStringLiteral("lblMogiTime"));
    lblMogiTime->setGeometry(16, 14, 121, 37);
    lblMogiTime->setAlignment(Qt::AlignCenter);
    lblMogiTime->setFont(FormStyle::GothicFont(24));
    FormStyle::SetBackground(lblMogiTime, FormStyle::kSilver);
    lblMogiNumber = new QLabel(column);
    lblMogiNumber->setObjectName(QStringLiteral("lblMogiNumber"));
    lblMogiNumber->setGeometry(16, 80, 121, 17);
    lblMogiNumber->setAlignment(Qt::AlignCenter);
    FormStyle::SetBackground(lblMogiNumber, FormStyle::kSilver);
    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(column);
        box->setObjectName(QStringLiteral("cbMogi%1").arg(i));
        box->setGeometry(24, 128 + 38 * i, 105, 30);
        FormStyle::SetBackground(box, FormStyle::kSilver);
        cbMogi[static_cast<std::size_t>(i)] = box;
        connect(box, &QCheckBox::clicked, this, [this, i] { MogiChoiceClick(i + 1); });
    }
    chkMogiMark = new QCheckBox(QStringLiteral("見直し(&R)"), column);
    chkMogiMark->setObjectName(QStringLiteral("chkMogiMark"));
    chkMogiMark->setGeometry(16, 300, 121, 25);
    FormStyle::SetBackground(chkMogiMark, FormStyle::kSilver);
    connect(chkMogiMark, &QCheckBox::clicked, this, &TForm1::MogiMarkClick);
    btnMogiPrev = MakeMogiButton(column, QStringLiteral("btnMogiPrev"), {16, 376, 121, 33}, QStringLiteral("前へ(&P)"));
    btnMogiNext = MakeMogiButton(column, QStringLiteral("btnMogiNext"), {16, 424, 121, 33}, QStringLiteral("次へ(&N)"));
    btnMogiSaiten = MakeMogiButton(column, QStringLiteral("btnMogiSaiten"), {16, 544, 121, 33}, QStringLiteral("採点(&E)"));
    connect(btnMogiPrev, &QPushButton::clicked, this, &TForm1::btnMogiPrevClick);
    connect(btnMogiNext, &QPushButton::clicked, this, &TForm1::btnMogiNextClick);
    connect(btnMogiSaiten, &QPushButton::clicked, this, &TForm1::btnMogiSaitenClick);

    MogiTimer = new QTimer(this);
    MogiTimer->setObjectName(QStringLiteral("MogiTimer"));
    MogiTimer->setInterval(1000);
    connect(MogiTimer, &QTimer::timeout, this, &TForm1::MogiTimerTick);
    CreateMogiKekkaScreen();
}

void TForm1::btnMogiStartClick()
{
    CreateHiddenScreens();
    const MogiPaperFound found = ReadMogiPaper();
    if (found.status == MogiPaperRead::Unreadable) {
        // Left as it is: it may hold a paper that a later start can read.
        MessageBox::error(this, kWindowTitle,
                          QStringLiteral("途中の模擬試験 %1 を読み込めませんでした（%2）。\n模擬試験を始められません。")
                              .arg(QString::fromLatin1(kMogiPaperFileName),
                                   QString::fromStdString(FileReason(found.reason))));
        return;
    }
    if (found.status == MogiPaperRead::Bad)
        MessageBox::error(this, kWindowTitle,
                          QStringLiteral("途中の模擬試験 %1 は壊れているため使えません（%2 行目）。\n新しい模擬試験を始めます。")
                              .arg(QString::fromLatin1(kMogiPaperFileName))
                              .arg(found.badLine));
    if (found.status == MogiPaperRead::Ok) {
        std::vector<std::int32_t> rows = MogiPaperRows(Drill.ToiTable, found.paper);
        if (rows.empty()) {
            MessageBox::error(this, kWindowTitle,
                              QStringLiteral("途中の模擬試験の問題が問題集に見つからないため、続けられません。\n"
                                             "新しい模擬試験を始めます。"));
        } else if (found.paper.handInBase) {
            // Cut short while handing in: finished now, never done twice.
            mogi_ = found.paper;
            mogiRows_ = std::move(rows);
            mogiHandedIn_ = false;
            FinishMogiHandIn();
            return;
        } else {
            const auto answered = static_cast<int>(found.paper.toi.size() - UnansweredMogi(found.paper).size());
            const auto answer = MessageBox::question(
                this, kWindowTitle,
                QStringLiteral("途中の模擬試験があります（残り時間 %1、%2 問中 %3 問解答済み）。\n"
                               "続きから解きますか？\n\n「いいえ」を選ぶと新しい模擬試験を始めます"
                               "（途中の試験は採点せずに破棄します）。")
                    .arg(ClockText(found.paper.left))
                    .arg(found.paper.toi.size())
                    .arg(answered));
            if (answer == QMessageBox::Yes) {
                BeginMogi(found.paper, std::move(rows));
                return;
            }
        }
    }
    const MogiHaibunRead haibun = ReadMogiHaibun();
    // A folder without the table (a bank of the learner's own) has the
    // shipped mix, which is the default: nothing to tell.
    if (haibun.warning && haibun.warning->problem != MogiHaibunProblem::Missing && !mogiHaibunTold_) {
        mogiHaibunTold_ = true;
        MessageBox::error(this, kWindowTitle, QString::fromStdString(MogiHaibunWarningText(*haibun.warning)));
    }
    const MogiSeisekiRead handedIn = ReadMogiSeiseki();
    MogiPaperState paper = NewMogiPaper(Drill.ToiTable, haibun.haibun, handedIn.rows, NewMogiSeed(), Clock::Now());
    std::vector<std::int32_t> rows = MogiPaperRows(Drill.ToiTable, paper);
    if (paper.toi.empty() || rows.empty()) {
        MessageBox::error(this, kWindowTitle,
                          QStringLiteral("問題集に試験形式（ア～エの四択）の問題がないため、模擬試験を始められません。"));
        return;
    }
    BeginMogi(std::move(paper), std::move(rows));
}

void TForm1::BeginMogi(MogiPaperState paper, std::vector<std::int32_t> rows)
{
    mogi_ = std::move(paper);
    mogiRows_ = std::move(rows);
    mogiHandedIn_ = false;
    mogi_->current = std::clamp<std::int32_t>(mogi_->current, 0, static_cast<std::int32_t>(mogi_->toi.size()) - 1);
    for (std::size_t i = 0; i < btnMogiCell.size(); ++i)
        btnMogiCell[i]->setVisible(i < mogi_->toi.size());
    const QStringList& labels = AiueoLabels;
    for (int i = 0; i < 4; ++i)
        cbMogi[static_cast<std::size_t>(i)]->setText(labels.value(i));
    KeepMogi();
    mogiTicksUnwritten_ = 0;
    ShowProgressStrip(false);
    SetStatusText(kStatusMogi);
    HideAllScreens();
    pnlMogi->setVisible(true);
    ShowMogiToi(mogi_->current);
    ShowMogiClock();
    MogiTimer->start();
}

void TForm1::ShowMogiToi(std::int32_t index)
{
    if (!mogi_ || index < 0 || index >= static_cast<std::int32_t>(mogi_->toi.size()))
        return;
    const bool moved = mogi_->current != index;
    mogi_->current = index;
    const MogiPaperToi& toi = mogi_->toi[static_cast<std::size_t>(index)];
    ShowToiTextOrPicture(ViewOfToiRow(Drill.ToiTable, mogiRows_[static_cast<std::size_t>(index)]), memMogiToi,
                         sboxMogiToi, imgMogiToi);
    lblMogiNumber->setText(QStringLiteral("第%1問 / %2").arg(index + 1).arg(mogi_->toi.size()));
    for (int i = 0; i < 4; ++i)
        cbMogi[static_cast<std::size_t>(i)]->setChecked(toi.answer == i + 1);
    chkMogiMark->setChecked(toi.mark);
    btnMogiPrev->setEnabled(index > 0);
    btnMogiNext->setEnabled(index + 1 < static_cast<std::int32_t>(mogi_->toi.size()));
    ShowMogiOverview();
    if (moved)
        KeepMogi();
}

void TForm1::ShowMogiOverview()
{
    for (std::size_t i = 0; i < mogi_->toi.size() && i < btnMogiCell.size(); ++i) {
        const MogiPaperToi& toi = mogi_->toi[i];
        QPushButton* cell = btnMogiCell[i];
        // Told apart by the mark as well as by the colour.
        const QString mark = toi.mark ? QStringLiteral("？") : toi.answer ? QStringLiteral("■") : QStringLiteral("□");
        cell->setText(QStringLiteral("%1\n%2").arg(i + 1).arg(mark));
        const QColor ground = toi.mark ? kCellMarked : toi.answer ? kCellAnswered : kCellOpen;
        const bool current = static_cast<std::int32_t>(i) == mogi_->current;
        cell->setStyleSheet(QStringLiteral("QPushButton { background: %1; color: black; border: %2px solid %3; }")
                                .arg(ground.name())
                                .arg(current ? 3 : 1)
                                .arg(current ? QStringLiteral("#ff4040") : QStringLiteral("#404040")));
    }
}

void TForm1::ShowMogiClock()
{
    lblMogiTime->setText(ClockText(mogi_ ? mogi_->left : 0));
}

void TForm1::MogiChoiceClick(int choice)
{
    if (!mogi_)
        return;
    TickMogiChoice(*mogi_, choice);
    // One answer: the boxes follow the paper.
    const std::int32_t answer = mogi_->toi[static_cast<std::size_t>(mogi_->current)].answer;
    for (int i = 0; i < 4; ++i)
        cbMogi[static_cast<std::size_t>(i)]->setChecked(answer == i + 1);
    ShowMogiOverview();
    KeepMogi();
}

void TForm1::MogiMarkClick(bool marked)
{
    if (!mogi_)
        return;
    mogi_->toi[static_cast<std::size_t>(mogi_->current)].mark = marked;
    ShowMogiOverview();
    KeepMogi();
}

void TForm1::btnMogiPrevClick()
{
    if (mogi_)
        ShowMogiToi(mogi_->current - 1);
}

void TForm1::btnMogiNextClick()
{
    if (mogi_)
        ShowMogiToi(mogi_->current + 1);
}

void TForm1::MogiTimerTick()
{
    if (!mogi_ || pnlMogi->isHidden())
        return;
    const bool timeUp = TickMogiClock(*mogi_);
    ShowMogiClock();
    if (timeUp) {
        // Handed in as it stands.
        HandInMogi();
        return;
    }
    if (++mogiTicksUnwritten_ >= kMogiKeepEvery)
        KeepMogi();
}

void TForm1::KeepMogi()
{
    if (!mogi_ || mogiHandedIn_ || Drill.Writing.ended)
        return;
    mogiTicksUnwritten_ = 0;
    FileError reason;
    if (WriteMogiPaper(*mogi_, &reason)) {
        mogiWriteFailureTold_ = false;
        return;
    }
    if (mogiWriteFailureTold_)
        return;
    mogiWriteFailureTold_ = true;
    MessageBox::error(this, kWindowTitle,
                      QStringLiteral("途中の模擬試験を %1 に書き込めませんでした（%2）。\n"
                                     "試験はこのまま続けられますが、終了すると途中の解答は残りません。")
                          .arg(QString::fromLatin1(kMogiPaperFileName), QString::fromStdString(FileReason(reason))));
}

void TForm1::btnMogiSaitenClick()
{
    if (!mogi_ || pnlMogi->isHidden())
        return;
    const std::vector<std::int32_t> open = UnansweredMogi(*mogi_);
    QString text = QStringLiteral("採点しますか？");
    if (!open.empty()) {
        QStringList numbers;
        for (std::int32_t n : open)
            numbers << QString::number(n);
        text = QStringLiteral("未解答の問題があります（第%1問）。\n未解答の問題は不正解になります。\n採点しますか？")
                   .arg(numbers.join(QStringLiteral("、")));
    }
    if (MessageBox::question(this, kWindowTitle, text, QMessageBox::No) != QMessageBox::Yes)
        return;
    // The time may have run out while the box was open.
    if (!mogi_ || pnlMogi->isHidden())
        return;
    HandInMogi();
}

void TForm1::HandInMogi()
{
    MogiTimer->stop();
    // Told first, on disk: the hand-in has begun at this journal number, so
    // a crash from here on finishes it (the rows already written are not
    // written again) rather than offering the paper once more.
    mogi_->handInBase = Drill.KirokuEntries().empty() ? 0 : Drill.KirokuEntries().back().seq;
    KeepMogi();
    FinishMogiHandIn();
}

void TForm1::FinishMogiHandIn()
{
    const std::time_t now = Clock::Now();
    mogiResult_ = MogiResultOf(Drill.ToiTable, mogiRows_, *mogi_);
    const std::vector<KirokuEntry> entries = MogiKirokuEntries(*mogi_, mogiResult_, Drill.Nanwido, now);
    // The rows a cut-short hand-in wrote were counted at start-up from the
    // journal; only the rest are recorded and counted now.
    for (std::size_t i = MogiRowsRecorded(Drill.KirokuEntries(), *mogi_->handInBase); i < entries.size(); ++i)
        RecordMogiAnswer(entries[i]);
    MogiSeisekiRead handedIn = ReadMogiSeiseki();
    FileError reason;
    if (handedIn.unreadable) {
        MessageBox::error(this, kWindowTitle,
                          QStringLiteral("模擬試験の成績 %1 を読み込めないため、今回の成績を書き込めませんでした（%2）。")
                              .arg(QString::fromLatin1(kMogiSeisekiFileName),
                                   QString::fromStdString(FileReason(handedIn.reason))));
    } else if (!MogiSeisekiHolds(handedIn.rows, *mogi_)
               && !AppendMogiSeiseki(handedIn.rows, MogiSeisekiOf(*mogi_, mogiResult_, now), &reason)) {
        MessageBox::error(this, kWindowTitle,
                          QStringLiteral("模擬試験の成績を %1 に書き込めませんでした（%2）。\n"
                                         "解答は学習の記録に書き込みました。")
                              .arg(QString::fromLatin1(kMogiSeisekiFileName),
                                   QString::fromStdString(FileReason(reason))));
    }
    mogiHandedIn_ = true;
    RemoveMogiPaper();
    ShowMogiKekka();
}

void TForm1::RecordMogiAnswer(const KirokuEntry& entry)
{
    if (const auto failure = RecordJudgedAnswer(Drill, entry))
        ShowRecordFailure(*failure);
}
