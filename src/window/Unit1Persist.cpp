// Keeping the learner's progress on disk while the program runs: the write
// at every stage end and the end without asking (termination signals, the
// end of the desktop session).
#include "window/Unit1.h"

#include "window/MessageBox.h"
#include "data/ProgressDb.h"

void TForm1::SaveProgressNow()
{
    if (!Drill.ToiFileFound || ended_)
        return;
    const ProgressWriteResult result = TryWriteDatabases();
    if (result.ok) {
        saveFailureTold_ = false;
        return;
    }
    // Told once: a disk that stays full must not stop the learner at every
    // stage end. The old file is still whole and the close tries again.
    if (saveFailureTold_)
        return;
    saveFailureTold_ = true;
    MessageBox::error(this, kWindowTitle,
                      QStringLiteral("%1 に学習の記録を保存できませんでした。\n"
                                     "前回保存した内容はそのまま残っています。学習はこのまま続けられます。\n"
                                     "終了するときにもう一度保存します。")
                          .arg(QString::fromStdString(FailedWritesText(result))));
}

int TForm1::EndWithoutAsking()
{
    if (ended_)
        return 0;
    ended_ = true;
    StopCountdown();
    if (Drill.ToiFileFound)
        WriteDatabases();
    return 0;
}
