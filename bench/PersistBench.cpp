// What writing the three databases costs, the write at every stage end (and
// what a write after every answer would cost): a bank of 1 000 and of
// 100 000 questions, the nine slots holding runs over the whole bank.
// Writes into a temporary folder under the current one (a real disk, not
// /tmp, which may be memory): run it where the program's files would live.
#include "data/ProgressDb.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct Databases {
    TextTable counts;
    TextTable slots;
};

Databases Build(std::int32_t questions)
{
    TextTable bank;
    bank[0] = {"key"};
    for (std::int32_t row = 1; row <= questions; ++row)
        bank[row] = {IntToText(1000000 + row)};
    Databases d {BuildSeikaiTable(bank), BuildEmptySaveTable(questions + 1)};
    for (auto& [row, cells] : d.counts)
        if (row > 0)
            cells[1] = IntToText(row % 17);
    return d;
}

void BM_WriteThreeDatabases(benchmark::State& state)
{
    const Databases d = Build(static_cast<std::int32_t>(state.range(0)));
    std::string folder = (std::filesystem::current_path() / "bench-persist-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("cannot make a folder here");
        return;
    }
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const ProgressWriteResult result = TryWriteProgress(d.counts, d.slots, kNanwidoD, true, true, true);
        if (!result.ok) {
            state.SkipWithError(FailedWritesText(result).c_str());
            break;
        }
        bytes = std::filesystem::file_size("db_1toi_pr.dat") + std::filesystem::file_size("db_save_load.dat");
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteThreeDatabases)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
