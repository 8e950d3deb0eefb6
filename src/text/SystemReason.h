#pragma once
// Why a file could not be read or written, in Japanese words a learner
// understands, instead of the system's English text. Texts are UTF-8.
#include <string>

// Whether the file was being read or written: a refused access then reads
// "読み取りの権限がありません" or "書き込みの権限がありません".
enum class FileUse { Read, Write };

// The reason for a system error number: ENOSPC gives "ディスクがいっぱいです",
// EISDIR "フォルダです" and so on; an unknown number still gives a Japanese
// text that carries the number.
std::string SystemReason(int errorNumber, FileUse use);

// The same for a reason reported by the file reader and writer of the text
// tables ("is a folder", "open: Permission denied", ...).
std::string FileReason(const std::string& reason, FileUse use);
