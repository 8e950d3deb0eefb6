#pragma once
// The handed-in mock exam papers (db_mogi_seiseki.dat), one row each, in the
// order handed in (Shift_JIS table file, replaced whole as each is added):
//
//   日付, 得点, 正解数, 問題数, 使用秒数, シード, 問題 (one cell per key, %XX escaped)
//
// Every number is checked; a row that is not whole is skipped and named.
#include "text/SystemReason.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr char kMogiSeisekiFileName[] = "db_mogi_seiseki.dat";

struct MogiSeisekiRow {
    std::int32_t day = 0;    // local date, days since 1970-01-01
    std::int32_t second = 0; // of that day
    std::int32_t score = 0;  // of 100
    std::int32_t seikai = 0;
    std::int32_t count = 0;
    std::int32_t seconds = 0; // time used
    std::uint64_t seed = 0;
    std::vector<std::string> keys;
    friend bool operator==(const MogiSeisekiRow&, const MogiSeisekiRow&) = default;
};

struct MogiSeisekiRead {
    std::vector<MogiSeisekiRow> rows;
    std::vector<std::int32_t> badLines; // skipped, from 1
    bool unreadable = false;            // the file exists but cannot be read: it is not written
    FileError reason;
};
MogiSeisekiRead ParseMogiSeiseki(std::string bytes);
MogiSeisekiRead ReadMogiSeiseki(const std::string& fileName = kMogiSeisekiFileName);
// The file with a row added: the rows read (bad ones dropped) and the new one.
bool AppendMogiSeiseki(const std::vector<MogiSeisekiRow>& rows, const MogiSeisekiRow& added, FileError* error = nullptr,
                       const std::string& fileName = kMogiSeisekiFileName);
std::string MogiSeisekiBytes(const std::vector<MogiSeisekiRow>& rows);
