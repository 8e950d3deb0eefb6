// Start-up and close-time costs with a bank of 100 000 questions, each put
// beside its floor measured in the same run:
//   - opening the study (OpenStudy: the bank, the three databases, the
//     journal), against reading the same files and splitting them into
//     rows and cells;
//   - start to the first painted start screen, against a bare window, with
//     the large bank and with the shipped one;
//   - peak memory at the start screen, against a bare window plus twice the
//     bytes of the four files;
//   - the close-time write of the databases, and their write at a stage end
//     after the automatic save, against writing the same bytes and syncing
//     them;
//   - the random-mode question list, in milliseconds;
//   - opening the study record (its figures, the reviews due and the
//     predicted score, and its first paint) with a year's journal of
//     100 000 answers, against the tenth of a second the learner may wait.
// The bank, full databases and the journal are generated in a temporary
// folder. Run:
//   build/bin/bench_load            (about half a minute)
//   build/bin/bench_load --generate FOLDER   only writes the files
//   build/bin/bench_load --load-only         only the load figure
// Each figure is printed as a ratio to its floor next to its goal.
#include "app/Program.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "text/Unit2.h"
#include "data/DataTexts.h"
#include "data/Kiroku.h"
#include "data/KirokuMark.h"
#include "data/ProgressDb.h"
#include "drill/StudyOpening.h"
#include "drill/ToiSelection.h"
#include "text/Clock.h"
#include "saveload/SaveSlots.h"
#include "support/FixedClock.h"
#include "support/ShownMessages.h"
#include "support/WriteProgress.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Steady = std::chrono::steady_clock;

constexpr std::int32_t kQuestions = 100000;
// A year's journal: 100 000 answers over 365 days up to this day.
constexpr std::int32_t kAnswers = 100000;
constexpr std::time_t kJournalEnd = 1786000000;

double MsSince(Steady::time_point start)
{
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A small deterministic generator, so every run measures the same files.
struct Lcg {
    std::uint32_t state;
    std::uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

// Shift_JIS text of about `bytes` bytes: two-byte characters with a line
// marker now and then, and some ASCII.
std::string SjisText(Lcg& random, std::size_t bytes)
{
    std::string text;
    while (text.size() < bytes) {
        std::uint32_t r = random.Next();
        if (r % 23 == 0) {
            text += DataTexts::kLineMarker;
        } else if (r % 7 == 0) {
            text += static_cast<char>('A' + r % 26);
        } else {
            std::uint32_t lead = 0x88 + (r >> 4) % 0x18; // 0x88..0x9F
            std::uint32_t trail = 0x40 + (r >> 12) % 0xBD;
            if (trail == 0x7F)
                ++trail;
            text += static_cast<char>(lead);
            text += static_cast<char>(trail);
        }
    }
    return text;
}

std::string Line(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t j = 0; j < cells.size(); ++j) {
        line += '"';
        line += cells[j];
        line += '"';
        line += j + 1 < cells.size() ? "," : "\r\n";
    }
    return line;
}

void WriteFile(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The bank of 100 000 questions and the three databases as a learner who
// has played a lot would have them: counts everywhere, nine stored drills.
void GenerateFiles()
{
    Lcg random {12345};
    std::string bank = Line({"key", "toi", "kaisetu", "seikai", "n", "label", "mpic", "kpic"});
    std::string counts = Line({DataTexts::kToiKey, DataTexts::kToiSeikaiCount});
    for (std::int32_t i = 1; i <= kQuestions; ++i) {
        const std::string key = "DQ" + std::to_string(100000 + i);
        const bool choice = i % 3 != 0;
        // i % 3 == 1: the exam's format (one answer of four, labels ア–エ).
        const bool exam = i % 3 == 1;
        bank += Line({key, SjisText(random, 120 + random.Next() % 60), SjisText(random, 70 + random.Next() % 50),
                      exam ? "2" : choice ? "2_4" : "SELECT", choice ? "4" : "0", exam ? "3" : std::to_string(i % 3),
                      "0", "0"});
        counts += Line({key, std::to_string(random.Next() % 40)});
    }
    WriteFile(DataTexts::kToiFileName, bank);
    WriteFile(DataTexts::kSeikaiFileName, counts);

    // The journal, its answers all held by the counts file (the mark says
    // so), so the start counts none again.
    std::string journal = Line(KirokuHeaderRow());
    std::int32_t lastDay = 0, second = 0;
    LocalDayAndSecond(kJournalEnd, lastDay, second);
    KirokuEntry e;
    for (std::int32_t i = 1; i <= kAnswers; ++i) {
        e.seq = i;
        e.day = lastDay - 364 + static_cast<std::int32_t>(static_cast<std::int64_t>(i - 1) * 365 / kAnswers);
        e.second = 20 * 3600 + i % 3600;
        e.key = "DQ" + std::to_string(100001 + random.Next() % kQuestions);
        e.seikai = random.Next() % 10 < 7;
        e.mode = static_cast<std::int32_t>(random.Next() % 5);
        e.nanwido = kNanwidoF;
        e.seconds = 20;
        e.answer = e.seikai ? "2" : "3";
        journal += KirokuLine(e);
    }
    WriteFile(kKirokuFileName, journal);
    if (!WriteKirokuMark({{kAnswers, SeikaiFileHash(&counts)}}, nullptr)) {
        std::fprintf(stderr, "cannot write %s\n", kKirokuMarkFileName);
        std::exit(2);
    }

    TextTable empty = BuildEmptySaveTable(kQuestions + 1);
    std::string save = Line(empty.at(0));
    for (std::int32_t slot = 1; slot <= kSlotCount; ++slot) {
        std::vector<std::int32_t> order = ShuffleRows(kQuestions, 1000u + static_cast<std::uint32_t>(slot));
        std::string list;
        for (std::size_t k = 0; k < order.size(); ++k)
            list += (k ? DataTexts::kListMarker : "") + std::to_string(order[k]);
        std::string stages;
        for (std::int32_t s = 1; s <= kQuestions / kStageSize; ++s)
            stages += (s > 1 ? DataTexts::kLineMarker : "") + std::to_string(random.Next() % 21)
                      + DataTexts::kListMarker + "20";
        save += Line({slot % 2 ? "RAND" : "NORMAL", list, std::to_string(random.Next() % kQuestions), stages, "1",
                      "Mon Dec 07 22:51:57 2026", "2", "3"});
    }
    WriteFile(DataTexts::kSaveLoadFileName, save);
    WriteFile(DataTexts::kNanwidoFileName, "2");
}

const char* const kFiles[] = {DataTexts::kToiFileName, DataTexts::kNanwidoFileName, DataTexts::kSeikaiFileName,
                              DataTexts::kSaveLoadFileName};

std::uint64_t FileBytes()
{
    std::uint64_t total = 0;
    for (const char* name : kFiles)
        total += std::filesystem::file_size(name);
    return total;
}

std::string ReadAll(const char* name)
{
    std::string bytes;
    int fd = ::open(name, O_RDONLY);
    if (fd < 0)
        return bytes;
    char buffer[1 << 16];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return bytes;
}

// The floor of loading: every byte read, every line and cell found.
std::size_t ReadAndSplit()
{
    std::size_t cells = 0;
    for (const char* name : kFiles) {
        const std::string bytes = ReadAll(name);
        std::vector<std::string_view> found;
        std::vector<std::uint32_t> rowStarts;
        std::string_view rest(bytes);
        while (!rest.empty()) {
            std::size_t end = rest.find('\n');
            if (end == std::string_view::npos)
                break;
            std::string_view line = rest.substr(0, end);
            rest.remove_prefix(end + 1);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            rowStarts.push_back(static_cast<std::uint32_t>(found.size()));
            line = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view();
            for (;;) {
                std::size_t at = line.find("\",\"");
                found.push_back(line.substr(0, at));
                if (at == std::string_view::npos)
                    break;
                line.remove_prefix(at + 3);
            }
        }
        cells += found.size() + rowStarts.size();
    }
    return cells;
}

// What the window does before its screens: OpenStudy (the bank, the
// leftovers, the databases, the journal and its mark, the area).
struct Loaded {
    DrillState state;
};
void LoadAll(Loaded& loaded)
{
    OpenStudy(loaded.state);
}

// The floor of writing: the bytes the close writes, written and synced.
void WriteAndSync(const std::vector<std::pair<std::string, std::string>>& files)
{
    for (const auto& [name, bytes] : files) {
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())
            || ::fsync(fd) != 0) {
            std::perror(name.c_str());
            std::exit(2);
        }
        ::close(fd);
    }
}

void Report(const char* what, double value, double floor, const char* unit, const char* goal)
{
    std::printf("%-44s %9.1f %-3s floor %9.1f %-3s ratio %5.2f   goal %s\n", what, value, unit, floor, unit,
                value / floor, goal);
}

// ---------------------------------------------------------------- children

// Peak resident memory of this process so far, in kB.
long PeakKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// A child process: "bare" shows a window with one button, "program" starts
// the program as its entry does, in the given folder. Prints the milliseconds from the start of
// main to the first paint, then the peak memory in kB.
int RunChild(const std::string& kind, const std::string& folder, Steady::time_point start, int argc, char** argv)
{
    if (!folder.empty() && ::chdir(folder.c_str()) != 0)
        return 2;
    ShownMessages::Record(true);
    const auto report = [start](QWidget& window) {
        QPixmap shot = window.grab();
        std::printf("%.3f %ld\n", MsSince(start), PeakKb());
        // At once: the parent's clock stops when this line arrives.
        std::fflush(stdout);
    };
    if (kind == "bare") {
        QApplication app(argc, argv);
        QWidget window;
        window.resize(993, 650);
        QPushButton button(QStringLiteral("OK"), &window);
        window.show();
        report(window);
        return 0;
    }
    if (kind == "record") {
        // The study record opened from the start screen and painted, with
        // the journal's day as today: the milliseconds, then the peak memory.
        FixedClock::Set(kJournalEnd);
        return RunProgram(argc, argv, [](TForm1& form) {
            const Steady::time_point opened = Steady::now();
            form.btnKirokuClick();
            QPixmap shot = form.grab();
            std::printf("%.3f %ld\n", MsSince(opened), PeakKb());
            std::fflush(stdout);
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        });
    }
    // The program's own start: the one-copy lock, the working folder, the
    // translations, the window icon and the window.
    return RunProgram(argc, argv, [&report](TForm1& form) {
        report(form);
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    });
}

struct ChildResult {
    double ms = 0;     // from the start of main to the first paint
    double execMs = 0; // from starting the process to the first paint
    double peakMb = 0;
};

ChildResult Child(const std::string& self, const std::string& kind, const std::string& folder)
{
    const std::string command = "exec '" + self + "' --child " + kind + " '" + folder + "'";
    ChildResult result;
    const Steady::time_point start = Steady::now();
    FILE* pipe = ::popen(command.c_str(), "r");
    long kb = 0;
    if (!pipe || std::fscanf(pipe, "%lf %ld", &result.ms, &kb) != 2) {
        std::fprintf(stderr, "child %s failed\n", kind.c_str());
        std::exit(2);
    }
    result.execMs = MsSince(start);
    ::pclose(pipe);
    result.peakMb = kb / 1024.0;
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const Steady::time_point start = Steady::now();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    if (qgetenv("XDG_RUNTIME_DIR").isEmpty()) {
        // A private runtime folder keeps Qt from warning in every child.
        const std::string runtime = std::filesystem::temp_directory_path() / "mireto-bench-runtime";
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        qputenv("XDG_RUNTIME_DIR", runtime.c_str());
    }
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        int one = 1;
        return RunChild(argv[2], argv[3], start, one, argv);
    }
    if (argc == 3 && std::strcmp(argv[1], "--generate") == 0) {
        // Only the files, for looking at the program with a profiler.
        std::filesystem::create_directories(argv[2]);
        std::filesystem::current_path(argv[2]);
        GenerateFiles();
        return 0;
    }
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string shipped = MIRETO_SAMPLE_FOLDER;
    const std::filesystem::path folder = std::filesystem::temp_directory_path()
                                         / ("mireto-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    GenerateFiles();
    const double mb = FileBytes() / 1048576.0;
    // The journal is read at the start too, into memory the program keeps.
    const double journalMb = std::filesystem::file_size(kKirokuFileName) / 1048576.0;
    std::printf("bank of %d questions and full databases: %.1f MB; a journal of %d answers: %.1f MB; in %s\n\n",
                kQuestions, mb, kAnswers, journalMb, folder.c_str());

    // Loading, interleaved with its floor so both see the same cache.
    std::vector<double> load, floor;
    for (int i = 0; i < 9; ++i) {
        Steady::time_point t = Steady::now();
        volatile std::size_t cells = ReadAndSplit();
        floor.push_back(MsSince(t));
        // The tables are freed after the clock stops: the program keeps
        // them until it ends.
        auto loaded = std::make_unique<Loaded>();
        t = Steady::now();
        LoadAll(*loaded);
        load.push_back(MsSince(t));
        (void)cells;
    }
    Report("load bank and databases (ms)", Median(load), Median(floor), "ms", "<= 2");
    if (argc == 2 && std::strcmp(argv[1], "--load-only") == 0) {
        std::filesystem::current_path(folder.parent_path());
        std::filesystem::remove_all(folder);
        return 0;
    }

    // Start to first paint and peak memory, each in a fresh process: from
    // starting the process (what the learner waits for), and from main.
    std::vector<double> bareMs, bigMs, shippedMs, bareExec, bigExec, shippedExec, bareMb, bigMb;
    for (int i = 0; i < 5; ++i) {
        ChildResult bare = Child(self, "bare", folder.string());
        ChildResult big = Child(self, "program", folder.string());
        bareMs.push_back(bare.ms);
        bareExec.push_back(bare.execMs);
        bareMb.push_back(bare.peakMb);
        bigMs.push_back(big.ms);
        bigExec.push_back(big.execMs);
        bigMb.push_back(big.peakMb);
        if (!shipped.empty() && std::filesystem::exists(shipped + "/" + DataTexts::kToiFileName)) {
            ChildResult small = Child(self, "program", shipped);
            shippedMs.push_back(small.ms);
            shippedExec.push_back(small.execMs);
        }
    }
    Report("first paint from start, 100 000 questions", Median(bigExec), Median(bareExec), "ms", "<= 150 ms");
    Report("  the same from main", Median(bigMs), Median(bareMs), "ms", "");
    if (!shippedMs.empty()) {
        Report("first paint from start, shipped bank", Median(shippedExec), Median(bareExec), "ms", "<= 1.1");
        Report("  the same from main", Median(shippedMs), Median(bareMs), "ms", "");
    }
    const double allowed = Median(bareMb) + 2 * (mb + journalMb);
    Report("peak memory at the start screen (MB)", Median(bigMb), Median(bareMb), "MB", "");
    std::printf("%-44s %9.1f MB allowed %9.1f MB ratio %5.2f   goal <= 1 (bare + 2 x file bytes)\n",
                "  against bare window + 2 x file bytes", Median(bigMb), allowed, Median(bigMb) / allowed);

    // The study record opened and painted, each time in a fresh program.
    std::vector<double> record;
    for (int i = 0; i < 5; ++i)
        record.push_back(Child(self, "record", folder.string()).ms);
    std::printf("%-44s %9.1f ms                                goal < 100 ms\n",
                "study record opened and painted (ms)", Median(record));

    // The close-time write against writing and syncing the same bytes.
    {
        std::string text;
        ReadWholeFileChecked(DataTexts::kToiFileName, text);
        TextTable bank = ParseTableFile(text);
        ProgressData data = LoadProgress(bank);
        std::filesystem::create_directories("write");
        std::filesystem::current_path("write");
        std::vector<std::pair<std::string, std::string>> files;
        for (const char* name : {DataTexts::kSeikaiFileName, DataTexts::kSaveLoadFileName, DataTexts::kNanwidoFileName})
            files.emplace_back(std::string("floor-") + name, ReadAll((std::string("../") + name).c_str()));
        std::vector<double> write, writeFloor;
        for (int i = 0; i < 7; ++i) {
            Steady::time_point t = Steady::now();
            WriteAndSync(files);
            writeFloor.push_back(MsSince(t));
            t = Steady::now();
            WriteProgress(data);
            write.push_back(MsSince(t));
        }
        Report("close-time write (ms)", Median(write), Median(writeFloor), "ms", "<= 2");
        for (const auto& [name, bytes] : files) {
            if (ReadAll(name.substr(6).c_str()) != bytes)
                std::printf("  note: %s is not written back byte for byte\n", name.c_str() + 6);
        }

        // A stage end in a run of all questions: the AUTO slot stored (timed
        // on its own), then the databases written, against writing and
        // syncing those bytes.
        DrillState state;
        state.ToiTable = bank;
        state.StageTable = data.StageTable;
        state.ToiSeikaiTable = data.ToiSeikaiTable;
        state.SaveLoadTable = data.SaveLoadTable;
        state.ToiList = ShuffleRows(kQuestions, 1796586175u);
        state.ToiIndex = 40;
        state.Nanwido = kNanwidoC;
        state.Nokori = 3;
        std::vector<double> stageEnd, stageFloor, store;
        for (int i = 0; i < 7; ++i) {
            Steady::time_point t = Steady::now();
            StoreSessionInSlot(state, 0);
            store.push_back(MsSince(t));
            t = Steady::now();
            WriteProgress(state.ToiSeikaiTable, state.SaveLoadTable, state.Nanwido, true, true, true);
            stageEnd.push_back(MsSince(t));
            const std::vector<std::pair<std::string, std::string>> same = {
                {"floor-seikai", TableToFileBytes(state.ToiSeikaiTable)},
                {"floor-slots", TableToFileBytes(state.SaveLoadTable)},
                {"floor-nanwido", IntToText(state.Nanwido)}};
            t = Steady::now();
            WriteAndSync(same);
            stageFloor.push_back(MsSince(t));
        }
        Report("stage-end write after the AUTO save (ms)", Median(stageEnd), Median(stageFloor), "ms", "<= 2");
        std::printf("%-44s %9.2f ms\n", "  the AUTO save itself, in memory (ms)", Median(store));
        std::filesystem::current_path("..");

        // The random-mode list.
        std::vector<double> shuffle;
        for (int i = 0; i < 15; ++i) {
            Steady::time_point t = Steady::now();
            std::vector<std::int32_t> list = ToiListFor(kModeRand, bank, data.ToiSeikaiTable, 1796586175 + i);
            shuffle.push_back(MsSince(t));
            if (list.size() != static_cast<std::size_t>(kQuestions))
                return 2;
        }
        std::printf("%-44s %9.2f ms                                goal < 10 ms\n", "random-mode list (ms)",
                    Median(shuffle));
    }
    std::filesystem::current_path(folder.parent_path());
    std::filesystem::remove_all(folder);
    return 0;
}
