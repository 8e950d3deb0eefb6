#pragma once
// The window's edge between the Shift_JIS bytes of the data files and the
// Unicode texts that Qt shows; the drill and the databases never convert.
#include "text/SjisCodec.h"

#include <QString>
#include <string>

QString SjisToQString(const std::string& sjis);
bool QStringToSjis(const QString& text, std::string& sjis);
