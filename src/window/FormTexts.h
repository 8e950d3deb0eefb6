#pragma once
// Fixed texts the window shows in more than one place, each written once.
#include <QString>
#include <QStringList>

namespace FormTexts {
// Before the difficulty's letter (Ａ..Ｆ) and before the chances left or the
// seconds left.
inline const QString kNanwido = QStringLiteral("難易度：");
inline const QString kNokori = QStringLiteral("残り：");
// What the edit box holds before the learner types.
inline const QString kPrompt = QStringLiteral("ここに入力。。。");
// The names of the five play modes, by PlayMode: ModeNames and the start
// screen's group titles.
inline const QStringList kModeNames = {QStringLiteral("通常モード"), QStringLiteral("ランダムモード"),
                                       QStringLiteral("弱点克服モード"), QStringLiteral("本試験通常"),
                                       QStringLiteral("本試験ランダム")};
} // namespace FormTexts
