#pragma once
// The largest file of each kind that is read, all in one place. Each is far
// above the largest real file of its kind, so that only a wrong name (a disk
// image, a copy of a device) or a hostile file is refused, before it is read
// into memory. A refusal names the limit of the file it refused
// (FileError::limit).
#include <cstdint>

inline constexpr std::uint64_t kKiB = std::uint64_t {1} << 10;
inline constexpr std::uint64_t kMiB = std::uint64_t {1} << 20;

// The question bank (read by the program and by both tools), the three
// databases and any file without a limit of its own: a bank of 100 000
// questions and its full databases are about 37 MB in all (the counts file
// alone 1.5 MB).
inline constexpr std::uint64_t kMaxReadBytes = 256 * kMiB;
// Each answer journal file (db_kiroku.dat, db_kiroku_1.dat): at most 200 000
// rows are kept, some 16 MB.
inline constexpr std::uint64_t kKirokuMaxFileBytes = 64 * kMiB;
// The journal's mark (db_kiroku_mark.dat): a few rows.
inline constexpr std::uint64_t kKirokuMarkMaxBytes = 64 * kKiB;
// The remembered area choice (db_bunya.dat): one row.
inline constexpr std::uint64_t kBunyaChoiceMaxBytes = 64 * kKiB;
// A question or explanation picture (JPEG).
inline constexpr std::uint64_t kMaxPictureFileBytes = 64 * kMiB;
// A CSV source or an area list read by the bank tool.
inline constexpr std::uint64_t kMaxBankSourceBytes = 64 * kMiB;
// The mock exam's mix (mogi_haibun.dat): a few lines.
inline constexpr std::uint64_t kMogiHaibunMaxBytes = 4 * kKiB;
// A picture description (.pic) read by the picture tool and the bank check.
inline constexpr std::uint64_t kMaxPictureDescriptionBytes = 4 * kMiB;
