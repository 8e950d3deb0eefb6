#pragma once
// Paths, files and the process's surroundings, the same on every system.
//
// Every path the program handles is a UTF-8 std::string; only here does it
// become what the system takes (UTF-16 for the Windows API, so a user folder
// such as C:\Users\山田\ works whatever the system's ANSI code page).
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace Platform {

// A UTF-8 path as a filesystem path, and back.
std::filesystem::path PathOf(const std::string& utf8);
std::string Utf8Of(const std::filesystem::path& path);

// std::fopen for a UTF-8 path.
std::FILE* OpenFile(const std::string& utf8, const char* mode);

// The folder under which each program keeps its user's data:
// $XDG_DATA_HOME (when absolute) or ~/.local/share on Linux, the roaming
// %APPDATA% on Windows. Empty when the system names none.
std::filesystem::path UserDataBase();

// The running program's own file; empty when the system does not say.
std::filesystem::path ExecutablePath();

// The command line as UTF-8 (on Windows from the wide command line, so a
// file name the ANSI code page cannot hold still arrives whole).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Bytes written to the stream go out as they are (Windows would otherwise
// turn each LF into CR LF on standard output).
void UseBinaryMode(std::FILE* stream);

// Sets (or, with an empty value, clears) a variable of this process's
// environment, as its child processes will see it.
void SetEnvironment(const std::string& name, const std::string& value);

} // namespace Platform
