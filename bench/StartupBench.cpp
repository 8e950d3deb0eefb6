// How long the learner waits for the start screen: reading the question bank
// and the three databases, building the six screens and the first paint.
// Run from a folder holding a question bank (build/sample after a build):
//   cd build/sample && ../bin/bench_startup
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "text/Unit2.h"
#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "support/ShownMessages.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

void BM_LoadBankAndDatabases(benchmark::State& state)
{
    for (auto _ : state) {
        TextTable bank = LoadTextTable(DataTexts::kToiFileName);
        ProgressData data = LoadProgress(bank);
        benchmark::DoNotOptimize(data);
    }
}
BENCHMARK(BM_LoadBankAndDatabases)->Unit(benchmark::kMillisecond);

void BM_OpenWindowToFirstPaint(benchmark::State& state)
{
    for (auto _ : state) {
        TForm1 form;
        form.show();
        // Rendering the window once stands for its first paint.
        QPixmap shot = form.grab();
        benchmark::DoNotOptimize(shot);
    }
}
BENCHMARK(BM_OpenWindowToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_EmptyWindowToFirstPaint(benchmark::State& state)
{
    // The floor: a bare window of the same size.
    for (auto _ : state) {
        QWidget window;
        window.resize(993, 650);
        window.show();
        QPixmap shot = window.grab();
        benchmark::DoNotOptimize(shot);
    }
}
BENCHMARK(BM_EmptyWindowToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ShownMessages::Record(true);
    if (!DataFileExists(DataTexts::kToiFileName)) {
        fprintf(stderr, "Run this from a folder holding %s (for example build/sample).\n", DataTexts::kToiFileName);
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
