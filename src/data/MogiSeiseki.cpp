#include "data/MogiSeiseki.h"

#include "data/KirokuRow.h"
#include "data/ToiBank.h"
#include "text/FileLimits.h"
#include "text/SafeFile.h"
#include "text/Unit2.h"

namespace {

constexpr std::size_t kFixedCells = 6;
constexpr std::int32_t kMaxCount = 1000;

std::vector<std::string> HeaderCells()
{
    // 日付, 得点, 正解数, 問題数, 使用秒数, シード, 問題
    return {"\x93\xFA\x95\x74", "\x93\xBE\x93\x5F", "\x90\xB3\x89\xF0\x90\x94", "\x96\xE2\x91\xE8\x90\x94",
            "\x8E\x67\x97\x70\x95\x62\x90\x94", "\x83\x56\x81\x5B\x83\x68", "\x96\xE2\x91\xE8"};
}

std::optional<std::uint64_t> Decimal64(std::string_view text)
{
    if (text.empty() || text.size() > 20)
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<MogiSeisekiRow> RowOf(const TextRow& row)
{
    auto cell = [&](std::size_t c) { return TableCellView(row, static_cast<int>(c)); };
    if (row.size() < kFixedCells)
        return std::nullopt;
    MogiSeisekiRow out;
    const auto score = KirokuDigits(cell(1), 100);
    const auto seikai = KirokuDigits(cell(2), kMaxCount);
    const auto count = KirokuDigits(cell(3), kMaxCount);
    const auto seconds = KirokuDigits(cell(4), 24 * 3600);
    const auto seed = Decimal64(cell(5));
    if (!KirokuTimeFromText(cell(0), out.day, out.second) || !score || !seikai || !count || !seconds || !seed
        || *seikai > *count || row.size() != kFixedCells + static_cast<std::size_t>(*count))
        return std::nullopt;
    out.score = static_cast<std::int32_t>(*score);
    out.seikai = static_cast<std::int32_t>(*seikai);
    out.count = static_cast<std::int32_t>(*count);
    out.seconds = static_cast<std::int32_t>(*seconds);
    out.seed = *seed;
    for (std::size_t c = kFixedCells; c < row.size(); ++c) {
        auto key = KirokuUnescape(cell(c));
        if (!key || key->empty())
            return std::nullopt;
        out.keys.push_back(std::move(*key));
    }
    return out;
}

} // namespace

MogiSeisekiRead ParseMogiSeiseki(std::string bytes)
{
    MogiSeisekiRead read;
    const TextTable table = ParseTableFile(std::move(bytes));
    for (const auto& [r, row] : table) {
        if (r == 0)
            continue; // the header
        if (auto parsed = RowOf(row))
            read.rows.push_back(std::move(*parsed));
        else
            read.badLines.push_back(r + 1);
    }
    return read;
}

MogiSeisekiRead ReadMogiSeiseki(const std::string& fileName)
{
    MogiSeisekiRead read;
    const EntryKind kind = KindAt(fileName, &read.reason);
    if (kind == EntryKind::Missing)
        return read;
    std::string bytes;
    if (kind != EntryKind::Regular || !ReadRegularFile(fileName, bytes, &read.reason, kKirokuMaxFileBytes)) {
        read.unreadable = true;
        return read;
    }
    return ParseMogiSeiseki(std::move(bytes));
}

std::string MogiSeisekiBytes(const std::vector<MogiSeisekiRow>& rows)
{
    std::string out;
    AppendTableLine(out, TextRow(HeaderCells()));
    for (const MogiSeisekiRow& row : rows) {
        std::vector<std::string> cells {KirokuTimeText(row.day, row.second), std::to_string(row.score),
                                        std::to_string(row.seikai),           std::to_string(row.count),
                                        std::to_string(row.seconds),          std::to_string(row.seed)};
        for (const std::string& key : row.keys)
            cells.push_back(KirokuEscape(key));
        AppendTableLine(out, TextRow(std::move(cells)));
    }
    return out;
}

bool AppendMogiSeiseki(const std::vector<MogiSeisekiRow>& rows, const MogiSeisekiRow& added, FileError* error,
                       const std::string& fileName)
{
    std::vector<MogiSeisekiRow> all = rows;
    all.push_back(added);
    return ReplaceFile(fileName, MogiSeisekiBytes(all), error);
}
