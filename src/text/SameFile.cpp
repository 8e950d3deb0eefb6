#include "text/SameFile.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <filesystem>

namespace {

bool Same(const Platform::FileKind& a, const Platform::FileKind& b)
{
    return a.device == b.device && a.id == b.id;
}

std::string EntryOf(const std::string& folder, const Platform::FileKind& file)
{
    for (const std::string& name : Platform::FolderNames(folder)) {
        Platform::FileKind entry;
        if (Platform::Inspect(folder + "/" + name, entry) && Same(entry, file))
            return name;
    }
    return {};
}

} // namespace

bool SameFile(const std::string& a, const std::string& b)
{
    Platform::FileKind first;
    Platform::FileKind second;
    return Platform::Inspect(a, first) && Platform::Inspect(b, second) && Same(first, second);
}

std::string FolderEntryOf(const std::string& folder, const std::string& path)
{
    Platform::FileKind file;
    return Platform::Inspect(path, file) ? EntryOf(folder, file) : std::string();
}

std::string FolderEntryOfOpen(const std::string& folder, int fd)
{
    Platform::FileKind file;
    return Platform::InspectOpen(fd, file) ? EntryOf(folder, file) : std::string();
}

bool FolderWithin(const std::string& path, const std::string& folder)
{
    const std::string resolved = Platform::CanonicalPath(path);
    if (resolved.empty())
        return false;
    // Each folder up to the root, compared by identity: a second spelling of
    // the folder (another case, a bind mount) is caught too.
    for (std::filesystem::path at = Platform::PathOf(resolved);; at = at.parent_path()) {
        if (SameFile(Platform::Utf8Of(at), folder))
            return true;
        if (at == at.parent_path() || at.empty())
            return false;
    }
}
