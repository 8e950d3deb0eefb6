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
} // namespace FormTexts
