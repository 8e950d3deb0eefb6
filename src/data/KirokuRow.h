#pragma once
// One row of the answer journal (db_kiroku.dat): every judged answer, in the
// order judged. The journal is a table file like the databases; a row is
//
//   number, date and time, key, right ("1") or wrong ("0"), mode, difficulty,
//   seconds used, the answer, check
//
// The number rises by one per answer and is what the counts file's
// watermark (KirokuMark) names. Key and answer are kept as bytes a cell can
// always hold: '%', '"', control bytes and any byte of 0x80 or above that is
// not part of a JIS X 0208 character are written as %XX. The check is a
// hash of the other cells, so a torn or edited row is told from a real one.
#include "data/Nanwido.h"
#include "text/TextRow.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct KirokuEntry {
    std::int64_t seq = 0;
    // Local calendar date as days since 1970-01-01, and the second of that day.
    std::int32_t day = 0;
    std::int32_t second = 0;
    std::string key;
    bool seikai = false;
    std::int32_t mode = 0;
    NanwidoValue nanwido;
    std::int32_t seconds = 0;
    std::string answer;
};

// An answer is kept up to this many bytes (cut at a character's edge).
constexpr std::size_t kKirokuAnswerBytes = 200;
// The highest row number a row may hold.
constexpr std::int64_t kKirokuMaxSeq = 999'999'999'999'999;
// A key longer than any a bank uses is no key.
constexpr std::size_t kKirokuKeyBytes = 1000;

// Days since 1970-01-01 of a calendar date, and back.
std::int32_t CivilDay(std::int32_t year, std::int32_t month, std::int32_t dayOfMonth);
void CivilDate(std::int32_t day, std::int32_t& year, std::int32_t& month, std::int32_t& dayOfMonth);
// The local date and second of day of a calendar time.
void LocalDayAndSecond(std::int64_t t, std::int32_t& day, std::int32_t& second);
// "YYYY-MM-DD HH:MM:SS"
std::string KirokuTimeText(std::int32_t day, std::int32_t second);
// Back from that text: exactly its form, a real date and time; false for anything else.
bool KirokuTimeFromText(std::string_view text, std::int32_t& day, std::int32_t& second);

// %XX for every byte a cell must not hold as it is, and back. Unescape gives
// nullopt for a malformed escape.
std::string KirokuEscape(std::string_view bytes);
std::optional<std::string> KirokuUnescape(std::string_view cell);

// The header row (Shift_JIS); an entry's line as the file holds it (CR LF
// at the end).
TextRow KirokuHeaderRow();
std::string KirokuLine(const KirokuEntry& entry);
// The low `digits` hex digits of a value, lower case: the rows' checks and
// the mark's hashes are written so.
std::string KirokuHex(std::uint64_t value, int digits);
// The check cell of a row: the hash of the cells before it (a journal row's
// first eight, a mark row's number and hash).
std::string KirokuCheck(std::span<const std::string_view> cells);
// The entry of a row read from the file (its cells as views into the line),
// or nullopt for anything that is not a whole row this program wrote (wrong
// cell count, numbers out of range, check not matching).
std::optional<KirokuEntry> KirokuFromCells(std::span<const std::string_view> row);
// A plain run of decimal digits within [0, max], as the journal and its mark
// store numbers; nothing else.
std::optional<std::int64_t> KirokuDigits(std::string_view text, std::int64_t max);
