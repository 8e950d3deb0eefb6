#pragma once
// The window's edge between the Shift_JIS bytes of the data files and the
// Unicode texts that Qt shows. Nothing inside the data layer converts.
#include <QString>
#include <string>

// Shift_JIS (code page 932) bytes to UTF-8. Bytes that are not valid
// Shift_JIS become U+FFFD, so a damaged cell still shows.
std::string SjisToUtf8(const std::string& sjis);
// UTF-8 to Shift_JIS. Returns false when a character has no Shift_JIS form
// (the output then holds "?" in its place) or the input is not UTF-8.
bool Utf8ToSjis(const std::string& utf8, std::string& sjis);

QString SjisToQString(const std::string& sjis);
bool QStringToSjis(const QString& text, std::string& sjis);
// For fixed texts known to convert; an unconvertible character becomes "?".
std::string ToSjis(const QString& text);
