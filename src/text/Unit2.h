#pragma once
// Text tables and string utilities.
//
// Every data file is a "table file": one line per row, each cell in double
// quotes, cells separated by a comma, lines ended by CR LF. Texts are
// Shift_JIS byte strings; lengths and positions count bytes. Nothing here
// knows about the drill or the window.
#include "text/TextRow.h"

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <vector>

using TextTable = std::map<std::int32_t, TextRow>;

// Reads a table file. The caller has checked DataFileExists; an unreadable
// file reads as an empty table (use ReadWholeFileChecked to tell).
//
// The bytes up to the first NUL are read; every CR is dropped; each LF ends
// a line, and the bytes after the last LF are no line. Each line loses its
// first and last byte (the outer quotes, whatever those bytes are) and the
// rest is cut into cells at every quote, comma, quote. A byte of 0x80 or
// above and the byte after it are one two-byte character, counted from the
// start of those cells' bytes: a line end never belongs to a character, so a
// cell never holds CR or LF, and a quote or comma that is the second byte of
// a character is no cell boundary. A character whose first byte is 0x80-0x9F
// or 0xE0-0xEF (the JIS X 0208 lead bytes, and 0x80) reads as its conversion
// to EUC-JP and back gives it: unchanged, except a second byte 0x7F, which
// becomes 0x7E. Every other byte reads as it is (the conversion would shift
// the pairing of all the bytes after it). Any table read, written with TableToText
// and WriteTextFile and read again, is the same table.
//
// A line too short for its two quotes reads as a row of one empty cell, so
// the rows after it keep their numbers; such lines at the end of the file are
// dropped.
TextTable LoadTextTable(const std::string& fileName);
// The table file text of a table: quoted cells, comma separated, LF ends.
std::string TableToText(const TextTable& table);
// Replaces the file with the text, each LF written as CR LF. The new bytes go
// to a temporary file beside it, which is flushed, synced and renamed over
// the old one, so an interrupted write leaves the old file whole. A symbolic
// link is followed (the link stays); only in a folder that refuses new files
// is an existing file rewritten in place. When the file cannot be written,
// prints "ファイルをオープンできません" to standard error and ends the
// process at once with exit status 1.
void WriteTextFile(const std::string& text, const std::string& fileName);
// The same write without ending the process: returns false (old file kept)
// and puts a short reason in *error.
bool TryWriteTextFile(const std::string& text, const std::string& fileName, std::string* error = nullptr);
// WriteTextFile with exactly these bytes, no line-end conversion: the same
// safe replacement, the same end of the process when it fails.
void WriteBytesFile(const std::string& bytes, const std::string& fileName);
// The same safe replacement with exactly these bytes, no line-end conversion.
bool TryWriteBytesFile(const std::string& bytes, const std::string& fileName, std::string* error = nullptr);
// The file's bytes up to the first NUL byte or the end; empty when unreadable.
std::string ReadWholeFile(const std::string& fileName);
// As ReadWholeFile, but tells whether the file could be read at all (a
// folder, no permission or a read error give false and a reason).
bool ReadWholeFileChecked(const std::string& fileName, std::string& text, std::string* error = nullptr);
// Every byte of a regular file, NUL bytes included; false and a reason for
// anything else (a folder, a FIFO, a read error, more than maxBytes).
bool ReadFileBytes(const std::string& fileName, std::string& bytes, std::string* error = nullptr,
                   std::uint64_t maxBytes = UINT64_MAX);
// Steps 3 to 6 of LoadTextTable on a text already in EUC-JP order.
TextTable ParseTableText(const std::string& text);
// LoadTextTable on a file's bytes already read, so a caller that checked the
// read with ReadWholeFileChecked reads the file only once. The rows keep
// their cells in one copy of the bytes; handing the bytes over (std::move)
// saves that copy.
TextTable ParseTableFile(const std::string& bytes);
TextTable ParseTableFile(std::string&& bytes);
// The bytes WriteTextFile writes for TableToText(table): CR LF line ends.
std::string TableToFileBytes(const TextTable& table);

std::vector<std::string> SplitText(const std::string& text, const std::string& marker);
std::string ReplaceAll(const std::string& text, const std::string& marker, const std::string& replacement);
std::string EraseAll(const std::string& text, const std::string& marker);
// Byte position of the first occurrence at or after start, or -1.
std::int64_t FindText(const std::string& text, const std::string& marker, std::int64_t start);
std::string SubText(const std::string& text, std::int64_t position, std::int64_t count);
std::string IntToText(std::int32_t value);
// Leading blanks, an optional sign, then digits; 0 without digits. A digit
// run beyond the 32-bit range clamps to INT32_MAX or INT32_MIN.
std::int32_t TextToInt(const std::string& text);

std::string SjisToEuc(const std::string& text);
std::string EucToSjis(const std::string& text);

// Local date and time as "Www Mmm dd hh:mm:ss yyyy", English names, 24 bytes.
std::string NowText();
// The same text for a given calendar time (local time).
std::string TimeToText(std::time_t t);

// True when the name exists in the working folder (file or folder).
bool DataFileExists(const std::string& fileName);

// While one lives, the file writes above sync their folder (which makes a
// rename durable) only when it ends, once per folder: a batch of files in
// one folder costs one folder sync, not one each. Each file is still
// replaced whole or not at all.
class FolderSyncBatch {
public:
    FolderSyncBatch();
    ~FolderSyncBatch();
    FolderSyncBatch(const FolderSyncBatch&) = delete;
    FolderSyncBatch& operator=(const FolderSyncBatch&) = delete;

private:
    std::vector<std::string> folders_;
    bool outermost_ = false;
};

// Test hook: makes the next TryWriteTextFile fail at the given step
// (open, write, sync, rename), to prove the old file survives each one.
// CreateDenied makes the folder refuse the temporary file. Write fails with
// a full disk. `times` writes fail (a negative count: every write, like a
// disk that stays full, until the hook is set to None).
enum class WriteFault { None, Open, Write, Sync, Rename, CreateDenied };
void SetWriteFaultForTest(WriteFault fault, int times = 1);
