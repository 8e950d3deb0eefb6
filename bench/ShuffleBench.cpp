// The question-order shuffle: the Fenwick-tree selection against the
// contiguous pool it must match, on banks of 1k, 10k and 100k questions.
#include "drill/ToiSelection.h"
#include "support/ShuffleOracle.h"

#include <benchmark/benchmark.h>

namespace {

using Shuffle = std::vector<std::int32_t> (*)(std::int32_t, std::uint32_t);

void BM_Shuffle(benchmark::State& state, Shuffle shuffle)
{
    const auto n = static_cast<std::int32_t>(state.range(0));
    std::uint32_t seed = 1796586175u;
    for (auto _ : state)
        benchmark::DoNotOptimize(shuffle(n, seed++));
    state.SetComplexityN(n);
}

} // namespace

BENCHMARK_CAPTURE(BM_Shuffle, ShuffleRows, &ShuffleRows)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Shuffle, ShuffleRowsByPool, &ShuffleRowsByPool)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
