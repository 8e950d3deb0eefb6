#pragma once
// The mock exam's paper in progress (db_mogi.dat): everything needed to go
// on after a close, a signal or a crash, written whole (ReplaceFile) each
// time it changes. A table file of tagged rows (Shift_JIS):
//
//   "MOGI","1"                                   header and format
//   "seed","<64-bit seed>"
//   "started","<calendar second the paper began>"
//   "left","<seconds left, 0..2400>"
//   "current","<question shown, from 0>"
//   "handin","<journal number before the paper's rows>"  only while handing in
//   "short","<group 0..3>","<questions missing>"        a group that fell short
//   "unfilled","<questions the paper lacks>"
//   "toi","<key, %XX escaped>","<group>","<answer 0..4>","<見直し 0/1>","<seconds>"
#include "data/MogiToi.h"
#include "text/SystemReason.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr char kMogiPaperFileName[] = "db_mogi.dat";
// The paper's whole time, 40 minutes.
constexpr std::int32_t kMogiSeconds = 40 * 60;

struct MogiPaperToi {
    std::string key;
    MogiKubun kubun = kKubunDatabase;
    std::int32_t answer = 0; // 0: none; 1..4: ア..エ
    bool mark = false;       // 見直し
    std::int32_t seconds = 0;
    friend bool operator==(const MogiPaperToi&, const MogiPaperToi&) = default;
};

struct MogiPaperState {
    std::uint64_t seed = 0;
    std::int64_t started = 0;
    std::int32_t left = kMogiSeconds;
    std::int32_t current = 0;
    // Set once the hand-in has begun: the journal's last number before the
    // paper's first row, so a hand-in cut short is finished, never repeated.
    std::optional<std::int64_t> handInBase;
    std::array<std::int32_t, kMogiKubunCount> missing {};
    std::int32_t unfilled = 0;
    std::vector<MogiPaperToi> toi;
    friend bool operator==(const MogiPaperState&, const MogiPaperState&) = default;
};

std::string MogiPaperBytes(const MogiPaperState& paper);
// nullopt, with the first bad line (from 1) in *badLine, for bytes this
// program did not write.
std::optional<MogiPaperState> ParseMogiPaper(std::string bytes, std::int32_t* badLine = nullptr);

enum class MogiPaperRead { None, Ok, Unreadable, Bad };
struct MogiPaperFound {
    MogiPaperRead status = MogiPaperRead::None;
    MogiPaperState paper;
    FileError reason;         // Unreadable
    std::int32_t badLine = 0; // Bad
};
MogiPaperFound ReadMogiPaper(const std::string& fileName = kMogiPaperFileName);
bool WriteMogiPaper(const MogiPaperState& paper, FileError* error = nullptr,
                    const std::string& fileName = kMogiPaperFileName);
// Removes the file (a paper handed in or given up); true when none is left.
bool RemoveMogiPaper(const std::string& fileName = kMogiPaperFileName);
