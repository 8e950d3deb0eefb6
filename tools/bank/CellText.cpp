#include "bank/CellText.h"

#include "bank/JisTable.h"

#include "data/DataTexts.h"
#include "text/SjisCodec.h"
#include "text/Unit2.h"

#include <algorithm>
#include <cstdio>

namespace {

using DataTexts::kLineMarker;

std::string Hex(unsigned value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
    return buffer;
}

std::string CodePoint(char32_t cp)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    return buffer;
}

const char* AsciiFault(unsigned b)
{
    switch (b) {
    case '\r':
        return "a CR (carriage return): a bank cell cannot hold one";
    case '\n':
        return "a line feed: a bank cell cannot hold one (line breaks are written \"<$>\")";
    case '\0':
        return "a NUL byte: the program stops reading there";
    case '\t':
        return "a tab character";
    default:
        return (b < 0x20 || b == 0x7F) ? "a control character" : nullptr;
    }
}

// Collects at most limit faults and counts them all.
class Faults {
public:
    Faults(std::vector<CellFault>& faults, std::size_t limit) : faults_(faults), limit_(limit) {}
    void Add(std::size_t position, std::string message)
    {
        if (count_++ < limit_)
            faults_.push_back({position, std::move(message)});
    }
    std::size_t Count() const { return count_; }

private:
    std::vector<CellFault>& faults_;
    std::size_t limit_;
    std::size_t count_ = 0;
};

// The faults of a field that does not convert cleanly, and the nearest cell.
std::size_t SlowFieldToCell(const std::string& field, std::string& cell, Faults& faults)
{
    const std::string text = ReplaceAll(field, "\n", kLineMarker);
    bool controls = std::any_of(text.begin(), text.end(), [](char c) { return AsciiFault(static_cast<unsigned char>(c)); });
    std::vector<CellFault> none;
    if (!controls && Utf8ToSjis(text, cell) && AppendCellFaults(cell, none, 0) == 0 && SjisToUtf8(cell) == text)
        return 0;

    std::size_t position = 0;
    for (std::size_t i = 0; i < field.size();) {
        ++position;
        char32_t cp = 0;
        std::size_t length = Utf8CharLength(field, i, cp);
        if (length == 0) {
            faults.Add(position, "the byte " + Hex(static_cast<unsigned char>(field[i]), 2) +
                                     " is not UTF-8: save the source as UTF-8");
            ++i;
            continue;
        }
        const std::string one = field.substr(i, length);
        i += length;
        if (cp == '\n')
            continue;
        const std::string shown = Quoted(one) + " (" + CodePoint(cp) + ")";
        if (cp < 0x80) {
            if (const char* fault = AsciiFault(static_cast<unsigned>(cp)))
                faults.Add(position, std::string(fault) + " (" + CodePoint(cp) + ")");
            continue;
        }
        if (cp >= 0xFF61 && cp <= 0xFF9F) {
            faults.Add(position, "half-width katakana " + shown + ": use full-width katakana");
            continue;
        }
        std::string sjis;
        if (!Utf8ToSjis(one, sjis)) {
            faults.Add(position, shown + " has no Shift_JIS form");
            continue;
        }
        auto b = static_cast<unsigned char>(sjis[0]);
        if (sjis.size() == 2 && JisExtensionReason(b)) {
            faults.Add(position, shown + " is " + JisExtensionReason(b));
            continue;
        }
        std::string back = SjisToUtf8(sjis);
        if (back != one)
            faults.Add(position, shown + " would turn into " + Quoted(back) + " in the bank");
    }
    if (faults.Count() == 0)
        faults.Add(1, "the text does not convert to Shift_JIS exactly");
    // The closest text the bank could hold, so the row's other checks still
    // see the cell (an unconvertible character reads as "?").
    Utf8ToSjis(text, cell);
    return faults.Count();
}

} // namespace

std::string Quoted(std::string_view utf8)
{
    return "\xC2\xAB" + std::string(utf8) + "\xC2\xBB"; // « »
}

std::string AtCharacter(std::size_t position)
{
    return "character " + std::to_string(position) + ": ";
}

std::size_t AppendCellFaults(std::string_view cell, std::vector<CellFault>& list, std::size_t limit)
{
    Faults faults(list, limit);
    std::size_t position = 0;
    for (std::size_t i = 0; i < cell.size();) {
        ++position;
        auto b = static_cast<unsigned char>(cell[i]);
        if (b >= 0x20 && b < 0x7F) {
            ++i;
        } else if (b < 0x80) {
            if (const char* fault = AsciiFault(b))
                faults.Add(position, std::string(fault) + " (" + Hex(b, 2) + ")");
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            faults.Add(position, "half-width katakana " + Quoted(SjisToUtf8(std::string(cell.substr(i, 1)))) +
                                     ": use full-width katakana");
            ++i;
        } else if (!IsSjisLead(b)) {
            faults.Add(position, "the byte " + Hex(b, 2) + " is not Shift_JIS");
            ++i;
        } else if (i + 1 >= cell.size() || !IsSjisTrail(static_cast<unsigned char>(cell[i + 1]))) {
            faults.Add(position, "the byte " + Hex(b, 2) + " starts no Shift_JIS character");
            ++i;
        } else {
            const auto trail = static_cast<unsigned char>(cell[i + 1]);
            unsigned code = b << 8 | trail;
            if (JisPairClean(b, trail))
                ; // the usual case: a JIS X 0208 character
            else if (const char* reason = JisExtensionReason(b))
                faults.Add(position, Quoted(SjisToUtf8(std::string(cell.substr(i, 2)))) + " (" + Hex(code, 4) +
                                         ") is " + reason);
            else if (!JisPairRoundTrips(b, trail)) // an unassigned code inside the JIS X 0208 rows
                faults.Add(position, Hex(code, 4) + " is not a JIS X 0208 character");
            i += 2;
        }
    }
    return faults.Count();
}

std::size_t AppendFieldAsCell(std::string_view field, std::string& out, std::vector<CellFault>& list,
                              std::size_t limit)
{
    // Text of plain characters goes through the table; anything else takes
    // the careful way, which names each fault.
    const std::size_t start = out.size();
    bool clean = true;
    for (char c : field) {
        const auto b = static_cast<unsigned char>(c);
        if (b != '\n' && (b < 0x20 || b == 0x7F))
            clean = false;
    }
    for (std::size_t i = 0; clean && i <= field.size();) {
        std::size_t end = field.find('\n', i);
        if (end == std::string_view::npos)
            end = field.size();
        clean = AppendUtf8AsJisCell(field.substr(i, end - i), out);
        if (clean && end < field.size())
            out += kLineMarker;
        i = end + 1;
    }
    if (clean)
        return 0;
    out.resize(start);
    std::string cell;
    Faults faults(list, limit);
    SlowFieldToCell(std::string(field), cell, faults);
    out += cell;
    return faults.Count();
}

bool CellToUtf8(std::string_view cell, std::string& utf8)
{
    utf8.clear();
    if (AppendJisCellAsUtf8(cell, utf8))
        return true;
    const std::string text(cell);
    utf8 = SjisToUtf8(text);
    std::string back;
    return Utf8ToSjis(utf8, back) && back == text;
}
