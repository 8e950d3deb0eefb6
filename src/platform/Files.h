#pragma once
// Files by descriptor, as POSIX has them, for the safe-file layer above
// (text/): every function takes UTF-8 paths and, on failure, leaves the
// reason in errno (Windows errors are mapped to the errno values that mean
// the same), so the layers above speak of steps and errno on every system.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Platform {

// An open file for reading; never blocks on a FIFO of that name. -1 on failure.
int OpenForReading(const std::string& path);
// An existing file opened for writing over its bytes (the length becomes 0).
int OpenForWritingInPlace(const std::string& path);
// A new file of a name not in use, beside `path` ("<path>.tmp-XXXXXX"),
// readable and writable by its owner only; its name goes to `tempPath`.
int CreateTemporaryBeside(const std::string& path, std::string& tempPath);

// Bytes read or written by one call, -1 on failure (EINTR is retried).
long long ReadSome(int fd, void* buffer, std::size_t size);
long long WriteSome(int fd, const void* buffer, std::size_t size);
// The file's bytes on the disk (fsync, FlushFileBuffers).
bool SyncFile(int fd);
bool CloseFile(int fd);

struct FileKind {
    bool folder = false;
    bool regular = false;
    bool writable = false;     // write permission is set (not read-only)
    std::uint64_t size = 0;
    unsigned mode = 0;         // POSIX permission bits (0666 or 0444 on Windows)
};
// What is at a path (following a symbolic link) or behind a descriptor.
bool Inspect(const std::string& path, FileKind& kind);
bool InspectOpen(int fd, FileKind& kind);
// Whether this process may write the file (access(W_OK)).
bool MayWrite(const std::string& path);
// Gives a file the permission bits (no more than read-only or not on Windows).
bool SetMode(int fd, unsigned mode);
// The mode a plain create would give a new file (0666 less the umask).
unsigned NewFileMode();

// Puts `from` in the place of `to` in one step, replacing it: rename(2);
// MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
bool ReplaceFile(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
// Makes the folder's entries (a rename into it) durable; Windows does that
// with the write-through replace.
void SyncFolder(const std::string& folder);

// Asks for large pages under a big buffer that is about to be filled (Linux,
// a measured gain on large banks); nothing elsewhere.
void AdviseLargePages(void* buffer, std::size_t size);

} // namespace Platform
