#pragma once
// The question-order shuffle done literally, removing each draw from a
// contiguous pool that closes its gap: O(n^2), the reference the program's
// shuffle is checked and measured against.
#include "drill/ToiSelection.h"

#include <cstdint>
#include <vector>

inline std::vector<std::int32_t> ShuffleRowsByPool(std::int32_t n, std::uint32_t seed)
{
    std::vector<std::int32_t> rows;
    if (n <= 0)
        return rows;
    std::vector<std::int32_t> pool;
    pool.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 1; i <= n; ++i)
        pool.push_back(i);
    rows.reserve(pool.size());
    ToiRandom random(seed);
    while (!pool.empty()) {
        std::size_t k = random.Next() % pool.size();
        rows.push_back(pool[k]);
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(k));
    }
    return rows;
}
