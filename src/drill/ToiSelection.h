#pragma once
// Which questions a run sets, and in which order.
#include "drill/DrillState.h"

#include <ctime>

// The 32-bit linear congruential generator of the shuffle: seeding discards
// one value; each draw is (state >> 16) & 0x7FFF after
// state = state * 22695477 + 1.
class ToiRandom {
public:
    explicit ToiRandom(std::uint32_t seed);
    std::uint32_t Next();

private:
    std::uint32_t state_;
};

// Rows 1..n shuffled with the given seed: k = r mod (entries left), entry k
// taken out of the pool, the pool closing its gap. Runs in O(n log n).
std::vector<std::int32_t> ShuffleRows(std::int32_t n, std::uint32_t seed);
// Rows 1..(rows of toiSeikaiTable - 1), fewest correct answers first; equal
// counts keep ascending row order.
std::vector<std::int32_t> JakutenOrder(const TextTable& toiSeikaiTable);
// The list for a mode: bank order (0, 3), shuffled with the seed (1, 4),
// weak-point order (2), empty for any other mode.
std::vector<std::int32_t> ToiListFor(std::int32_t playMode, const TextTable& toiTable,
                                     const TextTable& toiSeikaiTable, std::time_t seed);
// The list for a mode over the given rows only (ascending, or in the order
// of today's review): those rows in that order (0, 3), shuffled as rows 1..n would be and mapped onto them (1, 4),
// in weak-point order (2). Over rows 1..N it is ToiListFor's list.
std::vector<std::int32_t> ToiListWithin(std::int32_t playMode, const std::vector<std::int32_t>& rows,
                                        const TextTable& toiSeikaiTable, std::time_t seed);
// Replaces state.ToiList for state.PlayMode, seeding with Clock::Now(), over
// state.BunyaRows when the run is limited to an area.
void BuildToiList(DrillState& state);
