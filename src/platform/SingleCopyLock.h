#pragma once
// The per-user lock that keeps a second copy of the program from starting:
// an flock on a file in the user's runtime folder on Linux, a named mutex on
// Windows. The system drops it when the process ends, however it ends, so a
// crashed copy never blocks the next start.
#include <string>

namespace Platform {

class SingleCopyLock {
public:
    // `name` is the lock's name ("UniqueName").
    explicit SingleCopyLock(std::string name);
    ~SingleCopyLock();
    SingleCopyLock(const SingleCopyLock&) = delete;
    SingleCopyLock& operator=(const SingleCopyLock&) = delete;

    enum class Result { Held, TakenByAnother, Unavailable };
    // Held: this process holds it now (also on a second call). Unavailable:
    // the lock could not be made at all (the reason is in Problem()).
    Result Acquire();
    const std::string& Problem() const { return problem_; }
    // The file (Linux) or object (Windows) that holds the lock.
    std::string Where() const;

private:
    std::string name_;
    std::string problem_;
    void* handle_ = nullptr; // a HANDLE on Windows
    int fd_ = -1;            // a descriptor on Linux
};

} // namespace Platform
