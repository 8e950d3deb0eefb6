// Stops the stand-in learner with SIGKILL at a chosen write point, as a
// crash or a power cut would: every sync and every rename the program makes
// is a point, counted before and after the call. Linked into the learner
// only, where these definitions stand in for the C library's.
//
//   MIRETO_KILL_AT=N    SIGKILL at point N (from 1)
//   MIRETO_KILL_LIST=1  name every point on standard error: "point N: what"
//   MIRETO_KILL_CUT=A:K SIGKILL in the middle of the A-th write to the
//                       journal, once all but its last K bytes are in the
//                       file (K = 2: right after a row's closing quote)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

long g_point = 0;

std::string FdName(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return "?";
    std::string name(target, static_cast<std::size_t>(n));
    const auto slash = name.find_last_of('/');
    // A folder's sync is named by the folder; a file by its own name.
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// Only the program's own files and folder syncs are points: whatever else
// a library syncs (a font cache) does not move the numbering.
bool Counted(const std::string& name, int fd = -1)
{
    struct stat st {};
    return name.rfind("db_", 0) == 0 || (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode));
}

void Point(const std::string& what)
{
    static const long killAt = std::getenv("MIRETO_KILL_AT") ? std::atol(std::getenv("MIRETO_KILL_AT")) : 0;
    static const bool list = std::getenv("MIRETO_KILL_LIST") != nullptr;
    ++g_point;
    if (list)
        std::fprintf(stderr, "point %ld: %s\n", g_point, what.c_str());
    if (g_point == killAt) {
        std::fflush(stdout);
        ::kill(::getpid(), SIGKILL);
    }
}

template <class F>
F Next(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

// A temporary file's random tail is left out, so names match across runs.
std::string Plain(const char* path)
{
    std::string name = path;
    const auto slash = name.find_last_of('/');
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    const auto tmp = name.find(".tmp-");
    return tmp == std::string::npos ? name : name.substr(0, tmp) + ".tmp";
}

} // namespace

extern "C" {

int fsync(int fd)
{
    static auto real = Next<int (*)(int)>("fsync");
    const std::string name = FdName(fd);
    if (!Counted(name, fd))
        return real(fd);
    Point("before fsync " + name);
    const int result = real(fd);
    Point("after fsync " + name);
    return result;
}

int fdatasync(int fd)
{
    static auto real = Next<int (*)(int)>("fdatasync");
    const std::string name = FdName(fd);
    if (!Counted(name, fd))
        return real(fd);
    Point("before fdatasync " + name);
    const int result = real(fd);
    Point("after fdatasync " + name);
    return result;
}

ssize_t write(int fd, const void* buffer, size_t size)
{
    static auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
    static const char* cut = std::getenv("MIRETO_KILL_CUT");
    static long journalWrites = 0;
    if (!cut || FdName(fd) != "db_kiroku.dat")
        return real(fd, buffer, size);
    const long at = std::atol(cut);
    const char* colon = std::strchr(cut, ':');
    const std::size_t heldBack = colon ? static_cast<std::size_t>(std::atol(colon + 1)) : 0;
    if (++journalWrites != at || heldBack >= size)
        return real(fd, buffer, size);
    if (real(fd, buffer, size - heldBack) != static_cast<ssize_t>(size - heldBack))
        std::abort();
    std::fflush(stdout);
    ::kill(::getpid(), SIGKILL);
    return -1;
}

int rename(const char* from, const char* to)
{
    static auto real = Next<int (*)(const char*, const char*)>("rename");
    if (!Counted(Plain(to)))
        return real(from, to);
    const std::string what = Plain(from) + " -> " + Plain(to);
    Point("before rename " + what);
    const int result = real(from, to);
    Point("after rename " + what);
    return result;
}

int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    static auto real = Next<int (*)(int, const char*, int, const char*)>("renameat");
    if (!Counted(Plain(to)))
        return real(fromDir, from, toDir, to);
    const std::string what = Plain(from) + " -> " + Plain(to);
    Point("before rename " + what);
    const int result = real(fromDir, from, toDir, to);
    Point("after rename " + what);
    return result;
}

} // extern "C"
