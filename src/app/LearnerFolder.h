#pragma once
// Where the program works when it is started from the application menu.
//
// Started in a folder that holds the question bank, the program works there.
// Otherwise, when an installation ships a bank beside the program
// (<prefix>/bin/mireto -> <prefix>/share/<app id>/), it works in the learner's
// own folder <user data folder>/<app id> ($XDG_DATA_HOME, by default
// ~/.local/share, on Linux; the roaming %APPDATA% on Windows:
// platform/Paths.h), which it fills from the installed data first. Without either the program
// stays where it was started and shows its error screen.
//
// Keeping the learner's folder up to date: a manifest in it records the
// fingerprint of every installed file as it was copied. A file the learner
// lacks is copied; a copy still equal to what was copied is replaced when the
// installation ships a different one; a file the learner changed or put there
// is never overwritten. Only the bank and its pictures are ever copied: the
// progress databases (db_*.dat) are never written, replaced or removed here.
//
// Nothing here uses Qt, so the rule is tested on plain folders.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace LearnerFolder {

// The application id: the name of the installed data folder, of the
// learner's folder, of the desktop entry and of the metadata. The build
// defines it once (MIRETO_APP_ID in the top-level CMakeLists.txt).
inline constexpr char kAppId[] = MIRETO_APP_ID;
// The manifest of installed files copied into the learner's folder.
inline constexpr char kManifestName[] = ".installed-files";

// <folder of the executable>/../share/<app id>, lexically normal.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& executable);
// <user data folder>/<app id>; empty when that folder is not an absolute path.
std::filesystem::path LearnerDataFolder(const std::filesystem::path& userDataBase);
// True for the names an installation ships and the learner's folder
// receives: the question bank and pictures ("NONE*.jpg").
bool IsShippedName(const std::string& name);
// A 64-bit fingerprint of a file's bytes (FNV-1a); 0 for a file that cannot be read.
std::uint64_t Fingerprint(const std::filesystem::path& file);

struct SyncReport {
    bool ok = true;
    std::vector<std::string> copied;   // missing in the learner's folder
    std::vector<std::string> updated;  // an unchanged earlier copy, replaced
    std::vector<std::string> kept;     // the learner's own, left alone
    std::string error;                 // what failed when !ok, in Japanese (UTF-8)
};

// Brings the learner's folder up to date with the installed data folder,
// creating it when needed. Every file is replaced whole (written beside it,
// then renamed), so an interruption never leaves half a bank.
SyncReport Sync(const std::filesystem::path& installed, const std::filesystem::path& learner);

// Taken: another copy works in the chosen folder; nothing was written.
enum class Where { Current, Learner, Nowhere, Taken };
struct Choice {
    Where where = Where::Nowhere;
    std::filesystem::path folder; // the folder to work in (Learner only)
    SyncReport sync;
};

// Claims a chosen folder for this copy before anything is written in it;
// false when another copy already works there.
using Claim = std::function<bool(const std::filesystem::path& folder)>;

// The working folder decision for a start in `current`. A folder holding a
// bank is claimed as it is found; the learner's folder once it exists, before
// it is filled. Without a bank anywhere nothing is claimed: nothing will be
// written.
Choice Choose(const std::filesystem::path& current, const std::filesystem::path& executable,
              const std::filesystem::path& userDataBase, const Claim& claim = {});

// Called once by the program entry, before the window is made: decides with
// the process's own folder, executable and environment and changes into the
// learner's folder when that is where the program works. Problems are
// reported on standard error and kept in the choice's sync report (for the
// window to tell); the program then stays where it was started.
Choice EnterWorkingFolder(const Claim& claim = {});

} // namespace LearnerFolder
