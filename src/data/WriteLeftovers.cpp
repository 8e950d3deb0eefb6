#include "data/WriteLeftovers.h"

#include "data/BunyaFile.h"
#include "data/DataTexts.h"
#include "data/Kiroku.h"
#include "data/MogiPaperFile.h"
#include "data/MogiSeiseki.h"

#include "platform/Files.h"
#include "text/SafeFile.h"

namespace {

bool IsLeftover(const std::string& name)
{
    // The journal too: a new one is made whole beside its name.
    static const char* const kOwn[] = {DataTexts::kSeikaiFileName, DataTexts::kSaveLoadFileName,
                                       DataTexts::kNanwidoFileName, kKirokuFileName, kKirokuMarkFileName,
                                       kBunyaFileName, kMogiPaperFileName, kMogiSeisekiFileName};
    for (const char* own : kOwn) {
        // Named as the writer names them (platform/Files.h).
        const std::string prefix = std::string(own) + Platform::kTemporarySuffix;
        if (name.size() == prefix.size() + Platform::kTemporaryNameLetters
            && name.compare(0, prefix.size(), prefix) == 0)
            return true;
    }
    return false;
}

} // namespace

std::vector<std::string> RemoveWriteLeftovers()
{
    std::vector<std::string> removed;
    for (const std::string& name : FolderNames("."))
        if (IsLeftover(name) && RemoveOwnFile(name))
            removed.push_back(name);
    return removed;
}
