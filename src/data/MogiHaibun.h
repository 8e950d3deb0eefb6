#pragma once
// The mock exam's mix (配分): how many of the paper's questions each paper
// group gives. A small table file shipped beside the bank, mogi_haibun.dat:
//
//   "試験区分","問題数"
//   "データベース","19"
//   "セキュリティ","3"
//   "基盤と信頼性","2"
//   "開発","1"
//
// Each group once, in any order; the counts add up to the paper's 25. A file
// that is missing or wrong in any way gives the default mix, and a warning
// saying what is wrong, so the paper can always be drawn.
#include "data/MogiToi.h"
#include "text/SystemReason.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

inline constexpr char kMogiHaibunFileName[] = "mogi_haibun.dat";
// Questions of a paper, and the points each right answer gives (of 100).
constexpr int kMogiPaperSize = 25;
constexpr int kMogiPointsEach = 4;

struct MogiHaibun {
    // Questions of each group (MogiKubun order).
    std::array<std::int32_t, kMogiKubunCount> counts {19, 3, 2, 1};
    friend bool operator==(const MogiHaibun&, const MogiHaibun&) = default;
};

enum class MogiHaibunProblem {
    Missing,       // no such file
    Unreadable,    // a folder, too large, no permission, a read error: `reason`
    NulByte,       // a NUL byte: not a table file
    BadHeader,     // line 1 is not 試験区分,問題数
    BadRow,        // `line` has not exactly two cells
    UnknownKubun,  // `line` names no paper group
    RepeatedKubun, // `line` names a group a line before named
    BadCount,      // `line`'s count is not a plain number of 0 to 25
    MissingKubun,  // no line for `kubun`
    BadTotal,      // the counts add up to `total`, not 25
};

struct MogiHaibunWarning {
    MogiHaibunProblem problem = MogiHaibunProblem::Missing;
    std::int32_t line = 0;  // from 1, for the problems of one line
    MogiKubun kubun {};     // MissingKubun
    std::int64_t total = 0; // BadTotal
    FileError reason;       // Unreadable
};

struct MogiHaibunRead {
    MogiHaibun haibun;
    std::optional<MogiHaibunWarning> warning;
};

// The mix a table file's bytes give.
MogiHaibunRead ParseMogiHaibun(std::string bytes);
// The mix of the file in the working folder.
MogiHaibunRead ReadMogiHaibun(const std::string& fileName = kMogiHaibunFileName);
// The warning in Japanese for the learner (UTF-8, as FileReason words its
// reasons), ending with the default mix that is used instead.
std::string MogiHaibunWarningText(const MogiHaibunWarning& warning);
