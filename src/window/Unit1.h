#pragma once
// The main window TForm1: one fixed 993 x 650 window whose screens are
// panels shown one at a time. The screens other than the start and error
// screens are built the first time one of them is shown: until then their
// panels and controls are null. The window owns the drill state; its handlers
// read the controls, call one Qt-free operation of the drill (src/drill,
// src/saveload) and show what it returns.
#include "data/ProgressDb.h"
#include "drill/DrillState.h"
#include "drill/Judge.h"
#include "drill/MogiSitting.h"
#include "drill/Presentation.h"
#include "drill/StageEnd.h"
#include "drill/StudyOpening.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QStatusBar;
class QTimer;
class QTreeWidget;
class TChoiceBox;
class TPanel;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    static const QString kWindowTitle; // "MIRETO for DATAQUALIFY - 資格向け学習ソフト"

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The drill state, under the names the rules use.
    DrillState Drill;
    QStringList ModeNames;
    QStringList NumberLabels;
    QStringList AlphaLabels;
    QStringList IrohaLabels;
    QStringList AiueoLabels; // ア(&1), イ(&2), ウ(&3), エ(&4) ... as the exam paper labels
    std::array<const QStringList*, 4> LabelLists {};
    QList<QCheckBox*> AnswerBoxes;
    QImage ToiBitmap;
    QImage KaisetuBitmap;

    // Screens.
    void HideAllScreens();
    void ShowStartScreen();
    void ShowErrorScreen(const QString& message);
    void ShowStageEnd();
    void ShowStageEnd(const StageEndView& view);
    void ShowFinalResults();
    void ShowSaveLoadScreen();
    void FillSaveLoadList();
    // Presents ToiList[ToiIndex]; false (start screen shown, no countdown)
    // when there is no question to present.
    bool PresentToi();
    // Store/restore the run in slot row r + 1.
    void StoreSessionInSlot(int r);
    bool RestoreSessionFromSlot(int r);

    // Countdown.
    void StartCountdown();
    void StopCountdown();
    void ShowTime();

    // A stage-end write that failed: which file and why, that the old file
    // is intact and that the close tries again. The drill goes on.
    void ShowWriteFailure(const ProgressWriteResult& failure);
    // Ends the program without asking (a termination signal, the end of the
    // desktop session): writes the three databases as a confirmed close
    // would, unless the close has already written them or the bank was
    // missing. A failed write ends the process as at close (status 1).
    // Returns the exit status, 0. A later close event then closes the window
    // without asking and without writing.
    int EndWithoutAsking();

    QString StatusText() const;
    // The button that Return and Enter press on the question screen.
    QPushButton* DefaultButton() const;

public slots:
    void btnStartNormalClick();
    void btnStartRandClick();
    void btnStartJakutenClick();
    void btnHNormalStartClick();
    void btnHRandStartClick();
    void btnLoadNormalClick();
    void cbNanwidoChange(int index);
    void edtInputMouseDown();
    void btnEnterClick();
    void btnNextClick();
    void Timer1Timer();
    void btnNextStageClick();
    void btnSEStartBackClick();
    void btnSESaveClick();
    void btnFseStartBackClick();
    void btnSaveLoadClick();
    void btnSLBackClick();
    void cbBunyaChange(int index);
    void btnKirokuClick();
    void btnKirokuBackClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StartUp();
    void InitDataAndScreens();
    void PrepareScreens();
    void CreateControls();
    // Builds and prepares the screens the start does not show, once; every
    // operation that shows one of them calls it first.
    void CreateHiddenScreens();
    void PrepareHiddenScreens();
    void CreateStartScreen();
    void CreateMainScreen();
    void CreateStageEndScreen();
    void CreateFinalScreen();
    void CreateSaveLoadScreen();
    void CreateBottomStrips();
    // Starts a run in the given mode (the five start buttons).
    void StartRunOnScreen(PlayModeValue playMode);
    // Parts of presenting a question and showing its judgement.
    void ShowToiSideColumn(const ToiView& view);
    void ShowAnswerControls(const ToiView& view);
    void ShowToiTextOrPicture(const ToiView& view);
    void ShowToiTextOrPicture(const ToiView& view, QPlainTextEdit* memo, QScrollArea* box, QLabel* image);
    GivenAnswer GivenAnswerOnScreen() const;
    void ShowJudgement(const Judgement& judged);
    void ShowKaisetu(const Judgement& judged);
    // "正解！" or "不正解！" told apart by colour too; nothing before judging.
    void ShowTrueOrFalse(std::optional<bool> seikai);
    void ShowMemo(QPlainTextEdit* memo, const QString& text);
    void SetStatusText(const QString& text);
    void SetDefaultButton(QPushButton* button);
    void ShowProgressStrip(bool visible);
    // Shows the picture read from fileName scaled to the box; false, with the
    // reason, when its shown size would pass the picture bounds.
    bool ShowPicture(QScrollArea* box, QLabel* image, const QImage& bitmap, const std::string& fileName,
                     QString* reason);
    QString NanwidoText() const;
    // The last write of the three databases (a confirmed close, an end
    // without asking); a file that cannot be written ends the program.
    void WriteDatabases();
    // What the start-up found (OpenStudy), told in one box; the journal's
    // part of it and an answer that could not be recorded (Unit1Kiroku.cpp).
    void ShowStartupWarnings(const StudyOpening& opening);
    static QStringList KirokuWarnings(const StudyOpening& opening);
    void ShowRecordFailure(const FileError& reason);
    // Study by area and the study record (Unit1Bunya.cpp, Unit1Record.cpp).
    void CreateBunyaControls();
    void FillBunyaChoices();
    void SelectBunyaItem();
    void ChooseBunyaForRun();
    void CreateKirokuScreen();
    // Today's review and the record's forecast (Unit1Bunya.cpp,
    // Unit1Record.cpp): the journal's answers, read in this one place, and
    // the box for a choice with nothing to ask.
    const std::vector<KirokuEntry>& JournalEntries() const;
    void TellNoBunyaQuestions();


public:
    // Controls, named as the form names them.
    QStatusBar* StatusBar1 = nullptr;
    TPanel* pnlProgress = nullptr;
    QLabel* lblTime = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QTimer* Timer1 = nullptr;

    TPanel* pnlStart = nullptr;
    TPanel* pnlMain = nullptr;
    TPanel* pnlStageEnd = nullptr;
    TPanel* pnlFinalStageEnd = nullptr;
    TPanel* pnlSaveLoad = nullptr;
    TPanel* pnlError = nullptr;

    QLabel* lblSTitle = nullptr;
    QGroupBox* gbNormal = nullptr;
    QPushButton* btnStartNormal = nullptr;
    QGroupBox* gbJakuten = nullptr;
    QPushButton* btnStartJakuten = nullptr;
    QGroupBox* gbRand = nullptr;
    QPushButton* btnStartRand = nullptr;
    QGroupBox* gbOption = nullptr;
    QLabel* lblNanwido = nullptr;
    QComboBox* cbNanwido = nullptr;
    QGroupBox* gbLoad = nullptr;
    QPushButton* btnLoadNormal = nullptr;
    QGroupBox* gbHNormal = nullptr;
    QPushButton* btnHNormalStart = nullptr;
    QGroupBox* gbHRand = nullptr;
    QPushButton* btnHRandStart = nullptr;
    // In gbOption beside the difficulty: the area drop-down and the way to
    // the study record.
    QLabel* lblBunya = nullptr;
    QComboBox* cbBunya = nullptr;
    QPushButton* btnKiroku = nullptr;
    // The study record screen.
    TPanel* pnlKiroku = nullptr;
    class KirokuView* kirokuView = nullptr;
    QPushButton* btnKirokuBack = nullptr;

    TPanel* pnlMainToi = nullptr;
    QPlainTextEdit* memToiBun = nullptr;
    QScrollArea* sboxToi = nullptr;
    QLabel* imgToi = nullptr;
    TPanel* pnlMainKaisetu = nullptr;
    QPlainTextEdit* memKaisetuBun = nullptr;
    QScrollArea* sboxKaisetu = nullptr;
    QLabel* imgKaisetu = nullptr;
    TPanel* pnlMainLine1 = nullptr;
    QLabel* lblStageNumber = nullptr;
    QLabel* lblMainNanwido = nullptr;
    QLabel* lblMainNokori = nullptr;
    QLabel* lblToiKey = nullptr;
    QLabel* lblMainMode = nullptr;
    std::array<TChoiceBox*, 8> cb {};
    QLineEdit* edtInput = nullptr;
    QLabel* lblTrueOrFalse = nullptr;
    QPushButton* btnEnter = nullptr;
    QPushButton* btnNext = nullptr;

    QLabel* lblSETitle = nullptr;
    QLabel* lblKekka = nullptr;
    QLabel* lblSEMode = nullptr;
    QLabel* lblSENanwido = nullptr;
    QLabel* lblMonchuMonseikai = nullptr;
    QLabel* lblSENokori = nullptr;
    QPushButton* btnNextStage = nullptr;
    QPushButton* btnSEStartBack = nullptr;
    QPushButton* btnSESave = nullptr;

    QLabel* lblFseTitle1 = nullptr;
    QLabel* lblFseTitle2 = nullptr;
    QLabel* lblFseNanwido = nullptr;
    QLabel* lblFseMode = nullptr;
    QTreeWidget* lvSeiseki = nullptr;
    QPushButton* btnFseStartBack = nullptr;

    QLabel* lblSLTitle = nullptr;
    QTreeWidget* lvSaveLoad = nullptr;
    QPushButton* btnSaveLoad = nullptr;
    QPushButton* btnSLBack = nullptr;

private:
    QPushButton* defaultButton_ = nullptr;

    // --- The mock exam (模擬試験): Unit1Mogi.cpp (start, sitting, keeping
    // the paper, hand-in), Unit1MogiKekka.cpp (result and review).
public slots:
    void btnMogiStartClick();
    void MogiTimerTick();
    void btnMogiPrevClick();
    void btnMogiNextClick();
    void btnMogiSaitenClick();
    void btnMogiReviewBackClick();
    void btnMogiFukushuClick();
    void btnMogiKekkaStartClick();

public:
    QPushButton* btnMogiStart = nullptr;
    TPanel* pnlMogi = nullptr;
    QPlainTextEdit* memMogiToi = nullptr;
    QScrollArea* sboxMogiToi = nullptr;
    QLabel* imgMogiToi = nullptr;
    QLabel* lblMogiTime = nullptr;
    QLabel* lblMogiNumber = nullptr;
    std::array<QCheckBox*, 4> cbMogi {};
    QCheckBox* chkMogiMark = nullptr;
    std::array<QPushButton*, 25> btnMogiCell {};
    QPushButton* btnMogiPrev = nullptr;
    QPushButton* btnMogiNext = nullptr;
    QPushButton* btnMogiSaiten = nullptr;
    QTimer* MogiTimer = nullptr;
    TPanel* pnlMogiKekka = nullptr;
    QLabel* lblMogiScore = nullptr;
    QLabel* lblMogiGokaku = nullptr;
    QLabel* lblMogiTimeUsed = nullptr;
    QLabel* lblMogiNote = nullptr;
    QTreeWidget* lvMogiKubun = nullptr;
    QTreeWidget* lvMogiToi = nullptr;
    QPushButton* btnMogiFukushu = nullptr;
    QPushButton* btnMogiKekkaStart = nullptr;
    QPushButton* btnMogiReviewBack = nullptr;
    // The paper being sat (nullopt: none), its bank rows.
    const std::optional<MogiPaperState>& MogiPaper() const { return mogi_; }

private:
    void CreateMogiStartButton();
    void CreateMogiScreens();
    void CreateMogiKekkaScreen();
    void BeginMogi(MogiPaperState paper, std::vector<std::int32_t> rows);
    void ShowMogiToi(std::int32_t index);
    void ShowMogiOverview();
    void ShowMogiClock();
    void MogiChoiceClick(int choice);
    void MogiMarkClick(bool marked);
    // Writes the paper in progress (nothing once handed in); a failure is
    // told once. Also at a close with はい and at an end without asking.
    void KeepMogi();
    void HandInMogi();
    // The hand-in's writes from the start or from where a crash cut them.
    void FinishMogiHandIn();
    // Records one answer of a handed-in paper: its count and its journal row.
    void RecordMogiAnswer(const KirokuEntry& entry);
    void ShowMogiKekka();
    void ShowMogiReview(int index);

    std::optional<MogiPaperState> mogi_;
    std::vector<std::int32_t> mogiRows_;
    MogiResult mogiResult_;
    bool mogiHaibunTold_ = false;
    bool mogiWriteFailureTold_ = false;
    std::int32_t mogiTicksUnwritten_ = 0;
    // The paper has been handed in: it is no longer written.
    bool mogiHandedIn_ = false;
};
