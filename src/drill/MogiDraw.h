#pragma once
// The mock exam's paper: 25 questions of the exam's format, drawn by paper
// group as the mix (data/MogiHaibun.h) says, from a 64-bit seed kept with the
// paper, so the same seed, bank and recent papers give the same paper on
// every system and compiler.
#include "data/MogiHaibun.h"
#include "data/MogiToi.h"
#include "data/ToiKeys.h"
#include "text/Unit2.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// splitmix64 (Steele, Lea and Flood), and a bounded draw by rejection: a
// fixed algorithm, where the standard library's distributions differ from
// one library to the next.
class MogiRandom {
public:
    explicit MogiRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    // Uniform in 0 .. n - 1; n > 0.
    std::uint64_t Below(std::uint64_t n);

private:
    std::uint64_t state_;
};

// The questions a paper can hold, by group: every question of the exam's
// format whose group the paper knows, each key once (its first row), in bank
// order, with its key and area (分野). The texts are views into the bank,
// valid while it lives unchanged.
struct MogiPool {
    std::array<std::vector<std::int32_t>, kMogiKubunCount> rows;
    std::array<std::vector<std::string_view>, kMogiKubunCount> keys;
    std::array<std::vector<std::string_view>, kMogiKubunCount> bunya;
};
MogiPool MogiPoolOf(const TextTable& toiTable, const ToiKeyIndex& keys);
MogiPool MogiPoolOf(const TextTable& toiTable);

// A group that had fewer questions than the mix asks: its missing ones come
// from データベース.
struct MogiShortfall {
    MogiKubun kubun {};
    std::int32_t missing = 0;
    friend bool operator==(const MogiShortfall&, const MogiShortfall&) = default;
};
// How many questions each group gives to a paper.
struct MogiAllocation {
    std::array<std::int32_t, kMogiKubunCount> counts {};
    std::vector<MogiShortfall> shortfalls; // in group order; never データベース
    // Questions the paper lacks altogether: データベース had too few to fill in.
    std::int32_t unfilled = 0;
};
MogiAllocation AllocateMogi(const MogiPool& pool, const MogiHaibun& haibun);

struct MogiPaper {
    std::uint64_t seed = 0;
    // Bank rows, group by group (データベース first), each group's in bank
    // order; and the group of each.
    std::vector<std::int32_t> rows;
    std::vector<MogiKubun> kubun;
    MogiAllocation allocation;
    // Questions of the recent papers drawn again, as their group had no others.
    std::int32_t repeats = 0;
};

// Draws a paper. recentPapers: the keys of the learner's last papers (three);
// their questions are drawn only when a group has no others.
MogiPaper DrawMogiPaper(const MogiPool& pool, const MogiHaibun& haibun,
                        const std::vector<std::vector<std::string>>& recentPapers, std::uint64_t seed);
