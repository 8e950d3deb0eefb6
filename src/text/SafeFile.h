#pragma once
// Reading a file and replacing one safely: the one place where the program,
// the learner's folder and the tools touch files. Every read is bounded and
// never blocks; every replacement leaves the old file or the new one, never
// a mix, and never writes outside the file's folder.
//
// The system's own calls are the platform layer's (platform/Files.h), those
// of a replacement and an append through text/FileCalls.h.
#include "text/FileLimits.h"
#include "text/SystemReason.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every byte of a regular file, NUL bytes included. The file is opened
// without blocking, so a FIFO or a device of that name neither hangs the
// program nor is read; only a regular file of at most maxBytes (the limit of
// its kind, text/FileLimits.h) is read.
bool ReadRegularFile(const std::string& fileName, std::string& bytes, FileError* error = nullptr,
                     std::uint64_t maxBytes = kMaxReadBytes);

// Whose a file written in a folder is to be.
// FolderOwner: the folder's owner must always be able to replace it (the
// learner's files, whoever runs the program): a new file is given to the
// folder's owner (only the superuser can give it), and a process that could
// leave the owner a file they cannot write writes nothing (FileStep::
// OthersFolder). Writer: the user who writes it (a tool's output, at a place
// named on its command line); a replaced file keeps its owner as far as
// this process may give it.
enum class NewFileOwner { FolderOwner, Writer };

// Replaces the file with exactly these bytes. They go to a new file made
// beside it (exclusively, no link followed), which is synced and renamed
// over the old one: an interruption at any step leaves the old file whole.
// The new file keeps the old one's owner and mode (a file where there was
// none: see NewFileOwner). A read-only file is not
// replaced. A symbolic link is replaced where it leads only when that lies
// inside the link's folder (the link stays); one that leads out of it is
// never written. A file is never truncated in place.
bool ReplaceFile(const std::string& fileName, std::string_view bytes, FileError* error = nullptr,
                 NewFileOwner owner = NewFileOwner::FolderOwner);

// Makes a new file with these bytes, synced, the folder's owner's (as
// NewFileOwner::FolderOwner); fails when the name exists.
bool CreateNewFile(const std::string& fileName, std::string_view bytes, FileError* error = nullptr);

// True when the name is a symbolic link that leads out of its folder (or
// nowhere): ReplaceFile will not write it.
bool LinkLeadsOutside(const std::string& fileName);

// What a name is, a symbolic link not followed. Unknown when that cannot
// be told (the reason goes to `error`, as an open's).
enum class EntryKind { Missing, Regular, Link, Other, Unknown };
EntryKind KindAt(const std::string& name, FileError* error = nullptr);

// Puts a file in the place of another in one step (rename), replacing it.
bool RenameFile(const std::string& from, const std::string& to);
// Makes a folder's entries (a new name, a rename) durable.
void SyncFolder(const std::string& folder);

// A file that only grows at its end (the answer journal). Open makes it when
// missing (whole, the folder's owner's, as ReplaceFile makes a new file),
// never follows a symbolic link and takes only a regular file.
class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool Open(const std::string& fileName, FileError* error);
    // Every byte, at the end; on failure `written` tells how many got there.
    bool Append(std::string_view bytes, std::size_t& written, FileError* error);
    // The bytes on the disk.
    bool Sync(FileError* error);

private:
    int fd_ = -1;
};

// The names in a folder (files of any kind, no "." or ".."), unsorted.
std::vector<std::string> FolderNames(const std::string& folder);
// Removes a regular file of this user (never a link, a folder or another
// user's file). True when it was removed.
bool RemoveOwnFile(const std::string& fileName);

// The folder of a path: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path);

// The end of the program after a database write failed: prints
// "ファイルをオープンできません" on standard error and ends at once with
// exit status 1.
[[noreturn]] void EndAfterFailedWrite();

// While one lives, a replacement syncs its folder (which makes the rename
// durable) only when the batch ends, once per folder: a batch of files in
// one folder costs one folder sync, not one each.
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
