#include "bank/ToolFiles.h"

#include "text/Unit2.h"

#include <sys/stat.h>

bool ReadInputFile(const std::string& name, std::string& bytes, std::string& reason)
{
    constexpr std::uint64_t kMaxFileBytes = 64u << 20;
    return ReadFileBytes(name, bytes, &reason, kMaxFileBytes);
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}
