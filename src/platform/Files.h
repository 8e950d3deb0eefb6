#pragma once
// Files by descriptor, as POSIX has them, for the safe-file layer above
// (text/): every function takes UTF-8 paths and, on failure, leaves the
// reason in errno (Windows errors are mapped to the errno values that mean
// the same), so the layers above speak of steps and errno on every system.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace Platform {

// An open file for reading; never blocks on a FIFO of that name. -1 on failure.
int OpenForReading(const std::string& path);
// A file opened to add to its end, made (empty) when missing. A symbolic
// link of that name is never followed, and a FIFO never blocks the open.
int OpenForAppending(const std::string& path);
// A new file of exactly this name, with the mode a plain create gives;
// fails when the name is in use (by a link too).
int CreateNew(const std::string& path);
// A new file of a name not in use, beside `path` ("<path>.tmp-XXXXXX":
// kTemporarySuffix and kTemporaryNameLetters letters), readable and writable
// by its owner only; its name goes to `tempPath`. A crash can leave one
// behind, which start-up removes by this name (data/WriteLeftovers).
inline constexpr char kTemporarySuffix[] = ".tmp-";
inline constexpr std::size_t kTemporaryNameLetters = 6;
int CreateTemporaryBeside(const std::string& path, std::string& tempPath);

// Bytes read or written by one call, -1 on failure (EINTR is retried).
long long ReadSome(int fd, void* buffer, std::size_t size);
long long WriteSome(int fd, const void* buffer, std::size_t size);
// The file's bytes on the disk (fsync, FlushFileBuffers); SyncData may
// leave times that no reader needs (fdatasync).
bool SyncFile(int fd);
bool SyncData(int fd);
bool CloseFile(int fd);

struct FileKind {
    bool folder = false;
    bool regular = false;
    bool link = false;         // a symbolic link (or a Windows reparse point), only from InspectLink
    bool writable = false;     // write permission is set (not read-only)
    bool mine = true;          // owned by this process's user (always on Windows)
    std::uint64_t size = 0;
    unsigned mode = 0;         // POSIX permission bits (0666 or 0444 on Windows)
    unsigned owner = 0;        // user and group ids (0 on Windows)
    unsigned group = 0;
    std::uint64_t device = 0;  // the volume and the file's number on it:
    std::uint64_t id = 0;      // equal for two names of one file
};
// What is at a path, following a symbolic link (Inspect) or not
// (InspectLink), or behind a descriptor.
bool Inspect(const std::string& path, FileKind& kind);
bool InspectLink(const std::string& path, FileKind& kind);
bool InspectOpen(int fd, FileKind& kind);
// Whether this process may write the file (access(W_OK)).
bool MayWrite(const std::string& path);
// Whether this process may leave a file in `folder` that the folder's
// owner can always replace: it is the superuser (who gives the file away),
// the folder's owner, or the owner of the file it takes the place of (`old`,
// null for a new name). Anyone else would leave the folder's owner a file
// they cannot write. Always true on Windows, where files keep no owner here.
bool MayLeaveFileFor(const FileKind& folder, const FileKind* old);
// Gives a new file the owner, group and mode of the file it takes the place
// of, as far as this process may (only the superuser gives a file away).
// With none, it gets the mode a plain create gives and, when `folder` is
// given, the folder's owner and group. With `folder` given, a file that
// ends up neither the old one's owner's nor the folder's owner's is a
// failure (errno EPERM). Windows keeps only read-only or not.
bool TakeOwnerAndMode(int fd, const FileKind* old, const FileKind* folder = nullptr);
// The mode a plain create would give a new file (0666 less the umask).
unsigned NewFileMode();

// The path with every link resolved, in the system's own spelling; empty
// when it cannot be resolved (a link leading nowhere).
std::string CanonicalPath(const std::string& path);
// The separator that ends a canonical folder's path.
char PathSeparator();

// Puts `from` in the place of `to` in one step, replacing it: rename(2);
// MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
bool ReplaceFile(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
// Makes the folder's entries (a rename into it) durable; Windows does that
// with the write-through replace.
void SyncFolder(const std::string& folder);
// The names in a folder (any kind, no "." or ".."), unsorted; empty when it
// cannot be listed.
std::vector<std::string> FolderNames(const std::string& folder);

// The local time of a moment; false when the system cannot tell it.
bool LocalTime(std::time_t t, std::tm& local);

} // namespace Platform
