// The answer journal in the window: what start-up found wrong with it, and
// an answer that could not be recorded. The journal itself is the drill
// state's (Drill.Kiroku): opened by OpenStudy, written by AnswerToi.
#include "window/Unit1.h"

#include "window/MessageBox.h"
#include "data/Kiroku.h"
#include "text/SystemReason.h"

QStringList TForm1::KirokuWarnings(const StudyOpening& opening)
{
    QStringList warnings;
    for (const KirokuProblem& problem : opening.kirokuProblems) {
        warnings << QStringLiteral("学習の記録 %1 を読み込めませんでした（%2）。\n"
                                   "このファイルには書き込みません。問題の正解数はこれまでどおり保存します。")
                        .arg(QString::fromStdString(problem.fileName),
                             QString::fromStdString(FileReason(problem.reason)));
    }
    if (opening.markRejected)
        warnings << QStringLiteral("学習の記録の目印 %1 が学習の記録と合わないため、使いませんでした"
                                   "（検査が合いません）。\n"
                                   "記録済みの解答を二重に数えることはありません。学習の記録はこのまま続けます。")
                        .arg(QString::fromLatin1(kKirokuMarkFileName));
    return warnings;
}

void TForm1::ShowRecordFailure(const FileError& reason)
{
    MessageBox::error(this, kWindowTitle,
                      QStringLiteral("解答を学習の記録 %1 に書き込めませんでした（%2）。\n"
                                     "学習はこのまま続けられます。問題の正解数はこれまでどおり保存します。")
                          .arg(QString::fromLatin1(kKirokuFileName),
                               QString::fromStdString(FileReason(reason))));
}
