#include "data/MogiPaperFile.h"

#include "data/KirokuRow.h"
#include "data/ToiBank.h"
#include "text/FileLimits.h"
#include "text/SafeFile.h"
#include "text/Unit2.h"

namespace {

constexpr char kHeader[] = "MOGI";
constexpr char kFormat[] = "1";
// A paper file is a few kilobytes; anything much larger is not one.
constexpr std::uint64_t kMaxPaperBytes = 256 * kKiB;

std::optional<std::uint64_t> HexSeed(std::string_view text)
{
    if (text.size() != 16)
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

} // namespace

std::string MogiPaperBytes(const MogiPaperState& paper)
{
    std::string out;
    AppendTableLine(out, TextRow {kHeader, kFormat});
    AppendTableLine(out, TextRow {"seed", KirokuHex(paper.seed, 16)});
    AppendTableLine(out, TextRow {"started", std::to_string(paper.started)});
    AppendTableLine(out, TextRow {"left", std::to_string(paper.left)});
    AppendTableLine(out, TextRow {"current", std::to_string(paper.current)});
    if (paper.handInBase)
        AppendTableLine(out, TextRow {"handin", std::to_string(*paper.handInBase)});
    for (int k = 0; k < kMogiKubunCount; ++k)
        if (paper.missing[static_cast<std::size_t>(k)] > 0)
            AppendTableLine(out, TextRow {"short", std::to_string(k),
                                                           std::to_string(paper.missing[static_cast<std::size_t>(k)])});
    AppendTableLine(out, TextRow {"unfilled", std::to_string(paper.unfilled)});
    for (const MogiPaperToi& toi : paper.toi)
        AppendTableLine(out, TextRow {"toi", KirokuEscape(toi.key), std::to_string(toi.kubun),
                                                       std::to_string(toi.answer), toi.mark ? "1" : "0",
                                                       std::to_string(toi.seconds)});
    return out;
}

std::optional<MogiPaperState> ParseMogiPaper(std::string bytes, std::int32_t* badLine)
{
    const TextTable table = ParseTableFile(std::move(bytes));
    MogiPaperState paper;
    bool seed = false, started = false, left = false, current = false;
    std::int32_t line = 0;
    auto bad = [&]() -> std::optional<MogiPaperState> {
        if (badLine)
            *badLine = line;
        return std::nullopt;
    };
    std::int32_t r = -1;
    for (const auto& entry : table) {
        // Named, not bound: clang 14 cannot capture a structured binding.
        const std::int32_t number_ = entry.first;
        const TextRow& row = entry.second;
        // Rows stand at 0, 1, 2 ...: a gap is a line that was no row.
        if (number_ != ++r) {
            line = r + 1;
            return bad();
        }
        line = r + 1;
        auto cell = [&](std::size_t c) { return TableCellView(row, static_cast<int>(c)); };
        const std::string_view tag = cell(0);
        auto number = [&](std::size_t c, std::int64_t max) {
            return row.size() > c ? KirokuDigits(cell(c), max) : std::nullopt;
        };
        if (r == 0) {
            if (row.size() != 2 || tag != kHeader || cell(1) != kFormat)
                return bad();
        } else if (tag == "seed" && row.size() == 2 && !seed) {
            const auto value = HexSeed(cell(1));
            if (!value)
                return bad();
            paper.seed = *value;
            seed = true;
        } else if (tag == "started" && row.size() == 2 && !started) {
            const auto value = number(1, kKirokuMaxSeq);
            if (!value)
                return bad();
            paper.started = *value;
            started = true;
        } else if (tag == "left" && row.size() == 2 && !left) {
            const auto value = number(1, kMogiSeconds);
            if (!value)
                return bad();
            paper.left = static_cast<std::int32_t>(*value);
            left = true;
        } else if (tag == "current" && row.size() == 2 && !current) {
            const auto value = number(1, 1000);
            if (!value)
                return bad();
            paper.current = static_cast<std::int32_t>(*value);
            current = true;
        } else if (tag == "handin" && row.size() == 2 && !paper.handInBase) {
            const auto value = number(1, kKirokuMaxSeq);
            if (!value)
                return bad();
            paper.handInBase = *value;
        } else if (tag == "short" && row.size() == 3) {
            const auto group = number(1, kMogiKubunCount - 1);
            const auto missing = number(2, 1000);
            if (!group || !missing)
                return bad();
            paper.missing[static_cast<std::size_t>(*group)] = static_cast<std::int32_t>(*missing);
        } else if (tag == "unfilled" && row.size() == 2) {
            const auto value = number(1, 1000);
            if (!value)
                return bad();
            paper.unfilled = static_cast<std::int32_t>(*value);
        } else if (tag == "toi" && row.size() == 6 && paper.toi.size() < 1000) {
            const auto key = KirokuUnescape(cell(1));
            const auto group = number(2, kMogiKubunCount - 1);
            const auto answer = number(3, 4);
            const auto mark = number(4, 1);
            const auto seconds = number(5, kMogiSeconds);
            if (!key || key->empty() || key->size() > kKirokuKeyBytes || !group || !answer || !mark || !seconds)
                return bad();
            paper.toi.push_back({*key, static_cast<MogiKubun>(*group), static_cast<std::int32_t>(*answer),
                                 *mark == 1, static_cast<std::int32_t>(*seconds)});
        } else {
            return bad();
        }
    }
    line = static_cast<std::int32_t>(table.size()) + 1;
    if (table.empty() || !seed || !started || !left || !current || paper.toi.empty()
        || paper.current >= static_cast<std::int32_t>(paper.toi.size()))
        return bad();
    return paper;
}

MogiPaperFound ReadMogiPaper(const std::string& fileName)
{
    MogiPaperFound found;
    const EntryKind kind = KindAt(fileName, &found.reason);
    if (kind == EntryKind::Missing)
        return found;
    std::string bytes;
    if (kind != EntryKind::Regular || !ReadRegularFile(fileName, bytes, &found.reason, kMaxPaperBytes)) {
        found.status = MogiPaperRead::Unreadable;
        return found;
    }
    if (bytes.find('\0') != std::string::npos) {
        found.status = MogiPaperRead::Bad;
        return found;
    }
    auto paper = ParseMogiPaper(std::move(bytes), &found.badLine);
    if (!paper) {
        found.status = MogiPaperRead::Bad;
        return found;
    }
    found.status = MogiPaperRead::Ok;
    found.paper = std::move(*paper);
    return found;
}

bool WriteMogiPaper(const MogiPaperState& paper, FileError* error, const std::string& fileName)
{
    return ReplaceFile(fileName, MogiPaperBytes(paper), error);
}

bool RemoveMogiPaper(const std::string& fileName)
{
    if (KindAt(fileName) == EntryKind::Missing)
        return true;
    if (!RemoveOwnFile(fileName))
        return false;
    SyncFolder(FolderOf(fileName));
    return true;
}
