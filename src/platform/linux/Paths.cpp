#include "platform/Paths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace Platform {

std::filesystem::path PathOf(const std::string& utf8)
{
    return std::filesystem::path(utf8);
}

std::string Utf8Of(const std::filesystem::path& path)
{
    return path.string();
}

std::FILE* OpenFile(const std::string& utf8, const char* mode)
{
    return std::fopen(utf8.c_str(), mode);
}

std::filesystem::path UserDataBase()
{
    // A relative XDG_DATA_HOME is invalid and ignored, as the base directory
    // rules say; so is a relative home.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && std::filesystem::path(xdg).is_absolute())
        return xdg;
    std::string home;
    if (const char* h = std::getenv("HOME"); h != nullptr && *h != '\0')
        home = h;
    else if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        home = entry->pw_dir;
    if (home.empty() || !std::filesystem::path(home).is_absolute())
        return {};
    return std::filesystem::path(home) / ".local" / "share";
}

std::filesystem::path ExecutablePath()
{
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

void SetEnvironment(const std::string& name, const std::string& value)
{
    if (value.empty())
        ::unsetenv(name.c_str());
    else
        ::setenv(name.c_str(), value.c_str(), 1);
}

void UseBinaryMode(std::FILE*) {}

} // namespace Platform
