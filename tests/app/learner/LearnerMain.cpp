// A stand-in learner for the tests of the real process: the real program
// (RunProgram, with its signal handling and message loop), whose window is
// played through here before the loop starts. The test then sends signals
// from outside, or kills the process, and looks at the files.
//
//   mireto_learner answer N     answer N questions (normal mode, right), wait
//   mireto_learner close N      the same, then a close answered はい
//   mireto_learner closesignal N  the same close, with SIGTERM and SIGHUP
//                               already pending while it writes
//   mireto_learner box N        the same, then a close whose question stays
//                               open (a real modal box) and wait
//   mireto_learner fulldisk N F answer N questions with the disk full for
//                               the next F writes (-1: for good), wait
//   mireto_learner play N       answer N questions, going on at every stage
//                               end, each told as "judged I R" once its
//                               verdict shows; then a close answered はい.
//                               Stopped at a write point by KillPoints.cpp.
//   mireto_learner recount 0    print the counts the start-up arrived at
//                               ("count KEY N") and the start-up's boxes,
//                               then a close answered はい
//
// "ready" on standard output means the window waits for the test; before it,
// every message box text shown so far, one per line, prefixed with "box: ".
#include "app/Program.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "text/SafeFile.h"
#include "support/FormHarness.h"
#include "support/FailingDisk.h"
#include "support/ShownMessages.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void PrintBoxes()
{
    for (const QString& text : ShownMessages::texts())
        std::printf("box: %s\n", text.simplified().toUtf8().constData());
}

void Report()
{
    PrintBoxes();
    std::printf("ready\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string mode = argv[1];
    const int answers = std::atoi(argv[2]);
    const int faults = argc > 3 ? std::atoi(argv[3]) : 0;
    // Before the window is made, so a start-up warning is recorded, not shown.
    ShownMessages::Record(mode != "box");
    return RunProgram(1, argv, [&](TForm1& form) {
        if (mode == "play" || mode == "recount") {
            if (mode == "recount") {
                for (const auto& [row, cells] : form.Drill.ToiSeikaiTable)
                    if (row > 0 && cells.size() > 1)
                        std::printf("count %s %s\n", cells[0].c_str(), cells[1].c_str());
                PrintBoxes();
            } else {
                QTest::mouseClick(form.btnStartNormal, Qt::LeftButton);
                for (int i = 0; i < answers; ++i) {
                    if (form.pnlStageEnd->isVisible())
                        QTest::mouseClick(form.btnNextStage, Qt::LeftButton);
                    const bool right = i % 3 != 2;
                    TypeAnswer(form, right ? QStringLiteral("A%1").arg(form.Drill.CurrentRow()) : QStringLiteral("x"));
                    QTest::mouseClick(form.btnEnter, Qt::LeftButton);
                    std::printf("judged %s %d\n", form.lblToiKey->text().toUtf8().constData(),
                                form.lblTrueOrFalse->text() == QStringLiteral("正解！") ? 1 : 0);
                    std::fflush(stdout);
                    QTest::mouseClick(form.btnNext, Qt::LeftButton);
                }
            }
            std::fflush(stdout);
            QTimer::singleShot(0, &form, [&form] {
                MessageBox::setNextAnswer(QMessageBox::Yes);
                form.close();
            });
            return;
        }
        QTest::mouseClick(form.btnStartNormal, Qt::LeftButton);
        if (mode == "fulldisk")
            SetWriteFault(WriteFault::Write, faults);
        // Every third answer is wrong, so counts and stage results vary.
        for (int i = 0; i < answers; ++i)
            AnswerAndNext(form, i % 3 != 2);
        // Both closes come from the message loop, as a click on the
        // window's close button would.
        if (mode == "close" || mode == "closesignal") {
            QTimer::singleShot(0, &form, [&form, mode] {
                if (mode == "closesignal") {
                    // Delivered now; the event loop sees them only after
                    // the close has written.
                    ::raise(SIGTERM);
                    ::raise(SIGHUP);
                }
                MessageBox::setNextAnswer(QMessageBox::Yes);
                form.close();
            });
            return;
        }
        if (mode == "box") {
            // Told from inside the question's own event loop.
            QTimer::singleShot(0, &form, [&form] {
                QTimer::singleShot(0, [] { Report(); });
                form.close();
            });
            return;
        }
        Report();
    });
}
