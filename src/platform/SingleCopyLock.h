#pragma once
// The lock that keeps a second copy of the program from working in the same
// folder. It belongs to the working folder, not to the session, so starts
// with different environments (the menu, su, ssh) still meet it, and two
// folders never block each other.
//
// Linux: an flock on a file the program makes in the folder itself
// (".<name>.lock", mode 0600; made by the superuser, it is the folder
// owner's, as every file the program makes there). Only a regular file owned
// by this user or by the folder's owner counts as the lock; anything else
// under that name (a symbolic link, a FIFO, another user's file) is removed
// and replaced, so it can neither block the start nor send the lock
// elsewhere. What cannot be removed (a folder with files in it, another
// user's file in a shared folder where only its owner may remove it) blocks
// the lock, and so the start: a copy without the lock could run beside
// another.
// Windows: a named mutex in the session's namespace, its name derived from
// the folder's final path.
//
// The system drops the lock when the process ends, however it ends, so a
// crashed copy never blocks the next start.
#include <string>

namespace Platform {

class SingleCopyLock {
public:
    // `name` is the lock's name ("UniqueName"); `folder` the working folder
    // (UTF-8), which must exist.
    SingleCopyLock(std::string name, std::string folder);
    ~SingleCopyLock();
    SingleCopyLock(const SingleCopyLock&) = delete;
    SingleCopyLock& operator=(const SingleCopyLock&) = delete;

    enum class Result { Held, TakenByAnother, ReadOnlyFolder, Blocked, Unavailable };
    // Held: this process holds it now (also on a second call).
    // ReadOnlyFolder: no file can be made in the folder, so no copy can write
    // anything there either. Blocked: something that is not the lock holds
    // its name and cannot be removed (or the name keeps changing).
    // Unavailable: the system gave no lock for another reason (a disk
    // error, a file system without locks). Problem() and ErrorNumber()
    // (errno, 0 if none) say why.
    Result Acquire();
    const std::string& Problem() const { return problem_; }
    int ErrorNumber() const { return error_; }
    // The file (Linux) or object (Windows) that holds the lock.
    std::string Where() const;

private:
    std::string name_;
    std::string folder_;
    std::string problem_;
    int error_ = 0;
    void* handle_ = nullptr; // a HANDLE on Windows
    int fd_ = -1;            // a descriptor on Linux
};

} // namespace Platform
