// The question-order shuffle: the Fenwick-tree selection against the
// contiguous pool it must match, on banks of 1k, 10k and 100k questions.
#include "drill/ToiSelection.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ShuffleRows(benchmark::State& state)
{
    const auto n = static_cast<std::int32_t>(state.range(0));
    std::uint32_t seed = 1796586175u;
    for (auto _ : state)
        benchmark::DoNotOptimize(ShuffleRows(n, seed++));
    state.SetComplexityN(n);
}

void BM_ShuffleRowsByPool(benchmark::State& state)
{
    const auto n = static_cast<std::int32_t>(state.range(0));
    std::uint32_t seed = 1796586175u;
    for (auto _ : state)
        benchmark::DoNotOptimize(ShuffleRowsByPool(n, seed++));
    state.SetComplexityN(n);
}

} // namespace

BENCHMARK(BM_ShuffleRows)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShuffleRowsByPool)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
