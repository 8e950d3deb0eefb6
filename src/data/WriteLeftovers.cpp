#include "data/WriteLeftovers.h"

#include "data/BunyaFile.h"
#include "data/DataTexts.h"
#include "data/Kiroku.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsLeftover(const std::string& name)
{
    static const char* const kOwn[] = {DataTexts::kSeikaiFileName, DataTexts::kSaveLoadFileName,
                                       DataTexts::kNanwidoFileName, kKirokuMarkFileName, kBunyaFileName};
    for (const char* own : kOwn) {
        const std::string prefix = std::string(own) + ".tmp-";
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
            return true;
    }
    return false;
}

} // namespace

std::vector<std::string> RemoveWriteLeftovers()
{
    std::vector<std::string> removed;
    DIR* folder = ::opendir(".");
    if (!folder)
        return removed;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder))
        if (IsLeftover(entry->d_name))
            names.emplace_back(entry->d_name);
    ::closedir(folder);
    for (const std::string& name : names) {
        struct stat st {};
        if (::lstat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
            && ::unlink(name.c_str()) == 0)
            removed.push_back(name);
    }
    return removed;
}
