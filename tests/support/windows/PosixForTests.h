#pragma once
// The few POSIX calls the tests make to set up their files, for the Windows
// build of the tests (force-included there by cmake/MiretoTest.cmake). What
// Windows has no such thing for (a FIFO, a symbolic link a user may make)
// fails with ENOSYS; the tests that need it are left out on Windows
// (tests/windows-excluded.txt).
#ifdef __cplusplus
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <io.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

// The tests' paths are UTF-8 (their folders have a Japanese name).
inline int mkdir(const char* path, int)
{
    std::error_code error;
    if (std::filesystem::create_directory(std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(path))),
                                          error))
        return 0;
    errno = error ? error.value() : EEXIST;
    return -1;
}
inline int mkfifo(const char*, int)
{
    errno = ENOSYS;
    return -1;
}
inline int symlink(const char*, const char*)
{
    errno = ENOSYS;
    return -1;
}
// No user ids on Windows: never the superuser, who alone may give a file away.
inline int geteuid()
{
    return 1;
}
inline int chown(const char*, int, int)
{
    errno = ENOSYS;
    return -1;
}
inline int setenv(const char* name, const char* value, int overwrite)
{
    if (!overwrite && std::getenv(name) != nullptr)
        return 0;
    return ::_putenv_s(name, value);
}
inline int unsetenv(const char* name)
{
    return ::_putenv_s(name, "");
}
#endif
