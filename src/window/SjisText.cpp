#include "window/SjisText.h"

QString SjisToQString(const std::string& sjis)
{
    return QString::fromStdString(SjisToUtf8(sjis));
}

bool QStringToSjis(const QString& text, std::string& sjis)
{
    return Utf8ToSjis(text.toStdString(), sjis);
}
