#include "platform/Paths.h"

#include "platform/windows/Wide.h"

#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

namespace Platform {

std::filesystem::path PathOf(const std::string& utf8)
{
    return std::filesystem::path(Wide(utf8));
}

std::string Utf8Of(const std::filesystem::path& path)
{
    return Narrow(path.native());
}

std::FILE* OpenFile(const std::string& utf8, const char* mode)
{
    return ::_wfopen(Wide(utf8).c_str(), Wide(mode).c_str());
}

std::filesystem::path UserDataBase()
{
    // The roaming application data, so progress follows a domain profile.
    PWSTR folder = nullptr;
    std::filesystem::path base;
    if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &folder) == S_OK)
        base = folder;
    ::CoTaskMemFree(folder);
    if (base.empty()) {
        if (const wchar_t* env = ::_wgetenv(L"APPDATA"); env != nullptr && *env != L'\0')
            base = env;
    }
    return base.is_absolute() ? base : std::filesystem::path();
}

std::filesystem::path ExecutablePath()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr || count != argc) {
        if (wide)
            ::LocalFree(wide);
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(Narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void SetEnvironment(const std::string& name, const std::string& value)
{
    // An empty value removes the variable.
    ::_wputenv_s(Wide(name).c_str(), Wide(value).c_str());
}

void UseBinaryMode(std::FILE* stream)
{
    ::_setmode(::_fileno(stream), _O_BINARY);
}

} // namespace Platform
