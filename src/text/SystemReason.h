#pragma once
// Why a file could not be read or written: the step that failed and the
// system's error number travel together (FileError) up to the one place that
// words them, in Japanese a learner understands. Texts are UTF-8.
#include <cstdint>
#include <string>

// Whether the file was being read or written: a refused access then reads
// "読み取りの権限がありません" or "書き込みの権限がありません".
enum class FileUse { Read, Write };

// The step of reading or replacing a file that failed.
enum class FileStep {
    Open,        // opening the file to read it
    Read,        // reading its bytes
    NotRegular,  // a folder, a FIFO, a device: no file to read or replace
    TooLarge,    // more bytes than any real file of the program holds
    Create,      // making the new file beside the old one
    Write,       // writing the new bytes
    Sync,        // putting them on the disk
    Rename,      // putting the new file in the old one's place
    NotWritable, // the file is read-only (as the learner meant it)
    LinkOutside, // a symbolic link that leads out of the file's folder
    OthersFolder, // another user's folder: its owner could not replace the file
};

struct FileError {
    FileStep step = FileStep::Open;
    int number = 0; // errno, 0 where the step says it all
    // TooLarge: the largest size of this file, in bytes (0: not known).
    std::uint64_t limit = 0;
};

// The reason for a system error number: ENOSPC gives "ディスクがいっぱいです",
// EISDIR "フォルダです" and so on; an unknown number still gives a Japanese
// text that carries the number.
std::string SystemReason(int errorNumber, FileUse use);

// The reason for a failed step of reading or replacing a file.
std::string FileReason(const FileError& error);
