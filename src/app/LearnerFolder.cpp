#include "app/LearnerFolder.h"

#include "data/DataTexts.h"
#include "data/MogiHaibun.h"
#include "platform/Fnv1a.h"
#include "platform/Paths.h"
#include "text/SafeFile.h"
#include "text/Unit2.h"
#include "text/SystemReason.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

namespace LearnerFolder {

namespace {

// The manifest: one line per copied file, "<fingerprint in hex> <name>".
using Manifest = std::map<std::string, std::uint64_t>;

Manifest ReadManifest(const fs::path& file)
{
    Manifest manifest;
    std::string text;
    // Read bounded and without blocking, like every file: a FIFO or a link
    // to a device in its place reads as no manifest.
    if (!ReadRegularFile(Platform::Utf8Of(file), text))
        return manifest;
    for (const std::string& line : SplitText(text, "\n")) {
        const auto blank = line.find(' ');
        if (blank == std::string::npos || blank == 0 || blank + 1 >= line.size())
            continue;
        char* end = nullptr;
        const std::string hex = line.substr(0, blank);
        const unsigned long long value = std::strtoull(hex.c_str(), &end, 16);
        if (end == nullptr || *end != '\0')
            continue;
        manifest[line.substr(blank + 1)] = value;
    }
    return manifest;
}

std::string ManifestText(const Manifest& manifest)
{
    std::string text;
    for (const auto& [name, print] : manifest) {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(print));
        text += std::string(hex) + ' ' + name + '\n';
    }
    return text;
}

// Replaces `target` safely, as the databases are: a new file made
// exclusively beside it (no planted link is followed), synced, renamed over.
bool ReplaceWhole(const fs::path& target, const std::string& bytes, std::string& error)
{
    FileError failure;
    if (ReplaceFile(Platform::Utf8Of(target), bytes, &failure))
        return true;
    error = Platform::Utf8Of(target) + ": " + FileReason(failure);
    return false;
}

bool ReadBytes(const fs::path& file, std::string& bytes)
{
    return ReadRegularFile(Platform::Utf8Of(file), bytes);
}

std::uint64_t FingerprintOf(const std::string& bytes)
{
    Platform::Fnv1a64 hash;
    hash.AddBytes(bytes);
    return hash.Value();
}

bool HoldsBank(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_regular_file(folder / DataTexts::kToiFileName, ec);
}

} // namespace

fs::path InstalledDataFolder(const fs::path& executable)
{
    return (executable.parent_path() / ".." / "share" / kAppId).lexically_normal();
}

fs::path LearnerDataFolder(const fs::path& userDataBase)
{
    if (userDataBase.empty() || !userDataBase.is_absolute())
        return {};
    return userDataBase / kAppId;
}

bool IsShippedName(const std::string& name)
{
    if (name == DataTexts::kToiFileName || name == kMogiHaibunFileName)
        return true;
    return name.size() > 8 && name.compare(0, 4, "NONE") == 0 && name.compare(name.size() - 4, 4, ".jpg") == 0;
}

std::uint64_t Fingerprint(const fs::path& file)
{
    std::string bytes;
    return ReadBytes(file, bytes) ? FingerprintOf(bytes) : 0;
}

SyncReport Sync(const fs::path& installed, const fs::path& learner)
{
    SyncReport report;
    std::error_code ec;
    fs::create_directories(learner, ec);
    if (ec || !fs::is_directory(learner)) {
        report.ok = false;
        report.error = "学習用のフォルダ「" + Platform::Utf8Of(learner) + "」を作れません（"
                       + SystemReason(ec ? ec.value() : ENOTDIR, FileUse::Write) + "）";
        return report;
    }

    std::vector<std::string> names;
    for (fs::directory_iterator it(installed, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Platform::Utf8Of(it->path().filename());
        if (IsShippedName(name) && it->is_regular_file())
            names.push_back(name);
    }
    if (ec) {
        report.ok = false;
        report.error = "インストールされたフォルダ「" + Platform::Utf8Of(installed) + "」を読めません（"
                       + SystemReason(ec.value(), FileUse::Read) + "）";
        return report;
    }
    std::sort(names.begin(), names.end());

    const fs::path manifestFile = learner / kManifestName;
    const Manifest before = ReadManifest(manifestFile);
    Manifest after = before;
    for (const std::string& name : names) {
        std::string shipped;
        if (!ReadBytes(installed / name, shipped)) {
            report.ok = false;
            report.error = "インストールされたファイル「" + Platform::Utf8Of(installed / name) + "」を読めません";
            continue;
        }
        const std::uint64_t shippedPrint = FingerprintOf(shipped);
        const fs::path target = learner / name;
        const bool present = fs::exists(fs::symlink_status(target, ec));
        const std::uint64_t presentPrint = present ? Fingerprint(target) : 0;
        const auto recorded = before.find(name);

        if (present && presentPrint == shippedPrint) {
            after[name] = shippedPrint; // already the installed one
            continue;
        }
        if (present && (recorded == before.end() || recorded->second != presentPrint)) {
            report.kept.push_back(name); // the learner's own
            continue;
        }
        std::string error;
        if (!ReplaceWhole(target, shipped, error)) {
            report.ok = false;
            report.error = error;
            continue;
        }
        after[name] = shippedPrint;
        (present ? report.updated : report.copied).push_back(name);
    }

    if (after != before) {
        std::string error;
        if (!ReplaceWhole(manifestFile, ManifestText(after), error)) {
            report.ok = false;
            report.error = error;
        }
    }
    return report;
}

Choice Choose(const fs::path& current, const fs::path& executable, const fs::path& userDataBase,
              const Claim& claim)
{
    Choice choice;
    if (HoldsBank(current)) {
        choice.where = claim && !claim(current) ? Where::Taken : Where::Current;
        return choice;
    }
    const fs::path installed = InstalledDataFolder(executable);
    const fs::path learner = LearnerDataFolder(userDataBase);
    if (executable.empty() || learner.empty() || !HoldsBank(installed))
        return choice;
    // A folder that cannot be made is named by Sync below.
    std::error_code ec;
    fs::create_directories(learner, ec);
    if (claim && fs::is_directory(learner, ec) && !claim(learner)) {
        choice.where = Where::Taken;
        return choice;
    }
    choice.sync = Sync(installed, learner);
    // A learner's folder that could not be brought fully up to date is still
    // used when it holds a bank, so progress already there is not hidden.
    if (HoldsBank(learner)) {
        choice.where = Where::Learner;
        choice.folder = learner;
    }
    return choice;
}

Choice EnterWorkingFolder(const Claim& claim)
{
    std::error_code ec;
    const fs::path current = fs::current_path(ec);
    Choice choice = Choose(current, Platform::ExecutablePath(), Platform::UserDataBase(), claim);
    if (!choice.sync.ok)
        std::fprintf(stderr, "MIRETO: %s\n", choice.sync.error.c_str());
    if (choice.where == Where::Learner) {
        fs::current_path(choice.folder, ec);
        if (ec) {
            choice.sync.ok = false;
            choice.sync.error = "学習用のフォルダ「" + Platform::Utf8Of(choice.folder) + "」に入れません（"
                                + SystemReason(ec.value(), FileUse::Read) + "）";
            std::fprintf(stderr, "MIRETO: %s\n", choice.sync.error.c_str());
            choice.where = Where::Nowhere;
        }
    }
    return choice;
}

} // namespace LearnerFolder
