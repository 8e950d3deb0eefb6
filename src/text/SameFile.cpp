#include "text/SameFile.h"

#include "platform/Files.h"

bool SameFile(const std::string& a, const std::string& b)
{
    Platform::FileKind first;
    Platform::FileKind second;
    return Platform::Inspect(a, first) && Platform::Inspect(b, second) && first.device == second.device
        && first.id == second.id;
}
