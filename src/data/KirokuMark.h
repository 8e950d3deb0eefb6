#pragma once
// The watermark that ties the answer journal to the counts file
// (db_kiroku_mark.dat, a table file). The counts file's bytes are fixed, so
// it cannot say itself which answers it holds; instead, before the counts
// file is replaced, this file records "a counts file with these bytes holds
// every answer up to this number", next to the row for the counts file
// being replaced. After a crash at any moment the counts file is the old or
// the new one, and its hash finds the row that says which answers it holds.
//
// Each row carries a check (KirokuCheck of its number and hash), as the
// journal's rows do: a row edited by hand fails it and is not believed.
#include "text/SystemReason.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct KirokuMarkRow {
    std::int64_t seq = 0;
    // Hash of the counts file's bytes (16 hex digits), or "-" for no file.
    std::string hash;
    // Written by an older version, without the check: believed only where
    // it can count nothing again (see KirokuJournal::Open).
    bool unchecked = false;
    bool operator==(const KirokuMarkRow&) const = default;
};

inline constexpr char kKirokuMarkFileName[] = "db_kiroku_mark.dat";

// The hash text of a counts file's bytes; "-" for a missing file.
std::string SeikaiFileHash(const std::string* bytes);

// The rows of the mark file. A missing file gives true and no rows; a file
// that cannot be read, false and a reason. A row that is not a number, a
// hash and their check is left out, and *rejected is then set; a row of a
// number and a hash alone, as older versions wrote, is kept as unchecked.
bool ReadKirokuMark(std::vector<KirokuMarkRow>& rows, FileError* reason, bool* rejected = nullptr);
// Replaces the mark file safely (old or new, never a mix).
bool WriteKirokuMark(const std::vector<KirokuMarkRow>& rows, FileError* reason);
// The number of the last row whose hash is the given one.
std::optional<std::int64_t> MarkedSeq(const std::vector<KirokuMarkRow>& rows, const std::string& hash);
