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

// The counts file's read: a NUL spoils its own line only. No cell holds a
// NUL or a line end, and without a NUL it is the plain read.
void CheckAroundNul(const std::string& bytes)
{
    const TextTable table = ParseTableFileAroundNul(std::string(bytes));
    for (const auto& [row, cells] : table)
        for (std::size_t j = 0; j < cells.size(); ++j)
            if (cells.Cell(j).find_first_of(std::string("\0\r\n", 3)) != std::string_view::npos)
                std::abort();
    if (bytes.find('\0') == std::string::npos && table != ParseTableFile(bytes))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // What LoadTextTable reads of a file: its bytes up to the first NUL.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckAroundNul(bytes);
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
    // Whatever the bytes, no cell holds a line end and no lead byte pairs
    // across a cell's edge, so every table comes back the same.
    if (again != table) {
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
    if (ReplaceAll(TableToText(again), "\n", "\r\n") != written)
        std::abort();
    return 0;
}
