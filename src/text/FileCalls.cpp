#include "text/FileCalls.h"

#include "platform/Files.h"

namespace {
FileCalls* g_calls = nullptr;
} // namespace

FileCalls& FileCalls::Current()
{
    static FileCalls platform;
    return g_calls ? *g_calls : platform;
}

void FileCalls::SetInstance(FileCalls* calls)
{
    g_calls = calls;
}

int FileCalls::CreateTemporaryBeside(const std::string& path, std::string& tempPath)
{
    return Platform::CreateTemporaryBeside(path, tempPath);
}

int FileCalls::OpenForAppending(const std::string& path)
{
    return Platform::OpenForAppending(path);
}

long long FileCalls::WriteSome(int fd, const void* buffer, std::size_t size)
{
    return Platform::WriteSome(fd, buffer, size);
}

bool FileCalls::SyncFile(int fd)
{
    return Platform::SyncFile(fd);
}

bool FileCalls::CloseFile(int fd)
{
    return Platform::CloseFile(fd);
}

bool FileCalls::ReplaceFile(const std::string& from, const std::string& to)
{
    return Platform::ReplaceFile(from, to);
}
