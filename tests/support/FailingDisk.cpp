#include "FailingDisk.h"

#include "platform/Files.h"
#include "text/FileCalls.h"

#include <algorithm>
#include <cerrno>
#include <set>

namespace {

class FailingDisk : public FileCalls {
public:
    // The one disk, in place from the test program's start, so that it knows
    // every file opened (it passes every call through while no fault is set).
    static FailingDisk& Installed()
    {
        static FailingDisk disk;
        SetInstance(&disk);
        return disk;
    }

    WriteFault fault = WriteFault::None;
    int faultTimes = 0;
    std::size_t heldBack = 0;
    int appendTimes = 0;

    int CreateTemporaryBeside(const std::string& path, std::string& tempPath) override
    {
        if (Fires(WriteFault::Open))
            return errno = ENOSPC, -1;
        if (Fires(WriteFault::CreateDenied))
            return errno = EACCES, -1;
        const int fd = Platform::CreateTemporaryBeside(path, tempPath);
        if (fd >= 0)
            replacing_.insert(fd);
        return fd;
    }

    int OpenForAppending(const std::string& path) override
    {
        const int fd = Platform::OpenForAppending(path);
        if (fd >= 0)
            appending_.insert(fd);
        return fd;
    }

    // A write that fails writes part of its bytes, and the call after it
    // finds the disk full.
    long long WriteSome(int fd, const void* buffer, std::size_t size) override
    {
        if (full_.erase(fd))
            return errno = ENOSPC, -1;
        std::size_t part = size;
        if (replacing_.count(fd) && Fires(WriteFault::Write)) {
            part = size / 2;
        } else if (appending_.count(fd) && appendTimes != 0) {
            if (appendTimes > 0)
                --appendTimes;
            part = size - std::min(size, heldBack);
        } else {
            return Platform::WriteSome(fd, buffer, size);
        }
        if (part == 0)
            return errno = ENOSPC, -1;
        full_.insert(fd);
        return Platform::WriteSome(fd, buffer, part);
    }

    bool SyncFile(int fd) override
    {
        if (replacing_.count(fd) && Fires(WriteFault::Sync))
            return errno = EIO, false;
        return Platform::SyncFile(fd);
    }

    bool CloseFile(int fd) override
    {
        replacing_.erase(fd);
        appending_.erase(fd);
        full_.erase(fd);
        return Platform::CloseFile(fd);
    }

    bool ReplaceFile(const std::string& from, const std::string& to) override
    {
        if (Fires(WriteFault::Rename))
            return errno = EXDEV, false;
        return Platform::ReplaceFile(from, to);
    }

private:
    // Takes the set fault if it is for this step; it fires as many times as
    // it was set for (a negative count: until it is cleared).
    bool Fires(WriteFault step)
    {
        if (fault != step)
            return false;
        if (faultTimes > 0 && --faultTimes == 0)
            fault = WriteFault::None;
        return true;
    }

    std::set<int> replacing_; // a replacement's new files
    std::set<int> appending_; // the journals
    std::set<int> full_;      // the next write finds the disk full
};

const bool g_installed = (FailingDisk::Installed(), true);

} // namespace

void SetWriteFault(WriteFault fault, int times)
{
    FailingDisk& disk = FailingDisk::Installed();
    disk.fault = times == 0 ? WriteFault::None : fault;
    disk.faultTimes = times;
}

void SetAppendFault(std::size_t heldBack, int times)
{
    FailingDisk& disk = FailingDisk::Installed();
    disk.heldBack = heldBack;
    disk.appendTimes = times;
}
