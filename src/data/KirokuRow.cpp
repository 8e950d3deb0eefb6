#include "data/KirokuRow.h"

#include "data/PlayModes.h"

#include "text/SjisCodec.h"

#include "platform/Files.h"
#include "platform/Fnv1a.h"

#include <array>
#include <ctime>
#include <span>

namespace {

constexpr int kCells = 9;
constexpr std::int32_t kMaxSeconds = 999'999;


template <class Cells>
std::uint32_t Check(const Cells& cells)
{
    Platform::Fnv1a32 hash; // each cell ended by 0x1F
    for (std::string_view cell : cells) {
        hash.AddBytes(cell);
        hash.Add(0x1Fu);
    }
    return hash.Value();
}

std::string Hex8(std::uint32_t value)
{
    return KirokuHex(value, 8);
}

std::string Two(std::int32_t value)
{
    return std::string {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

std::array<std::string, kCells - 1> CellsOf(const KirokuEntry& e)
{
    return {std::to_string(e.seq),       KirokuTimeText(e.day, e.second), KirokuEscape(e.key),
            e.seikai ? "1" : "0",         std::to_string(e.mode),          std::to_string(e.nanwido),
            std::to_string(e.seconds),   KirokuEscape(e.answer)};
}

// "YYYY-MM-DD HH:MM:SS" exactly, a real date and time.
bool ParseTime(std::string_view text, std::int32_t& day, std::int32_t& second)
{
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':'
        || text[16] != ':')
        return false;
    auto year = KirokuDigits(text.substr(0, 4), 9999), month = KirokuDigits(text.substr(5, 2), 12),
         dom = KirokuDigits(text.substr(8, 2), 31), h = KirokuDigits(text.substr(11, 2), 23),
         m = KirokuDigits(text.substr(14, 2), 59), s = KirokuDigits(text.substr(17, 2), 59);
    if (!year || !month || !dom || !h || !m || !s || *year < 1970 || *month < 1 || *dom < 1)
        return false;
    // No 31 February and the like.
    static constexpr std::int64_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
    if (*dom > kDays[*month - 1] + (*month == 2 && leap))
        return false;
    day = CivilDay(static_cast<std::int32_t>(*year), static_cast<std::int32_t>(*month),
                   static_cast<std::int32_t>(*dom));
    second = static_cast<std::int32_t>(*h * 3600 + *m * 60 + *s);
    return true;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string KirokuHex(std::uint64_t value, int digits)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return text;
}

std::int32_t CivilDay(std::int32_t year, std::int32_t month, std::int32_t dayOfMonth)
{
    // Days from civil (proleptic Gregorian), era-based.
    year -= month <= 2;
    const std::int32_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int32_t yoe = year - era * 400;
    const std::int32_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + dayOfMonth - 1;
    const std::int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilDate(std::int32_t day, std::int32_t& year, std::int32_t& month, std::int32_t& dayOfMonth)
{
    day += 719468;
    const std::int32_t era = (day >= 0 ? day : day - 146096) / 146097;
    const std::int32_t doe = day - era * 146097;
    const std::int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int32_t mp = (5 * doy + 2) / 153;
    dayOfMonth = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = yoe + era * 400 + (month <= 2);
}

void LocalDayAndSecond(std::int64_t t, std::int32_t& day, std::int32_t& second)
{
    const std::time_t time = static_cast<std::time_t>(t);
    std::tm local {};
    Platform::LocalTime(time, local);
    day = CivilDay(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    second = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

std::string KirokuTimeText(std::int32_t day, std::int32_t second)
{
    std::int32_t y, m, d;
    CivilDate(day, y, m, d);
    return std::to_string(y) + "-" + Two(m) + "-" + Two(d) + " " + Two(second / 3600) + ":" + Two(second / 60 % 60)
           + ":" + Two(second % 60);
}

std::string KirokuEscape(std::string_view bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    auto escape = [&](unsigned char c) {
        out += '%';
        out += kDigits[c >> 4];
        out += kDigits[c & 0xF];
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80) {
            // A whole JIS X 0208 character stays as it is; any other high
            // byte would pair with what follows it when read.
            if (i + 1 < bytes.size() && IsSjisLead(c) && c <= 0xEF
                && IsSjisTrail(static_cast<unsigned char>(bytes[i + 1]))) {
                out += bytes.substr(i, 2);
                ++i;
            } else {
                escape(c);
            }
        } else if (c < 0x20 || c == 0x7F || c == '%' || c == '"' || c == ',') {
            escape(c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::optional<std::string> KirokuUnescape(std::string_view cell)
{
    if (cell.find('%') == std::string_view::npos)
        return std::string(cell);
    std::string out;
    out.reserve(cell.size());
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] != '%') {
            out += cell[i];
            continue;
        }
        if (cell.size() - i < 3)
            return std::nullopt;
        const int hi = HexValue(cell[i + 1]), lo = HexValue(cell[i + 2]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

TextRow KirokuHeaderRow()
{
    // 番号, 日時, 問キー, 正誤, モード, 難易度, 秒数, 回答, 検査
    return {"\x94\xD4\x8D\x86", "\x93\xFA\x8E\x9E", "\x96\xE2\x83\x4C\x81\x5B", "\x90\xB3\x8C\xEB",
            "\x83\x82\x81\x5B\x83\x68", "\x93\xEF\x88\xD5\x93\x78", "\x95\x62\x90\x94", "\x89\xF1\x93\x9A",
            "\x8C\x9F\x8D\xB8"};
}

std::string KirokuLine(const KirokuEntry& entry)
{
    const auto cells = CellsOf(entry);
    std::string line = "\"";
    for (const std::string& cell : cells)
        line += cell + "\",\"";
    line += Hex8(Check(cells)) + "\"\r\n";
    return line;
}

std::string KirokuCheck(std::span<const std::string_view> cells)
{
    return Hex8(Check(cells));
}

std::optional<KirokuEntry> KirokuFromCells(std::span<const std::string_view> row)
{
    if (row.size() != kCells)
        return std::nullopt;
    // Read through views: a year's journal is read at every start.
    const std::span<const std::string_view> cells = row.first(kCells - 1);
    if (row[kCells - 1] != KirokuCheck(cells))
        return std::nullopt;
    KirokuEntry e;
    const auto seq = KirokuDigits(cells[0], kKirokuMaxSeq);
    const auto mode = KirokuDigits(cells[4], kPlayModeCount - 1);
    const auto nanwido = NanwidoValue::Of(KirokuDigits(cells[5], kNanwidoCount - 1).value_or(-1));
    const auto seconds = KirokuDigits(cells[6], kMaxSeconds);
    auto key = KirokuUnescape(cells[2]);
    auto answer = KirokuUnescape(cells[7]);
    if (!seq || *seq < 1 || !mode || !nanwido || !seconds || !key || !answer || key->empty()
        || key->size() > kKirokuKeyBytes || answer->size() > kKirokuAnswerBytes
        || (cells[3] != "0" && cells[3] != "1") || !ParseTime(cells[1], e.day, e.second))
        return std::nullopt;
    e.seq = *seq;
    e.key = std::move(*key);
    e.seikai = cells[3] == "1";
    e.mode = static_cast<std::int32_t>(*mode);
    e.nanwido = *nanwido;
    e.seconds = static_cast<std::int32_t>(*seconds);
    e.answer = std::move(*answer);
    return e;
}

// A plain run of decimal digits within [0, max]; nothing else.
std::optional<std::int64_t> KirokuDigits(std::string_view text, std::int64_t max)
{
    if (text.empty() || text.size() > 15)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > max)
        return std::nullopt;
    return value;
}

bool KirokuTimeFromText(std::string_view text, std::int32_t& day, std::int32_t& second)
{
    return ParseTime(text, day, second);
}
