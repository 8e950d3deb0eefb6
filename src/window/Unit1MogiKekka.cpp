// The mock exam's result screen: the score of 100, 合格 or 不合格, the time
// used, a table per paper group, every question with the learner's answer,
// the key and ○/×; a question chosen is shown judged on the question screen
// as the drill shows it, with a way back; the missed questions as a drill.
#include "window/Unit1.h"

#include "window/MessageBox.h"
#include "window/SjisText.h"
#include "window/Widgets.h"
#include "data/MogiToi.h"
#include "data/ToiBank.h"
#include "drill/Presentation.h"
#include "drill/RunStart.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

const QString kStatusMogiKekka = QStringLiteral(" ： 模擬試験の結果です。問題を選ぶと解説を表示します");
const QString kStatusMogiReview = QStringLiteral(" ： [結果へ]で模擬試験の結果に戻ります");

QLabel* MakeKekkaLabel(QWidget* parent, const char* name, QRect geometry, int fontSize)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(FormStyle::GothicFont(fontSize));
    FormStyle::SetBackground(label, FormStyle::kSilver);
    return label;
}

QTreeWidget* MakeKekkaList(QWidget* parent, const char* name, QRect geometry, const QStringList& headers)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(geometry);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    list->setFont(FormStyle::GothicFont(16));
    list->setHeaderLabels(headers);
    list->header()->setSectionsMovable(false);
    list->setPalette(QApplication::palette(list));
    return list;
}

QString TimeUsedText(std::int32_t seconds)
{
    return QStringLiteral("%1分%2秒").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

void TForm1::CreateMogiKekkaScreen()
{
    pnlMogiKekka = new TPanel(this, QStringLiteral("pnlMogiKekka"), FormStyle::kNavy);
    pnlMogiKekka->setGeometry(0, 0, width(), StatusBar1->y());
    pnlMogiKekka->setVisible(false);
    QWidget* p = pnlMogiKekka;
    auto* title = MakeKekkaLabel(p, "lblMogiKekkaTitle", {16, 16, 400, 33}, 21);
    title->setText(QStringLiteral("模擬試験の結果"));
    lblMogiScore = MakeKekkaLabel(p, "lblMogiScore", {16, 64, 196, 49}, 24);
    lblMogiGokaku = MakeKekkaLabel(p, "lblMogiGokaku", {220, 64, 196, 49}, 24);
    lblMogiTimeUsed = MakeKekkaLabel(p, "lblMogiTimeUsed", {16, 120, 400, 29}, 16);
    lvMogiKubun = MakeKekkaList(p, "lvMogiKubun", {16, 160, 400, 140},
                                {QStringLiteral("試験区分"), QStringLiteral("問題数"), QStringLiteral("正解数")});
    lvMogiKubun->setColumnWidth(0, 200);
    lvMogiKubun->setColumnWidth(1, 90);
    lvMogiKubun->setSelectionMode(QAbstractItemView::NoSelection);
    lvMogiKubun->setFocusPolicy(Qt::NoFocus);
    lblMogiNote = MakeKekkaLabel(p, "lblMogiNote", {16, 308, 400, 150}, 16);
    lblMogiNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMogiNote->setWordWrap(true);
    lblMogiNote->setMargin(6);
    lvMogiToi = MakeKekkaList(p, "lvMogiToi", {432, 16, 545, 530},
                              {QStringLiteral("No."), QStringLiteral("問題"), QStringLiteral("あなたの解答"),
                               QStringLiteral("正解"), QStringLiteral("判定")});
    lvMogiToi->setColumnWidth(0, 50);
    lvMogiToi->setColumnWidth(1, 185);
    lvMogiToi->setColumnWidth(2, 120);
    lvMogiToi->setColumnWidth(3, 70);
    connect(lvMogiToi, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowMogiReview(lvMogiToi->indexOfTopLevelItem(item)); });
    connect(lvMogiToi, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowMogiReview(lvMogiToi->indexOfTopLevelItem(item)); });
    btnMogiFukushu = new QPushButton(QStringLiteral("間違えた問題を復習(&F)"), p);
    btnMogiFukushu->setObjectName(QStringLiteral("btnMogiFukushu"));
    btnMogiFukushu->setGeometry(16, 556, 260, 41);
    btnMogiFukushu->setAutoDefault(false);
    btnMogiKekkaStart = new QPushButton(QStringLiteral("スタートへ(&S)"), p);
    btnMogiKekkaStart->setObjectName(QStringLiteral("btnMogiKekkaStart"));
    btnMogiKekkaStart->setGeometry(292, 556, 180, 41);
    btnMogiKekkaStart->setAutoDefault(false);
    connect(btnMogiFukushu, &QPushButton::clicked, this, &TForm1::btnMogiFukushuClick);
    connect(btnMogiKekkaStart, &QPushButton::clicked, this, &TForm1::btnMogiKekkaStartClick);

    // On the question screen, in [次へ]'s place while a question of the
    // paper is shown judged.
    btnMogiReviewBack = new QPushButton(QStringLiteral("結果へ(&B)"), pnlMainLine1);
    btnMogiReviewBack->setObjectName(QStringLiteral("btnMogiReviewBack"));
    btnMogiReviewBack->setGeometry(btnNext->geometry());
    btnMogiReviewBack->setAutoDefault(false);
    btnMogiReviewBack->setVisible(false);
    connect(btnMogiReviewBack, &QPushButton::clicked, this, &TForm1::btnMogiReviewBackClick);
}

void TForm1::ShowMogiKekka()
{
    const MogiResult& r = mogiResult_;
    lblMogiScore->setText(QStringLiteral("%1点 / 100点").arg(r.score));
    lblMogiGokaku->setText(r.passed ? QStringLiteral("合格") : QStringLiteral("不合格"));
    QPalette palette = lblMogiGokaku->palette();
    palette.setColor(QPalette::Window, r.passed ? FormStyle::kSeikaiGreen : FormStyle::kWrongRed);
    palette.setColor(QPalette::WindowText, FormStyle::kWhite);
    lblMogiGokaku->setPalette(palette);
    lblMogiTimeUsed->setText(QStringLiteral("解答時間 %1（制限 40分）　正解 %2問 / %3問")
                                 .arg(TimeUsedText(r.secondsUsed))
                                 .arg(r.seikaiCount)
                                 .arg(mogi_->toi.size()));
    lvMogiKubun->clear();
    for (int k = 0; k < kMogiKubunCount; ++k) {
        auto* item = new QTreeWidgetItem(lvMogiKubun);
        item->setText(0, SjisToQString(std::string(kMogiKubunNames[static_cast<std::size_t>(k)])));
        item->setText(1, QString::number(r.groups[static_cast<std::size_t>(k)].count));
        item->setText(2, QString::number(r.groups[static_cast<std::size_t>(k)].seikai));
    }
    QStringList notes;
    for (int k = 0; k < kMogiKubunCount; ++k)
        if (const std::int32_t missing = mogi_->missing[static_cast<std::size_t>(k)]; missing > 0)
            notes << QStringLiteral("「%1」の問題が%2問足りないため、データベースの問題で補いました。")
                         .arg(SjisToQString(std::string(kMogiKubunNames[static_cast<std::size_t>(k)])))
                         .arg(missing);
    if (mogi_->unfilled > 0)
        notes << QStringLiteral("問題集の試験形式の問題が足りないため、%1問少ない試験でした。").arg(mogi_->unfilled);
    if (notes.isEmpty())
        notes << QStringLiteral("本試験と同じ配分で出題しました。");
    notes << QStringLiteral("右の一覧から問題を選ぶと、正解と解説を表示します。");
    lblMogiNote->setText(notes.join(QStringLiteral("\n")));
    lvMogiToi->clear();
    for (std::size_t i = 0; i < mogi_->toi.size(); ++i) {
        const MogiPaperToi& toi = mogi_->toi[i];
        const std::int32_t row = i < mogiRows_.size() ? mogiRows_[i] : 0;
        const std::int32_t key = TextToInt(TableCell(Drill.ToiTable, row, ToiColumn::Seikai));
        auto label = [this](std::int32_t n) {
            return n >= 1 && n <= 4 ? AiueoLabels.value(n - 1).section(QLatin1Char('('), 0, 0) : QStringLiteral("－");
        };
        auto* item = new QTreeWidgetItem(lvMogiToi);
        item->setText(0, QString::number(i + 1));
        item->setText(1, SjisToQString(toi.key));
        item->setText(2, label(toi.answer));
        item->setText(3, label(key));
        const bool right = i < r.seikai.size() && r.seikai[i];
        item->setText(4, right ? QStringLiteral("○") : QStringLiteral("×"));
        item->setForeground(4, right ? FormStyle::kSeikaiGreen : FormStyle::kWrongRed);
    }
    btnMogiFukushu->setEnabled(r.seikaiCount < static_cast<std::int32_t>(mogi_->toi.size()));
    ShowProgressStrip(false);
    SetStatusText(kStatusMogiKekka);
    HideAllScreens();
    pnlMogiKekka->setVisible(true);
    btnMogiKekkaStart->setFocus();
}

void TForm1::ShowMogiReview(int index)
{
    if (!mogi_ || index < 0 || index >= static_cast<int>(mogi_->toi.size()) || index >= static_cast<int>(mogiRows_.size()))
        return;
    const std::int32_t row = mogiRows_[static_cast<std::size_t>(index)];
    const ToiView view = ViewOfToiRow(Drill.ToiTable, row);
    // The judged view of the drill, its side column telling the paper's
    // question instead of a stage.
    lblStageNumber->setText(QStringLiteral("第%1問").arg(index + 1));
    lblMainMode->setText(ModeNames.value(kModeMogi));
    lblMainNanwido->setText(QString());
    lblMainNokori->setVisible(false);
    lblToiKey->setText(SjisToQString(view.key));
    ShowAnswerControls(view);
    ShowToiTextOrPicture(view);
    const std::int32_t answer = mogi_->toi[static_cast<std::size_t>(index)].answer;
    if (answer >= 1 && answer <= 4)
        AnswerBoxes[answer - 1]->setChecked(true);
    btnEnter->setEnabled(false);
    ShowJudgement(MogiJudgementOf(Drill.ToiTable, row, answer));
    btnNext->setVisible(false);
    btnMogiReviewBack->setVisible(true);
    SetDefaultButton(nullptr);
    btnMogiReviewBack->setFocus();
    ShowProgressStrip(false);
    SetStatusText(kStatusMogiReview);
    HideAllScreens();
    pnlMain->setVisible(true);
}

void TForm1::btnMogiReviewBackClick()
{
    btnMogiReviewBack->setVisible(false);
    btnNext->setVisible(true);
    ShowMogiKekka();
}

void TForm1::btnMogiFukushuClick()
{
    if (!mogi_)
        return;
    std::vector<std::int32_t> missed;
    for (std::size_t i = 0; i < mogiRows_.size() && i < mogiResult_.seikai.size(); ++i)
        if (!mogiResult_.seikai[i])
            missed.push_back(mogiRows_[i]);
    if (missed.empty())
        return;
    // 本試験通常: one stage over exactly these questions in the paper's
    // order, judged one by one; no chances to run out and no slot, which
    // could not tell that its list is the missed questions. The area chosen
    // on the start screen stays as it is.
    StartRun(Drill, kModeHNormal);
    Drill.ToiList = std::move(missed);
    PresentToi();
}

void TForm1::btnMogiKekkaStartClick()
{
    ShowStartScreen();
}
