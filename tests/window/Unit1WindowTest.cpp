// The main window through its real controls: screens, captions, start-up and
// the close question.
#include "platform/Paths.h"
#include "platform/UiFont.h"
#include "app/AppSupport.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "data/DataTexts.h"
#include "data/PlayModes.h"
#include "text/SjisCodec.h"
#include "support/FormHarness.h"
#include "support/ShownMessages.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <stdexcept>

namespace {

const QString kStartStatus =
    QStringLiteral(" ： オプションを設定し、お好みのモードに合わせて[スタート]をクリックしてください");

class Unit1Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        ShownMessages::clear();
        WriteBank(folder, TypedBank(3));
    }
    WorkFolder folder;
};

template <typename T>
T* Find(TForm1& form, const char* name)
{
    return form.findChild<T*>(QString::fromLatin1(name));
}

std::filesystem::file_time_type ModifiedAt(const std::string& path)
{
    return std::filesystem::last_write_time(Platform::PathOf(path));
}

bool Before(std::filesystem::file_time_type a, std::filesystem::file_time_type b)
{
    return a <= b;
}

} // namespace

TEST_F(Unit1Window, OpensFixedWindowOnTheStartScreen)
{
    auto form = OpenForm();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("MIRETO for DATAQUALIFY - 資格向け学習ソフト"));
    EXPECT_EQ(form->size(), QSize(993, 650));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "the window must not be resizable";
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form->pos(), QPoint(15, 15));
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
    EXPECT_EQ(form->StatusText(), kStartStatus);
    EXPECT_TRUE(form->pnlProgress->isHidden());
    EXPECT_EQ(form->pnlStart->geometry(), QRect(0, 0, 993, 629));
    EXPECT_EQ(form->StatusBar1->geometry(), QRect(0, 629, 993, 21));
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0, 0, 128));
}

TEST_F(Unit1Window, StartScreenControlsHaveTheirCaptionsPlacesAndFonts)
{
    auto form = OpenForm();
    struct Expect {
        const char* name;
        QString caption;
        QRect geometry;
    };
    const Expect buttons[] = {
        {"btnStartNormal", QStringLiteral("スタート(&N)"), {24, 32, 161, 33}},
        {"btnStartJakuten", QStringLiteral("スタート(&J)"), {24, 32, 161, 33}},
        {"btnStartRand", QStringLiteral("スタート(&R)"), {24, 32, 161, 33}},
        {"btnLoadNormal", QStringLiteral("ロード(&L)"), {24, 32, 161, 33}},
        {"btnHNormalStart", QStringLiteral("スタート(&H)"), {24, 32, 161, 33}},
        {"btnHRandStart", QStringLiteral("スタート(&S)"), {24, 32, 161, 33}},
    };
    for (const Expect& e : buttons) {
        auto* button = Find<QPushButton>(*form, e.name);
        ASSERT_NE(button, nullptr) << e.name;
        EXPECT_EQ(button->text(), e.caption) << e.name;
        EXPECT_EQ(button->geometry(), e.geometry) << e.name;
    }
    const Expect groups[] = {
        {"gbNormal", QStringLiteral("通常モード"), {256, 112, 209, 81}},
        {"gbJakuten", QStringLiteral("弱点克服モード"), {256, 352, 209, 81}},
        {"gbRand", QStringLiteral("ランダムモード"), {256, 232, 209, 81}},
        {"gbOption", QStringLiteral("オプション"), {232, 480, 529, 73}},
        {"gbLoad", QStringLiteral("続きから"), {528, 112, 209, 81}},
        {"gbHNormal", QStringLiteral("本試験通常モード"), {528, 232, 209, 81}},
        {"gbHRand", QStringLiteral("本試験ランダムモード"), {528, 352, 209, 81}},
    };
    for (const Expect& e : groups) {
        auto* group = Find<QGroupBox>(*form, e.name);
        ASSERT_NE(group, nullptr) << e.name;
        EXPECT_EQ(group->title(), e.caption) << e.name;
        EXPECT_EQ(group->geometry(), e.geometry) << e.name;
        EXPECT_EQ(group->palette().color(QPalette::Window), QColor(192, 192, 192)) << e.name;
    }
    EXPECT_EQ(form->lblSTitle->text(), TForm1::kWindowTitle);
    EXPECT_EQ(form->lblSTitle->geometry(), QRect(232, 40, 529, 25));
    EXPECT_EQ(form->lblNanwido->text(), QStringLiteral("難易度："));
    QStringList items;
    for (int i = 0; i < form->cbNanwido->count(); ++i)
        items << form->cbNanwido->itemText(i);
    EXPECT_EQ(items, (QStringList {"Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ"}));
    EXPECT_FALSE(form->cbNanwido->isEditable());
    // The system's first choice is asked for; where it is missing (the
    // tests' machines, Linux or Wine) the list falls through to IPA P Gothic.
    EXPECT_EQ(form->font().family(), QString::fromStdString(Platform::UiFontFamilies().front()));
    EXPECT_EQ(QFontInfo(form->font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(form->font().pixelSize(), 21);
    EXPECT_EQ(form->StatusBar1->font().pixelSize(), 16);
}

TEST_F(Unit1Window, FixedCaptionsOfTheOtherScreens)
{
    auto form = OpenForm();
    // The other screens are built the first time one of them is shown; from
    // then on each holds its captions and places, the start screen's size.
    QTest::mouseClick(form->btnLoadNormal, Qt::LeftButton);
    ASSERT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    QTest::mouseClick(form->btnSLBack, Qt::LeftButton);
    ASSERT_EQ(VisibleScreen(*form), form->pnlStart);
    for (QWidget* panel : {static_cast<QWidget*>(form->pnlMain), static_cast<QWidget*>(form->pnlStageEnd),
                           static_cast<QWidget*>(form->pnlFinalStageEnd), static_cast<QWidget*>(form->pnlSaveLoad),
                           static_cast<QWidget*>(form->pnlKiroku)})
        EXPECT_EQ(panel->geometry(), form->pnlStart->geometry()) << panel->objectName().toStdString();
    EXPECT_EQ(form->btnEnter->text(), QStringLiteral("決定(&E)"));
    EXPECT_EQ(form->btnNext->text(), QStringLiteral("次へ(&N)"));
    EXPECT_EQ(form->edtInput->text(), QStringLiteral("ここに入力。。。"));
    EXPECT_EQ(form->btnSEStartBack->text(), QStringLiteral("スタートヘ(&S)"));
    EXPECT_EQ(form->btnSESave->text(), QStringLiteral("セーブ(&A)"));
    EXPECT_EQ(form->btnFseStartBack->text(), QStringLiteral("スタートへ(&S)"));
    // Katakana ヘ on the stage-end screen, hiragana へ on the final screen.
    EXPECT_EQ(form->btnSEStartBack->text().at(4), QChar(0x30D8));
    EXPECT_EQ(form->btnFseStartBack->text().at(4), QChar(0x3078));
    EXPECT_EQ(form->lblFseTitle1->text(), QStringLiteral("最終ステージ終了"));
    EXPECT_EQ(form->lblFseTitle2->text(), QStringLiteral("各ステージの成績"));
    EXPECT_EQ(form->btnSLBack->text(), QStringLiteral("戻る(&B)"));
    EXPECT_EQ(form->lvSeiseki->headerItem()->text(0), QStringLiteral("ステージNo."));
    EXPECT_EQ(form->lvSeiseki->headerItem()->text(1), QStringLiteral("正解率（％）"));
    EXPECT_EQ(form->lvSaveLoad->headerItem()->text(0), QStringLiteral("データ名"));
    EXPECT_EQ(form->lvSaveLoad->headerItem()->text(1), QStringLiteral("プレイモード"));
    EXPECT_EQ(form->lvSaveLoad->headerItem()->text(2), QStringLiteral("日付"));
    const int scrollBar = form->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(form->lvSeiseki->columnWidth(0), 150);
    EXPECT_EQ(form->lvSeiseki->columnWidth(1), 369 - 150 - (scrollBar + 10));
    EXPECT_EQ(form->lvSaveLoad->columnWidth(2), 465 - 100 - 120 - (scrollBar + 10));
    for (int i = 0; i < 8; ++i) {
        auto* box = Find<QCheckBox>(*form, QStringLiteral("cb%1").arg(i).toLatin1().constData());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->geometry(), QRect(i % 2 ? 88 : 16, 216 + 40 * (i / 2), 49, 17));
        EXPECT_EQ(form->AnswerBoxes.at(i), box);
    }
    EXPECT_EQ(form->pnlMainLine1->geometry(), QRect(993 - 154, 0, 154, 629));
    EXPECT_EQ(form->memToiBun->geometry(), form->sboxToi->geometry());
    EXPECT_EQ(form->memKaisetuBun->geometry(), form->sboxKaisetu->geometry());
}

TEST_F(Unit1Window, FixedTablesAndLabelLists)
{
    auto form = OpenForm();
    const std::array<std::int32_t, 12> nanwido {90, 80, 70, 60, 50, 40, 15, 30, 45, 60, 75, 90};
    EXPECT_EQ(form->Drill.NanwidoTable, nanwido);
    // The five modes first, and every mode of the table under the name the
    // journal's CSV gives it: a mode added there is captioned with no other change.
    EXPECT_EQ(form->ModeNames.mid(0, 5),
              (QStringList {"通常モード", "ランダムモード", "弱点克服モード", "本試験通常", "本試験ランダム"}));
    ASSERT_EQ(form->ModeNames.size(), kPlayModeCount);
    for (const PlayModeRow& mode : kPlayModes)
        EXPECT_EQ(form->ModeNames.at(mode.number), QString::fromStdString(SjisToUtf8(std::string(mode.name))));
    ASSERT_EQ(form->cbNanwido->count(), kNanwidoCount);
    for (std::int32_t n = 0; n < kNanwidoCount; ++n)
        EXPECT_EQ(form->cbNanwido->itemText(n), QString::fromStdString(SjisToUtf8(std::string(kNanwidoLetters[n]))));
    ASSERT_EQ(form->NumberLabels.size(), 14);
    EXPECT_EQ(form->NumberLabels.first(), QStringLiteral("&1"));
    EXPECT_EQ(form->NumberLabels.last(), QStringLiteral("&14"));
    EXPECT_EQ(form->AlphaLabels.at(1), QStringLiteral("B(&2)"));
    EXPECT_EQ(form->AlphaLabels.last(), QStringLiteral("N(&14)"));
    EXPECT_EQ(form->IrohaLabels.at(5), QStringLiteral("へ(&6)"));
    EXPECT_EQ(form->IrohaLabels.last(), QStringLiteral("カ(&14)"));
    EXPECT_EQ(form->LabelLists[1], &form->AlphaLabels);
}

TEST_F(Unit1Window, StartScreenSelectionFollowsNanwido)
{
    folder.Write(DataTexts::kNanwidoFileName, "2");
    auto form = OpenForm();
    EXPECT_EQ(form->Drill.Nanwido, 2);
    EXPECT_EQ(form->cbNanwido->currentText(), QStringLiteral("Ｃ"));

    // The learner picks another item: the difficulty follows at once.
    form->cbNanwido->setFocus();
    QTest::keyClick(form->cbNanwido, Qt::Key_Down);
    EXPECT_EQ(form->Drill.Nanwido, 3);

    // Changed elsewhere, the start screen shows it when it is shown again.
    form->Drill.Nanwido = kNanwidoA;
    form->ShowStartScreen();
    EXPECT_EQ(form->cbNanwido->currentIndex(), 0);
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
}

TEST_F(Unit1Window, EveryScreenOperationLeavesExactlyOneScreen)
{
    auto form = OpenForm();
    form->ShowErrorScreen(QStringLiteral("x"));
    EXPECT_EQ(VisibleScreen(*form), form->pnlError);
    form->ShowStartScreen();
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
    form->btnStartNormal->click();
    EXPECT_EQ(VisibleScreen(*form), form->pnlMain);
    EXPECT_FALSE(form->pnlProgress->isHidden());
    form->ShowStageEnd();
    EXPECT_EQ(VisibleScreen(*form), form->pnlStageEnd);
    EXPECT_TRUE(form->pnlProgress->isHidden());
    form->Drill.SaveLoadMode = kSaveLoadSave;
    form->ShowSaveLoadScreen();
    EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    form->ShowFinalResults();
    EXPECT_EQ(VisibleScreen(*form), form->pnlFinalStageEnd);
    form->HideAllScreens();
    EXPECT_EQ(VisibleScreenCount(*form), 0);
}

TEST_F(Unit1Window, MissingBankShowsOnlyTheErrorScreen)
{
    WorkFolder empty;
    empty.Write(DataTexts::kSaveLoadFileName, "kept as it was");
    auto form = OpenForm();
    EXPECT_FALSE(form->Drill.ToiFileFound);
    EXPECT_EQ(VisibleScreen(*form), form->pnlError);
    EXPECT_EQ(form->pnlError->caption(), QStringLiteral("エラー：必要なファイルが見つかりません"));
    EXPECT_EQ(form->pnlError->palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(form->StatusText(), QStringLiteral(" ： エラーです。終了してください"));

    MessageBox::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(empty.Read(DataTexts::kSaveLoadFileName), "kept as it was");
    EXPECT_FALSE(empty.Exists(DataTexts::kSeikaiFileName));
    EXPECT_FALSE(empty.Exists(DataTexts::kNanwidoFileName));
}

TEST_F(Unit1Window, CloseAnsweredNoChangesNothingAndAsksAgain)
{
    auto form = OpenForm();
    MessageBox::setNextAnswer(QMessageBox::No);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
    EXPECT_FALSE(folder.Exists(DataTexts::kNanwidoFileName));
    EXPECT_FALSE(folder.Exists(DataTexts::kSeikaiFileName));

    MessageBox::setNextAnswer(QMessageBox::No);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(ShownMessages::texts(), (QStringList {"終了しますか？", "終了しますか？"}));
}

TEST_F(Unit1Window, CloseAnsweredYesWritesTheThreeDatabasesInOrder)
{
    auto form = OpenForm();
    MessageBox::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(form->close());
    ASSERT_TRUE(folder.Exists(DataTexts::kSeikaiFileName));
    ASSERT_TRUE(folder.Exists(DataTexts::kSaveLoadFileName));
    ASSERT_TRUE(folder.Exists(DataTexts::kNanwidoFileName));
    EXPECT_EQ(folder.Read(DataTexts::kNanwidoFileName), "5");
    EXPECT_EQ(folder.Read(DataTexts::kSeikaiFileName),
              TableFileText({{"問キー", "その問の正解数"}, {"K1", "0"}, {"K2", "0"}, {"K3", "0"}}));
    const auto seikai = ModifiedAt(folder.Path() + "/" + DataTexts::kSeikaiFileName);
    const auto saveLoad = ModifiedAt(folder.Path() + "/" + DataTexts::kSaveLoadFileName);
    const auto nanwido = ModifiedAt(folder.Path() + "/" + DataTexts::kNanwidoFileName);
    EXPECT_TRUE(Before(seikai, saveLoad));
    EXPECT_TRUE(Before(saveLoad, nanwido));
}

TEST_F(Unit1Window, UnreadableDatabaseIsReportedAndLeftUntouched)
{
    // A folder where the save slots should be cannot be read as a file.
    ASSERT_EQ(::mkdir((folder.Path() + "/" + DataTexts::kSaveLoadFileName).c_str(), 0700), 0);
    auto form = OpenForm();
    ASSERT_FALSE(ShownMessages::texts().isEmpty());
    EXPECT_TRUE(ShownMessages::texts().first().contains(QStringLiteral("db_save_load.dat")));
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);

    MessageBox::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(std::filesystem::is_directory(Platform::PathOf(folder.Path() + "/" + DataTexts::kSaveLoadFileName)));
    EXPECT_TRUE(folder.Exists(DataTexts::kSeikaiFileName));
    EXPECT_TRUE(folder.Exists(DataTexts::kNanwidoFileName));
}

TEST_F(Unit1Window, AccessKeysOfHiddenScreensDoNotFire)
{
    WriteBank(folder, TypedBank(1));
    auto form = OpenForm();
    form->activateWindow();
    form->btnStartNormal->click();
    AnswerAndNext(*form, false); // a failed stage: the stage-end screen with chances left
    ASSERT_EQ(VisibleScreen(*form), form->pnlStageEnd);

    // Alt+S is "スタートヘ(&S)" here, not the hidden real-exam start button.
    EXPECT_TRUE(PressAccessKey(*form, Qt::Key_S, [&] { return !form->pnlStart->isHidden(); }));
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
    EXPECT_EQ(form->Drill.PlayMode, kModeNormal);

    // On the start screen the same key starts the real-exam random mode.
    EXPECT_TRUE(PressAccessKey(*form, Qt::Key_S, [&] { return !form->pnlMain->isHidden(); }));
    EXPECT_EQ(form->Drill.PlayMode, kModeHRand);
}

TEST_F(Unit1Window, JapaneseTranslationsGiveJapaneseButtons)
{
    ASSERT_TRUE(InstallJapaneseTranslations(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("いいえ(&N)"));
}

TEST_F(Unit1Window, BankThatCannotBeReadIsTreatedAsMissing)
{
    WorkFolder other;
    ASSERT_EQ(::mkdir((other.Path() + "/" + DataTexts::kToiFileName).c_str(), 0700), 0);
    auto form = OpenForm();
    EXPECT_FALSE(form->Drill.ToiFileFound);
    EXPECT_EQ(VisibleScreen(*form), form->pnlError);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(other.Exists(DataTexts::kSeikaiFileName));
}

TEST_F(Unit1Window, TabMovesThroughTheStartScreenInItsOrder)
{
    auto form = OpenForm();
    ASSERT_TRUE(form->btnStartNormal->hasFocus());
    // The option group's area drop-down and record button come after the
    // difficulty, its first control.
    const QWidget* expected[] = {form->btnStartJakuten, form->btnStartRand, form->cbNanwido,     form->cbBunya,
                                 form->btnKiroku,       form->btnLoadNormal, form->btnHNormalStart, form->btnHRandStart};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(Unit1Window, EnterPressesTheFocusedButtonOutsideTheQuestionScreen)
{
    auto form = OpenForm();
    form->btnLoadNormal->setFocus();
    QTest::keyClick(form->btnLoadNormal, Qt::Key_Return);
    EXPECT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    form->btnSLBack->setFocus();
    QTest::keyClick(form->btnSLBack, Qt::Key_Enter);
    EXPECT_EQ(VisibleScreen(*form), form->pnlStart);
}

namespace {
// An object whose handler fails, as a broken handler of the window would.
class FailingObject : public QObject {
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("handler failed");
        return QObject::event(event);
    }
};
} // namespace

TEST_F(Unit1Window, ExceptionInAHandlerIsShownAndTheProgramGoesOn)
{
    auto form = OpenForm();
    FailingObject failing;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&failing, &event);
    ASSERT_EQ(ShownMessages::texts(), QStringList {QStringLiteral("handler failed")});
    // The learner can still work and close with saving.
    form->btnStartNormal->click();
    EXPECT_EQ(VisibleScreen(*form), form->pnlMain);
}
