// The controls of TForm1 at their fixed positions, and the screen preparation
// done once at start-up. The start and error screens are built with the
// window; the others the first time one of them is shown.
#include "window/Unit1.h"

#include "window/FormTexts.h"
#include "window/SjisText.h"
#include "window/Widgets.h"
#include "data/PlayModes.h"
#include "data/ToiBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

using FormStyle::GothicFont;
using FormStyle::kNavy;
using FormStyle::kSilver;
using FormStyle::kWhite;

namespace {

constexpr int kClientWidth = 993;
constexpr int kClientHeight = 650;
constexpr int kStripHeight = 21;

QLabel* MakeLabel(QWidget* parent, const char* name, QRect geometry, Qt::Alignment align, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(align | Qt::AlignVCenter);
    FormStyle::SetBackground(label, kSilver);
    return label;
}

// A judged question's boxes and answer cannot be changed, but must still be
// read: their text stays black instead of the light grey of a disabled control.
void KeepReadableWhenDisabled(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::Base, FormStyle::kWhite);
    widget->setPalette(palette);
}

QPushButton* MakeButton(QWidget* parent, const char* name, QRect geometry, const QString& caption = {})
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, QRect geometry, const QString& title)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    FormStyle::SetBackground(group, kSilver);
    return group;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setFont(GothicFont(16));
    memo->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, kSilver);
    palette.setColor(QPalette::Text, Qt::black);
    memo->setPalette(palette);
    return memo;
}

QScrollArea* MakePictureBox(QWidget* parent, const char* boxName, const char* imageName, QLabel** image)
{
    auto* box = new QScrollArea(parent);
    box->setObjectName(QString::fromLatin1(boxName));
    box->setFrameShape(QFrame::NoFrame);
    box->setWidgetResizable(false);
    box->setFocusPolicy(Qt::NoFocus);
    box->setBackgroundRole(QPalette::Window);
    FormStyle::SetBackground(box, kSilver);
    FormStyle::SetBackground(box->viewport(), kSilver);
    *image = new QLabel;
    (*image)->setObjectName(QString::fromLatin1(imageName));
    (*image)->setScaledContents(false);
    box->setWidget(*image);
    return box;
}

QTreeWidget* MakeList(QWidget* parent, const char* name, QRect geometry)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(geometry);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(false);
    // The list keeps the standard colours (not the navy of its screen), and
    // its selection stays visible when it loses the focus.
    const QPalette standard = QApplication::palette(list);
    QPalette palette = list->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text, QPalette::Button,
                          QPalette::ButtonText})
            palette.setColor(group, role, standard.color(group, role));
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, standard.color(QPalette::Active, role));
    list->setPalette(palette);
    return list;
}

} // namespace

void TForm1::CreateControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(GothicFont(21));
    FormStyle::SetBackground(this, kNavy);

    CreateBottomStrips();
    for (auto [panel, name, color] : {std::tuple {&pnlStart, "pnlStart", kNavy},
                                      std::tuple {&pnlError, "pnlError", kSilver}}) {
        *panel = new TPanel(this, QString::fromLatin1(name), color);
        (*panel)->setGeometry(0, 0, kClientWidth, kClientHeight - kStripHeight);
        (*panel)->setVisible(false);
    }
    CreateStartScreen();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

// Building these only when first shown brings the start screen's first
// paint about 4 ms (0.2 x a bare window's start) sooner.
void TForm1::CreateHiddenScreens()
{
    if (pnlMain)
        return;
    for (auto [panel, name] : {std::pair {&pnlMain, "pnlMain"}, std::pair {&pnlStageEnd, "pnlStageEnd"},
                               std::pair {&pnlFinalStageEnd, "pnlFinalStageEnd"},
                               std::pair {&pnlSaveLoad, "pnlSaveLoad"}}) {
        *panel = new TPanel(this, QString::fromLatin1(name), kNavy);
        (*panel)->setGeometry(0, 0, kClientWidth, kClientHeight - kStripHeight);
        (*panel)->setVisible(false);
    }
    CreateMainScreen();
    CreateStageEndScreen();
    CreateFinalScreen();
    CreateSaveLoadScreen();
    CreateKirokuScreen();
    CreateMogiScreens();
    PrepareHiddenScreens();
    // Their height follows the progress strip as the others' does.
    ShowProgressStrip(!pnlProgress->isHidden());
}

void TForm1::CreateBottomStrips()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(0, kClientHeight - kStripHeight, kClientWidth, kStripHeight);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFont(GothicFont(16));
    FormStyle::SetBackground(StatusBar1, kSilver);

    pnlProgress = new TPanel(this, QStringLiteral("pnlProgress"), kSilver);
    pnlProgress->setGeometry(0, kClientHeight - 2 * kStripHeight, kClientWidth, kStripHeight);
    pnlProgress->setFrameShape(QFrame::Panel);
    pnlProgress->setFrameShadow(QFrame::Sunken);
    pnlProgress->setLineWidth(1);
    lblTime = new QLabel(pnlProgress);
    lblTime->setObjectName(QStringLiteral("lblTime"));
    lblTime->setGeometry(1, 1, 151, kStripHeight - 2);
    lblTime->setAlignment(Qt::AlignCenter);
    lblTime->setFont(GothicFont(16));
    ProgressBar1 = new QProgressBar(pnlProgress);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(kClientWidth - 1 - 840, 1, 840, kStripHeight - 2);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    pnlProgress->setVisible(false);
}

void TForm1::CreateStartScreen()
{
    QWidget* p = pnlStart;
    new RoundFrame(p, 224, 32, 545, 41, true);
    for (int left : {248, 520})
        for (int top : {104, 224, 344})
            new RoundFrame(p, left, top, 225, 97, true);
    new RoundFrame(p, 224, 472, 545, 89, true);

    lblSTitle = MakeLabel(p, "lblSTitle", {232, 40, 529, 25}, Qt::AlignHCenter);
    gbNormal = MakeGroup(p, "gbNormal", {256, 112, 209, 81}, {});
    btnStartNormal = MakeButton(gbNormal, "btnStartNormal", {24, 32, 161, 33});
    gbJakuten = MakeGroup(p, "gbJakuten", {256, 352, 209, 81}, {});
    btnStartJakuten = MakeButton(gbJakuten, "btnStartJakuten", {24, 32, 161, 33});
    gbRand = MakeGroup(p, "gbRand", {256, 232, 209, 81}, {});
    btnStartRand = MakeButton(gbRand, "btnStartRand", {24, 32, 161, 33});
    gbOption = MakeGroup(p, "gbOption", {232, 480, 529, 73}, {});
    lblNanwido = new QLabel(gbOption);
    lblNanwido->setObjectName(QStringLiteral("lblNanwido"));
    lblNanwido->setGeometry(14, 36, 91, 21);
    cbNanwido = new QComboBox(gbOption);
    cbNanwido->setObjectName(QStringLiteral("cbNanwido"));
    cbNanwido->setEditable(false);
    cbNanwido->setGeometry(112, 36, 145, 29);
    {
        QPalette palette = cbNanwido->palette();
        palette.setColor(QPalette::Base, kWhite);
        palette.setColor(QPalette::Button, kWhite);
        cbNanwido->setPalette(palette);
    }
    for (std::string_view letter : kNanwidoLetters)
        cbNanwido->addItem(SjisToQString(std::string(letter)));
    gbLoad = MakeGroup(p, "gbLoad", {528, 112, 209, 81}, {});
    btnLoadNormal = MakeButton(gbLoad, "btnLoadNormal", {24, 32, 161, 33});
    gbHNormal = MakeGroup(p, "gbHNormal", {528, 232, 209, 81}, {});
    btnHNormalStart = MakeButton(gbHNormal, "btnHNormalStart", {24, 32, 161, 33});
    gbHRand = MakeGroup(p, "gbHRand", {528, 352, 209, 81}, {});
    btnHRandStart = MakeButton(gbHRand, "btnHRandStart", {24, 32, 161, 33});

    setTabOrder(btnStartNormal, btnStartJakuten);
    setTabOrder(btnStartJakuten, btnStartRand);
    setTabOrder(btnStartRand, cbNanwido);
    setTabOrder(cbNanwido, btnLoadNormal);
    setTabOrder(btnLoadNormal, btnHNormalStart);
    setTabOrder(btnHNormalStart, btnHRandStart);

    connect(btnStartNormal, &QPushButton::clicked, this, &TForm1::btnStartNormalClick);
    connect(btnStartRand, &QPushButton::clicked, this, &TForm1::btnStartRandClick);
    connect(btnStartJakuten, &QPushButton::clicked, this, &TForm1::btnStartJakutenClick);
    connect(btnHNormalStart, &QPushButton::clicked, this, &TForm1::btnHNormalStartClick);
    connect(btnHRandStart, &QPushButton::clicked, this, &TForm1::btnHRandStartClick);
    connect(btnLoadNormal, &QPushButton::clicked, this, &TForm1::btnLoadNormalClick);
    connect(cbNanwido, &QComboBox::activated, this, &TForm1::cbNanwidoChange);
    CreateBunyaControls();
    CreateMogiStartButton();
}

void TForm1::CreateMainScreen()
{
    QWidget* p = pnlMain;
    pnlMainToi = new TPanel(p, QStringLiteral("pnlMainToi"), kSilver);
    pnlMainToi->setGeometry(ToiBoxes::kLeft, ToiBoxes::kToiTop, ToiBoxes::kWidth, ToiBoxes::kHeight);
    memToiBun = MakeMemo(pnlMainToi, "memToiBun");
    sboxToi = MakePictureBox(pnlMainToi, "sboxToi", "imgToi", &imgToi);
    pnlMainKaisetu = new TPanel(p, QStringLiteral("pnlMainKaisetu"), kSilver);
    pnlMainKaisetu->setGeometry(ToiBoxes::kLeft, ToiBoxes::kKaisetuTop, ToiBoxes::kWidth, ToiBoxes::kHeight);
    memKaisetuBun = MakeMemo(pnlMainKaisetu, "memKaisetuBun");
    sboxKaisetu = MakePictureBox(pnlMainKaisetu, "sboxKaisetu", "imgKaisetu", &imgKaisetu);

    pnlMainLine1 = new TPanel(p, QStringLiteral("pnlMainLine1"), kNavy);
    pnlMainLine1->setGeometry(kClientWidth - 154, 0, 154, kClientHeight - kStripHeight);
    pnlMainLine1->setFont(GothicFont(16));
    QWidget* s = pnlMainLine1;
    new RoundFrame(s, 8, 8, 137, 33, false);
    for (int top : {48, 88, 128, 168})
        new RoundFrame(s, 9, top, 137, 33, false);
    for (int top : {208, 248, 288, 328})
        for (int left : {9, 81})
            new RoundFrame(s, left, top, 64, 33, false);
    new RoundFrame(s, 9, 408, 136, 33, false);
    new RoundFrame(s, 9, 472, 136, 49, false);
    new RoundFrame(s, 9, 536, 136, 49, false);

    lblStageNumber = MakeLabel(s, "lblStageNumber", {16, 16, 121, 16}, Qt::AlignLeft);
    lblMainNanwido = MakeLabel(s, "lblMainNanwido", {16, 56, 121, 16}, Qt::AlignLeft);
    lblMainNokori = MakeLabel(s, "lblMainNokori", {16, 96, 121, 16}, Qt::AlignLeft);
    lblToiKey = MakeLabel(s, "lblToiKey", {16, 136, 121, 16}, Qt::AlignLeft);
    lblMainMode = MakeLabel(s, "lblMainMode", {16, 176, 121, 16}, Qt::AlignLeft);
    for (int i = 0; i < 8; ++i) {
        auto* box = new TChoiceBox(s);
        box->setObjectName(QStringLiteral("cb%1").arg(i));
        box->setGeometry(i % 2 == 0 ? 16 : 88, 216 + 40 * (i / 2), 49, 17);
        // Its own style sheet would otherwise fall back to the application's
        // font when the box is polished before the column's font reaches it.
        box->setFont(GothicFont(16));

        cb[static_cast<std::size_t>(i)] = box;
        AnswerBoxes << box;
    }
    edtInput = new QLineEdit(s);
    edtInput->setObjectName(QStringLiteral("edtInput"));
    edtInput->setGeometry(8, 374, 137, 24);
    KeepReadableWhenDisabled(edtInput);
    edtInput->installEventFilter(this);
    lblTrueOrFalse = MakeLabel(s, "lblTrueOrFalse", {16, 416, 121, 16}, Qt::AlignHCenter);
    btnEnter = MakeButton(s, "btnEnter", {16, 480, 121, 33});
    btnNext = MakeButton(s, "btnNext", {16, 544, 121, 33});

    for (int i = 0; i < 7; ++i)
        setTabOrder(cb[static_cast<std::size_t>(i)], cb[static_cast<std::size_t>(i + 1)]);
    setTabOrder(cb[7], edtInput);
    setTabOrder(edtInput, btnEnter);
    setTabOrder(btnEnter, btnNext);

    connect(btnEnter, &QPushButton::clicked, this, &TForm1::btnEnterClick);
    connect(btnNext, &QPushButton::clicked, this, &TForm1::btnNextClick);
}

void TForm1::CreateStageEndScreen()
{
    QWidget* p = pnlStageEnd;
    p->setFont(GothicFont(21));
    new RoundFrame(p, 312, 56, 369, 41, false);
    new RoundFrame(p, 312, 120, 369, 41, false);
    for (auto [left, top] : {std::pair {288, 184}, {512, 184}, {288, 248}, {512, 248}})
        new RoundFrame(p, left, top, 193, 41, false);
    new RoundFrame(p, 208, 328, 273, 57, false);
    new RoundFrame(p, 512, 328, 265, 57, false);
    new RoundFrame(p, 208, 408, 273, 57, false);

    lblSETitle = MakeLabel(p, "lblSETitle", {320, 64, 353, 25}, Qt::AlignHCenter);
    lblKekka = MakeLabel(p, "lblKekka", {320, 128, 353, 25}, Qt::AlignHCenter);
    lblSEMode = MakeLabel(p, "lblSEMode", {296, 192, 177, 25}, Qt::AlignHCenter);
    lblSENanwido = MakeLabel(p, "lblSENanwido", {520, 192, 177, 25}, Qt::AlignHCenter);
    lblMonchuMonseikai = MakeLabel(p, "lblMonchuMonseikai", {296, 256, 177, 25}, Qt::AlignHCenter);
    lblSENokori = MakeLabel(p, "lblSENokori", {520, 256, 177, 25}, Qt::AlignHCenter);
    btnNextStage = MakeButton(p, "btnNextStage", {216, 336, 257, 41});
    btnSEStartBack = MakeButton(p, "btnSEStartBack", {520, 336, 249, 41});
    btnSESave = MakeButton(p, "btnSESave", {216, 416, 257, 41});
    setTabOrder(btnNextStage, btnSEStartBack);
    setTabOrder(btnSEStartBack, btnSESave);

    connect(btnNextStage, &QPushButton::clicked, this, &TForm1::btnNextStageClick);
    connect(btnSEStartBack, &QPushButton::clicked, this, &TForm1::btnSEStartBackClick);
    connect(btnSESave, &QPushButton::clicked, this, &TForm1::btnSESaveClick);
}

void TForm1::CreateFinalScreen()
{
    QWidget* p = pnlFinalStageEnd;
    new RoundFrame(p, 288, 72, 225, 41, false);
    new RoundFrame(p, 288, 136, 225, 41, false);
    new RoundFrame(p, 536, 72, 169, 41, false);
    new RoundFrame(p, 536, 136, 169, 41, false);
    new RoundFrame(p, 288, 200, 417, 273, false);
    new RoundFrame(p, 376, 496, 241, 49, false);

    lblFseTitle1 = MakeLabel(p, "lblFseTitle1", {296, 80, 209, 21}, Qt::AlignHCenter);
    lblFseTitle2 = MakeLabel(p, "lblFseTitle2", {296, 144, 209, 21}, Qt::AlignHCenter);
    lblFseNanwido = MakeLabel(p, "lblFseNanwido", {544, 80, 153, 21}, Qt::AlignHCenter);
    lblFseMode = MakeLabel(p, "lblFseMode", {544, 144, 153, 21}, Qt::AlignHCenter);
    lvSeiseki = MakeList(p, "lvSeiseki", {312, 224, 369, 225});
    btnFseStartBack = MakeButton(p, "btnFseStartBack", {384, 504, 225, 33});
    setTabOrder(lvSeiseki, btnFseStartBack);

    connect(btnFseStartBack, &QPushButton::clicked, this, &TForm1::btnFseStartBackClick);
}

void TForm1::CreateSaveLoadScreen()
{
    QWidget* p = pnlSaveLoad;
    new RoundFrame(p, 432, 56, 121, 41, false);
    new RoundFrame(p, 240, 120, 513, 289, false);
    new RoundFrame(p, 288, 448, 153, 49, false);
    new RoundFrame(p, 544, 448, 153, 49, false);

    lblSLTitle = MakeLabel(p, "lblSLTitle", {440, 64, 105, 21}, Qt::AlignHCenter);
    lvSaveLoad = MakeList(p, "lvSaveLoad", {264, 144, 465, 241});
    btnSaveLoad = MakeButton(p, "btnSaveLoad", {296, 456, 137, 33});
    btnSLBack = MakeButton(p, "btnSLBack", {552, 456, 137, 33});
    setTabOrder(lvSaveLoad, btnSaveLoad);
    setTabOrder(btnSaveLoad, btnSLBack);

    connect(btnSaveLoad, &QPushButton::clicked, this, &TForm1::btnSaveLoadClick);
    connect(btnSLBack, &QPushButton::clicked, this, &TForm1::btnSLBackClick);
}

void TForm1::PrepareScreens()
{
    // Start screen; the others are prepared as they are built.
    pnlStart->setGeometry(0, 0, width(), StatusBar1->y());
    pnlStart->setCaption({});
    lblSTitle->setText(kWindowTitle);
    gbNormal->setTitle(SjisToQString(std::string(kPlayModes[kModeNormal].title)));
    btnStartNormal->setText(QStringLiteral("スタート(&N)"));
    gbJakuten->setTitle(SjisToQString(std::string(kPlayModes[kModeJakuten].title)));
    btnStartJakuten->setText(QStringLiteral("スタート(&J)"));
    gbRand->setTitle(SjisToQString(std::string(kPlayModes[kModeRand].title)));
    btnStartRand->setText(QStringLiteral("スタート(&R)"));
    gbOption->setTitle(QStringLiteral("オプション"));
    lblNanwido->setText(FormTexts::kNanwido);
    gbLoad->setTitle(QStringLiteral("続きから"));
    btnLoadNormal->setText(QStringLiteral("ロード(&L)"));
    gbHNormal->setTitle(SjisToQString(std::string(kPlayModes[kModeHNormal].title)));
    btnHNormalStart->setText(QStringLiteral("スタート(&H)"));
    gbHRand->setTitle(SjisToQString(std::string(kPlayModes[kModeHRand].title)));
    btnHRandStart->setText(QStringLiteral("スタート(&S)"));

    lblTime->clear();
}

void TForm1::PrepareHiddenScreens()
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);

    // Question screen.
    pnlMain->setGeometry(0, 0, width(), StatusBar1->y());
    pnlMainLine1->setCaption({});
    edtInput->setText(FormTexts::kPrompt);
    btnEnter->setText(QStringLiteral("決定(&E)"));
    btnNext->setText(QStringLiteral("次へ(&N)"));
    lblTrueOrFalse->clear();
    pnlMain->setCaption({});
    pnlMainToi->setCaption({});
    pnlMainKaisetu->setCaption({});
    for (auto [memo, box] : {std::pair {memToiBun, sboxToi}, std::pair {memKaisetuBun, sboxKaisetu}}) {
        memo->clear();
        memo->setGeometry(0, 0, memo->parentWidget()->width(), memo->parentWidget()->height());
        box->setGeometry(memo->geometry());
        memo->setVisible(false);
        box->setVisible(false);
    }

    // Stage-end screen.
    pnlStageEnd->setCaption({});
    // Katakana ヘ here and hiragana へ on the final results differ on
    // purpose: each screen keeps the caption learners know. Do not align them.
    btnSEStartBack->setText(QStringLiteral("スタートヘ(&S)"));
    btnSESave->setText(QStringLiteral("セーブ(&A)"));
    pnlStageEnd->setGeometry(0, 0, width(), StatusBar1->y());

    // Final results screen.
    pnlFinalStageEnd->setCaption({});
    lblFseTitle1->setText(QStringLiteral("最終ステージ終了"));
    lblFseTitle2->setText(QStringLiteral("各ステージの成績"));
    btnFseStartBack->setText(QStringLiteral("スタートへ(&S)")); // hiragana へ: see btnSEStartBack
    lvSeiseki->setHeaderLabels({QStringLiteral("ステージNo."), QStringLiteral("正解率（％）")});
    lvSeiseki->setColumnWidth(0, 150);
    lvSeiseki->setColumnWidth(1, lvSeiseki->width() - 150 - (scrollBar + 10));
    pnlFinalStageEnd->setGeometry(0, 0, width(), StatusBar1->y());

    // Save/load screen.
    pnlSaveLoad->setCaption({});
    lvSaveLoad->setHeaderLabels({QStringLiteral("データ名"), QStringLiteral("プレイモード"), QStringLiteral("日付")});
    lvSaveLoad->setColumnWidth(0, 100);
    lvSaveLoad->setColumnWidth(1, 120);
    lvSaveLoad->setColumnWidth(2, lvSaveLoad->width() - 100 - 120 - (scrollBar + 10));
    btnSLBack->setText(QStringLiteral("戻る(&B)"));
    pnlSaveLoad->setGeometry(0, 0, width(), StatusBar1->y());
}
