// Reading a table file from any bytes, and the write-read round trip: a
// table read from a file, written as the program writes it and read again,
// is the same table.
#include "text/Unit2.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Cells the table file format can carry: ASCII other than CR, LF and NUL,
// and two-byte Shift_JIS characters of JIS X 0208 (lead 0x81-0x9F or
// 0xE0-0xEF, trail 0x40-0x7E or 0x80-0xFC), with no double quote next to a
// comma.
bool InFormat(const std::string& cell)
{
    if (cell.find("\",") != std::string::npos || cell.find(",\"") != std::string::npos)
        return false;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        const auto c = static_cast<unsigned char>(cell[i]);
        if (c == '\r' || c == '\n' || c == 0)
            return false;
        if (c < 0x80)
            continue;
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEF);
        if (!lead || i + 1 >= cell.size())
            return false;
        const auto t = static_cast<unsigned char>(cell[++i]);
        if (t < 0x40 || t == 0x7F || t > 0xFC)
            return false;
    }
    return true;
}

std::string HexOf(const std::string& text)
{
    std::string hex;
    char buffer[4];
    for (unsigned char c : text) {
        std::snprintf(buffer, sizeof buffer, "%02x", c);
        hex += buffer;
    }
    return hex;
}

bool InFormat(const TextTable& table)
{
    for (const auto& [row, cells] : table)
        for (const std::string& cell : cells)
            if (!InFormat(cell))
                return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // What LoadTextTable reads of a file: its bytes up to the first NUL.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    bytes.resize(std::min(bytes.size(), bytes.find('\0')));
    const TextTable table = ParseTableFile(bytes);
    // Rows are numbered 0, 1, 2, ... in file order.
    std::int32_t expected = 0;
    for (const auto& [row, cells] : table) {
        if (row != expected++ || cells.empty())
            std::abort();
    }
    // The file as WriteTextFile writes it: each LF as CR LF.
    const std::string written = ReplaceAll(TableToText(table), "\n", "\r\n");
    const TextTable again = ParseTableFile(written);
    // Outside the format (a lead byte with no trail in its cell, a cell
    // holding a line end) the reader pairs bytes across the cell's edge; with
    // FUZZ_ROUND_TRIP_ALL set the property is held for every input anyway.
    static const bool all = std::getenv("FUZZ_ROUND_TRIP_ALL") != nullptr;
    const bool inFormat = all || InFormat(table);
    if (inFormat && again != table) {
        std::fprintf(stderr, "round trip changed a table of %zu rows into %zu rows\n", table.size(), again.size());
        for (const auto& [row, cells] : table) {
            auto other = again.find(row);
            if (other != again.end() && other->second == cells)
                continue;
            std::fprintf(stderr, "first changed row %d:", row);
            for (const std::string& cell : cells)
                std::fprintf(stderr, " [%s]", HexOf(cell).c_str());
            std::fprintf(stderr, "\n");
            break;
        }
        std::abort();
    }
    // Written twice, the bytes no longer change.
    if (inFormat && ReplaceAll(TableToText(again), "\n", "\r\n") != written)
        std::abort();
    return 0;
}
