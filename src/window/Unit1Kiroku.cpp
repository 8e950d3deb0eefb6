// The answer journal in the window: opened at start-up, where the answers
// the counts file does not hold yet are counted, and one row per judged
// answer, written before its verdict is shown.
#include "window/Unit1.h"
#include "text/SafeFile.h"

#include "window/MessageBox.h"
#include "data/DataTexts.h"
#include "data/WriteLeftovers.h"
#include "drill/KirokuCount.h"
#include "text/Clock.h"
#include "text/SystemReason.h"

void TForm1::OpenKiroku()
{
    // Before anything is written: what an interrupted write left behind.
    RemoveWriteLeftovers();
    // The counts file as it is on disk tells, through the mark, which
    // journal rows it holds.
    std::string bytes;
    const bool onDisk = DataFileExists(DataTexts::kSeikaiFileName)
                        && ReadRegularFile(DataTexts::kSeikaiFileName, bytes);
    kiroku_.Open(onDisk ? &bytes : nullptr);
    Drill.Writing.seikaiWatch = {[this](const std::string& written) { kiroku_.BeforeSeikaiWrite(written); },
                                 [this](bool replaced) { kiroku_.AfterSeikaiWrite(replaced); }};
    CountKirokuAnswers(Drill.ToiSeikaiTable, kiroku_.Entries(), kiroku_.FirstUncounted());
    for (const KirokuProblem& problem : kiroku_.Problems()) {
        startupWarnings_ << QStringLiteral("学習の記録 %1 を読み込めませんでした（%2）。\n"
                                           "このファイルには書き込みません。問題の正解数はこれまでどおり保存します。")
                                .arg(QString::fromStdString(problem.fileName),
                                     QString::fromStdString(FileReason(problem.reason)));
    }
    if (kiroku_.MarkRejected())
        startupWarnings_ << QStringLiteral("学習の記録の目印 %1 が学習の記録と合わないため、使いませんでした"
                                           "（検査が合いません）。\n"
                                           "記録済みの解答を二重に数えることはありません。学習の記録はこのまま続けます。")
                                .arg(QString::fromLatin1(kKirokuMarkFileName));
}

void TForm1::RecordAnswer(const Judgement& judged)
{
    FileError reason;
    if (!kiroku_.Writable() || kiroku_.Append(KirokuOfJudgement(Drill, judged, Clock::Now()), &reason))
        return;
    // Told once: the drill goes on, and the counts are kept as before.
    if (kirokuFailureTold_)
        return;
    kirokuFailureTold_ = true;
    MessageBox::error(this, kWindowTitle,
                      QStringLiteral("解答を学習の記録 %1 に書き込めませんでした（%2）。\n"
                                     "学習はこのまま続けられます。問題の正解数はこれまでどおり保存します。")
                          .arg(QString::fromLatin1(kKirokuFileName),
                               QString::fromStdString(FileReason(reason))));
}
