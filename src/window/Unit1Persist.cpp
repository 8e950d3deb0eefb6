// Keeping the learner's progress on disk while the program runs: telling of a
// stage-end write that failed, the last write, and the end without asking
// (termination signals, the end of the desktop session).
#include "window/Unit1.h"

#include "window/MessageBox.h"
#include "data/ProgressDb.h"
#include "drill/ProgressKeeping.h"

void TForm1::ShowWriteFailure(const ProgressWriteResult& failure)
{
    MessageBox::error(this, kWindowTitle,
                      QStringLiteral("%1 に学習の記録を保存できませんでした。\n"
                                     "前回保存した内容はそのまま残っています。学習はこのまま続けられます。\n"
                                     "終了するときにもう一度保存します。")
                          .arg(QString::fromStdString(FailedWritesText(failure))));
}

void TForm1::WriteDatabases()
{
    KeepMogi(); // a paper being sat keeps its last second
    EndUnlessWritten(WriteLastProgress(Drill));
}

int TForm1::EndWithoutAsking()
{
    if (Drill.Writing.ended)
        return 0;
    StopCountdown();
    WriteDatabases();
    return 0;
}
