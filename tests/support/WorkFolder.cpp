#include "WorkFolder.h"

#include "text/SjisCodec.h"
#include "text/Unit2.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

WorkFolder::WorkFolder()
{
    previous_ = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "mireto-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    std::filesystem::current_path(path_);
}

WorkFolder::~WorkFolder()
{
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    // Tests may leave read-only files or folders behind; make them removable.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void WorkFolder::Write(const std::string& name, const std::string& bytes) const
{
    std::ofstream out(path_ + "/" + name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string WorkFolder::Read(const std::string& name) const
{
    std::ifstream in(path_ + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WorkFolder::Exists(const std::string& name) const
{
    return std::filesystem::exists(path_ + "/" + name);
}

std::string Sjis(const std::string& utf8)
{
    std::string out;
    if (!Utf8ToSjis(utf8, out))
        throw std::runtime_error("fixture text has no Shift_JIS form: " + utf8);
    return out;
}

std::string TableFileText(const std::vector<std::vector<std::string>>& utf8Rows)
{
    TextTable table;
    std::int32_t row = 0;
    for (const auto& cells : utf8Rows) {
        TextRow converted;
        for (const auto& cell : cells)
            converted.push_back(Sjis(cell));
        table[row++] = converted;
    }
    return ReplaceAll(TableToText(table), "\n", "\r\n");
}
