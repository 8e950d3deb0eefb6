#include "data/KirokuMark.h"
#include "data/KirokuRow.h"
#include "platform/Fnv1a.h"
#include "text/SafeFile.h"

#include "text/Unit2.h"


namespace {

bool IsHash(const std::string& text)
{
    if (text == "-")
        return true;
    if (text.size() != 16)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}


} // namespace

std::string SeikaiFileHash(const std::string* bytes)
{
    if (!bytes)
        return "-";
    // The length folded in after the bytes.
    Platform::Fnv1a64 hash;
    hash.AddBytes(*bytes);
    hash.Add(bytes->size());
    return KirokuHex(hash.Value(), 16);
}

bool ReadKirokuMark(std::vector<KirokuMarkRow>& rows, FileError* reason, bool* rejected)
{
    rows.clear();
    if (rejected)
        *rejected = false;
    if (KindAt(kKirokuMarkFileName) == EntryKind::Missing)
        return true;
    std::string bytes;
    if (!ReadRegularFile(kKirokuMarkFileName, bytes, reason, kKirokuMarkMaxBytes))
        return false;
    const TextTable table = ParseTableFile(std::move(bytes));
    for (const auto& [number, row] : table) {
        if (number < 1)
            continue;
        std::optional<std::int64_t> seq;
        const bool unchecked = row.size() == 2;
        if (row.size() == 3 || unchecked) {
            const std::string_view cells[] = {row.Cell(0), row.Cell(1)};
            if ((unchecked || row.Cell(2) == KirokuCheck(cells)) && IsHash(std::string(cells[1])))
                seq = KirokuDigits(cells[0], kKirokuMaxSeq);
        }
        if (seq)
            rows.push_back({*seq, std::string(row.Cell(1)), unchecked});
        else if (rejected)
            *rejected = true;
    }
    return true;
}

bool WriteKirokuMark(const std::vector<KirokuMarkRow>& rows, FileError* reason)
{
    TextTable table;
    // 記録番号, 正解数ファイル検査, 検査
    table[0] = {"\x8B\x4C\x98\x5E\x94\xD4\x8D\x86", "\x90\xB3\x89\xF0\x90\x94\x83\x74\x83\x40\x83\x43\x83\x8B\x8C\x9F\x8D\xB8",
                "\x8C\x9F\x8D\xB8"};
    std::int32_t number = 1;
    for (const KirokuMarkRow& row : rows) {
        const std::string seq = std::to_string(row.seq);
        const std::string_view cells[] = {seq, row.hash};
        table[number++] = {seq, row.hash, KirokuCheck(cells)};
    }
    return ReplaceFile(kKirokuMarkFileName, TableToFileBytes(table), reason);
}

std::optional<std::int64_t> MarkedSeq(const std::vector<KirokuMarkRow>& rows, const std::string& hash)
{
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (it->hash == hash)
            return it->seq;
    return std::nullopt;
}
