// How long files made to be hostile keep the window busy: presenting a
// question of one enormous run (the start button, the memo drawn) for a run
// of 1 MB and 10 MB of letters or of kana marks, the bounding of the text
// alone, and opening the save/load screen on a slot file of a million rows.
//   build/bin/bench_hostile_files
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "text/Unit2.h"
#include "data/DataTexts.h"
#include "drill/ShownText.h"
#include "support/ShownMessages.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// A bank of one typed question whose text is `length` bytes without a break:
// ASCII letters, or (kana) the long-vowel mark "ー", before which no line may break.
void WriteRunBank(std::int64_t length, bool kana)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(length));
    while (static_cast<std::int64_t>(text.size()) < length)
        text += kana ? "\x81\x5B" : "a";
    TextTable bank;
    bank[0] = {"key", "text", "kaisetu", "seikai", "choices", "labels", "toiPicture", "kaisetuPicture"};
    bank[1] = {"K1", text, "b", "A1", "0", "0", "0", "0"};
    FileError error;
    if (!TryWriteTextFile(TableToText(bank), DataTexts::kToiFileName, &error))
        std::fprintf(stderr, "cannot write the bank: %s\n", FileReason(error).c_str());
}

void BM_BoundShownText(benchmark::State& state)
{
    const std::string run(static_cast<std::size_t>(state.range(0)), 'a');
    for (auto _ : state) {
        BoundedText shown = BoundShownText(run);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_BoundShownText)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

void BM_PresentOneRunQuestion(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    WriteRunBank(state.range(0), state.range(1) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<TForm1>();
        form->show();
        state.ResumeTiming();
        form->btnStartNormal->click();
        // Drawing the memo lays its text out, as the first paint would.
        QPixmap shot = form->memToiBun->grab();
        benchmark::DoNotOptimize(shot);
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    QDir::setCurrent(previous);
}
BENCHMARK(BM_PresentOneRunQuestion)
    ->ArgsProduct({{1 << 20, 10 << 20}, {0, 1}})
    ->ArgNames({"bytes", "kana"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// A slot file of `rows` slots, each as a new bank of three questions has it.
void WriteSlotFile(std::int64_t rows)
{
    TextTable table;
    table[0] = {"mode", "list", "index", "stages", "filled", "date", "nanwido", "nokori"};
    for (std::int32_t i = 1; i <= rows; ++i)
        table[i] = {"NORMAL", "1<%>2<%>3", "0", "", "0", "date", "5", "3"};
    FileError error;
    if (!TryWriteTextFile(TableToText(table), DataTexts::kSaveLoadFileName, &error))
        std::fprintf(stderr, "cannot write the slots: %s\n", FileReason(error).c_str());
}

void BM_OpenSaveLoadScreen(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    WriteRunBank(3, false);
    WriteSlotFile(state.range(0));
    auto form = std::make_unique<TForm1>();
    form->show();
    for (auto _ : state) {
        form->btnLoadNormal->click();
        QPixmap shot = form->lvSaveLoad->grab();
        benchmark::DoNotOptimize(shot);
        form->btnSLBack->click();
    }
    form.reset();
    QDir::setCurrent(previous);
}
BENCHMARK(BM_OpenSaveLoadScreen)->Arg(9)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ShownMessages::Record(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
