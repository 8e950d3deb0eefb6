// The answer journal and the study record with a year of daily study
// (100 000 answers over 365 days, a bank of 10 000 questions in 12 areas),
// each figure beside its floor measured in the same run:
//   - one durable append (the row written and synced) against rewriting the
//     whole journal safely, which the window must never wait on;
//   - reading the journal at start-up against reading its bytes;
//   - working out the record's figures, and opening the record screen
//     (figures and first paint, offscreen), against the tenth of a second
//     the learner may wait.
// Run: build/bin/bench_kiroku   (a few seconds; files in a temporary folder)
#include "text/SafeFile.h"
#include "window/KirokuView.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "data/DataTexts.h"
#include "data/Kiroku.h"
#include "drill/KirokuFigures.h"
#include "text/Clock.h"
#include "text/Unit2.h"
#include "support/FixedClock.h"
#include "support/ShownMessages.h"

#include <QApplication>
#include <QPixmap>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

namespace {

using Steady = std::chrono::steady_clock;
constexpr std::int32_t kQuestions = 10000;
constexpr std::int32_t kAnswers = 100000;
constexpr std::time_t kNow = 1786000000;

double MsSince(Steady::time_point start)
{
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Generate()
{
    TextTable bank;
    bank[0] = {"key", "text", "kaisetu", "seikai", "n", "l", "p", "k", "area"};
    for (std::int32_t i = 1; i <= kQuestions; ++i)
        bank[i] = {IntToText(1000 + i), "question text number " + IntToText(i) + " with some words", "e", "1", "0",
                   "0", "0", "0", "area" + IntToText(i % 12)};
    ReplaceFile(DataTexts::kToiFileName, TableToFileBytes(bank));
    TextTable header;
    header[0] = KirokuHeaderRow();
    std::string journal = TableToFileBytes(header);
    std::mt19937 random(7);
    std::int32_t today, second;
    LocalDayAndSecond(kNow, today, second);
    KirokuEntry e;
    for (std::int32_t i = 1; i <= kAnswers; ++i) {
        e.seq = i;
        e.day = today - 364 + static_cast<std::int32_t>(static_cast<std::int64_t>(i - 1) * 365 / kAnswers);
        e.second = 20 * 3600 + i % 3600;
        e.key = IntToText(1001 + static_cast<std::int32_t>(random() % kQuestions));
        e.seikai = random() % 3 != 0;
        e.mode = static_cast<std::int32_t>(random() % 5);
        e.nanwido = kNanwidoF;
        e.seconds = 20;
        e.answer = e.seikai ? "1" : "2";
        journal += KirokuLine(e);
    }
    ReplaceFile(kKirokuFileName, journal);
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "mireto-bench-kiroku";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    FixedClock::Set(kNow);
    Generate();
    const std::uint64_t bytes = std::filesystem::file_size(kKirokuFileName);
    std::printf("journal: %d answers, %.1f MB; bank: %d questions in 12 areas\n", kAnswers, bytes / 1e6, kQuestions);

    // Start-up read, against reading the bytes.
    std::vector<double> open, read;
    for (int i = 0; i < 5; ++i) {
        auto start = Steady::now();
        std::string raw;
        ReadRegularFile(kKirokuFileName, raw);
        read.push_back(MsSince(start));
        start = Steady::now();
        KirokuJournal journal;
        journal.Open(nullptr, false); // no rotation: the same file each time
        open.push_back(MsSince(start));
    }
    std::printf("start-up read of the journal: %.1f ms, reading its bytes %.1f ms (x%.1f)\n", Median(open),
                Median(read), Median(open) / Median(read));

    // Appends, against a safe rewrite of the whole journal.
    KirokuJournal journal;
    journal.Open(nullptr, false);
    std::vector<double> appends, rewrites;
    KirokuEntry e = journal.Entries().back();
    for (int i = 0; i < 30; ++i) {
        auto start = Steady::now();
        journal.Append(e);
        appends.push_back(MsSince(start));
    }
    std::string all;
    ReadRegularFile(kKirokuFileName, all);
    for (int i = 0; i < 5; ++i) {
        const auto start = Steady::now();
        ReplaceFile("db_kiroku_copy.dat", all);
        rewrites.push_back(MsSince(start));
    }
    std::printf("one durable append: %.2f ms; a safe rewrite of the journal: %.1f ms (the append costs x%.3f of it)\n",
                Median(appends), Median(rewrites), Median(appends) / Median(rewrites));

    // The record's figures, and the screen opened with its first paint.
    TextTable bank = LoadTextTable(DataTexts::kToiFileName);
    std::int32_t today, second;
    LocalDayAndSecond(kNow, today, second);
    std::vector<double> figures;
    for (int i = 0; i < 5; ++i) {
        const auto start = Steady::now();
        const KirokuFigures f = ComputeKirokuFigures(bank, journal.Entries(), today);
        figures.push_back(MsSince(start));
        if (f.answers == 0)
            return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ShownMessages::Record(true);
    TForm1 form;
    form.show();
    std::vector<double> screen;
    for (int i = 0; i < 5; ++i) {
        form.ShowStartScreen();
        const auto start = Steady::now();
        form.btnKirokuClick();
        const QPixmap painted = form.grab();
        screen.push_back(MsSince(start));
    }
    std::printf("record figures: %.1f ms; record screen opened and painted: %.1f ms (x%.2f of the 100 ms budget)\n",
                Median(figures), Median(screen), Median(screen) / 100.0);
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);
    return 0;
}
