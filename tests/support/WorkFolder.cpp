#include "WorkFolder.h"

#include "platform/Paths.h"
#include "text/SjisCodec.h"
#include "text/Unit2.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

WorkFolder::WorkFolder()
{
    previous_ = Platform::Utf8Of(std::filesystem::current_path());
    // A blank and a Japanese name, as in a learner's own user folder
    // (C:\Users\山田\, ~/山田 太郎): every file a test touches goes through them.
    std::random_device seed;
    std::mt19937_64 random(seed());
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    for (int attempt = 0; path_.empty(); ++attempt) {
        if (attempt == 100)
            throw std::runtime_error("cannot make a test folder in " + Platform::Utf8Of(temp));
        const std::string name = "mireto test 山田-" + std::to_string(random() % 100000000);
        if (std::filesystem::create_directory(temp / Platform::PathOf(name)))
            path_ = Platform::Utf8Of(temp / Platform::PathOf(name));
    }
    std::filesystem::current_path(Platform::PathOf(path_));
}

WorkFolder::~WorkFolder()
{
    std::error_code ec;
    std::filesystem::current_path(Platform::PathOf(previous_), ec);
    // Tests may leave read-only files or folders behind; make them removable.
    for (auto& entry : std::filesystem::recursive_directory_iterator(Platform::PathOf(path_), ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(Platform::PathOf(path_), ec);
}

void WorkFolder::Write(const std::string& name, const std::string& bytes) const
{
    std::ofstream out(Platform::PathOf(path_ + "/" + name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string WorkFolder::Read(const std::string& name) const
{
    std::ifstream in(Platform::PathOf(path_ + "/" + name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WorkFolder::Exists(const std::string& name) const
{
    return std::filesystem::exists(Platform::PathOf(path_ + "/" + name));
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
