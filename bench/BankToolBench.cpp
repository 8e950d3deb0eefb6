// The bank tool on large inputs: a bank of 1 000 000 questions (and the CSV
// the tool exports from it) and one row of 3 000 000 cells, made here in a
// temporary folder. Each command's wall time and peak memory are printed with
// their ratio to the floor of reading the same file once.
//
//   build/bin/bench_bank_tool [questions]
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    double seconds = 0;
    double cpuSeconds = 0; // user and system: steadier than the wall time on a shared machine
    long peakKb = 0;
    int status = -1;
};

// Runs the tool as its own process, its output thrown away.
Run RunTool(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    std::string tool = MIRETO_BANK_TOOL;
    argv.push_back(tool.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        return run;
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// The floor: one read of the whole file into memory.
double ReadOnce(const std::string& path, std::size_t& bytes)
{
    const auto start = Clock::now();
    std::string data(std::filesystem::file_size(path), '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    bytes = static_cast<std::size_t>(in.gcount());
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Report(const char* what, const Run& run, double floorSeconds, std::size_t bytes)
{
    std::printf("%-26s %7.3f s %6.1fx read  cpu %6.3f s %6.1fx  %7.1f MB peak %5.2fx file  (status %d)\n", what,
                run.seconds, run.seconds / floorSeconds, run.cpuSeconds, run.cpuSeconds / floorSeconds,
                run.peakKb / 1024.0, run.peakKb * 1024.0 / bytes, run.status);
}

} // namespace

int main(int argc, char** argv)
{
    const long questions = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("bench-bank-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string bank = (dir / "toi.dat").string();
    const std::string wide = (dir / "wide.dat").string();
    {
        // Short Shift_JIS texts keep a million questions under the tool's 64 MiB limit.
        const std::string text = "\x96\xe2\x91\xe8<$>1. A<$>2. B";    // 問題<$>1. A<$>2. B
        const std::string kaisetu = "\x89\xf0\x90\xe0\x81\x42";      // 解説。
        std::ofstream out(bank, std::ios::binary);
        out << "\"key\",\"q\",\"k\",\"a\",\"n\",\"l\",\"m\",\"e\"\r\n";
        for (long i = 1; i <= questions; ++i)
            out << '"' << i << "\",\"" << text << "\",\"" << kaisetu << "\",\"" << (i % 2 + 1) << "\",\"2\",\"0\",\"0\",\"0\"\r\n";
        std::ofstream w(wide, std::ios::binary);
        w << "\"h\"\r\n\"x";
        for (int i = 1; i < 3000000; ++i)
            w << "\",\"x";
        w << "\"\r\n";
    }
    // The tool runs first: a child's peak memory counts the pages its parent
    // held when it was started, so the files are read here only afterwards.
    const std::string csv = (dir / "toi.csv").string();
    const std::string again = (dir / "again.dat").string();
    const Run check = RunTool({"check", "--no-pictures", bank});
    const Run exported = RunTool({"export", bank, csv});
    const Run stats = RunTool({"stats", bank});
    const Run checkCsv = RunTool({"check", csv});
    const Run convert = RunTool({"convert", again, csv});
    const Run wideCheck = RunTool({"check", "--no-pictures", wide});
    const Run wideExport = RunTool({"export", wide, (dir / "wide.csv").string()});
    std::size_t bankBytes = 0, wideBytes = 0, csvBytes = 0;
    double bankFloor = 1e9, wideFloor = 1e9, csvFloor = 1e9;
    for (int i = 0; i < 3; ++i) {
        bankFloor = std::min(bankFloor, ReadOnce(bank, bankBytes));
        wideFloor = std::min(wideFloor, ReadOnce(wide, wideBytes));
        csvFloor = std::min(csvFloor, ReadOnce(csv, csvBytes));
    }
    std::printf("bank: %ld questions, %.1f MB, read in %.3f s; wide row: %.1f MB, read in %.3f s\n", questions,
                bankBytes / 1e6, bankFloor, wideBytes / 1e6, wideFloor);
    Report("check (bank)", check, bankFloor, bankBytes);
    Report("export (bank)", exported, bankFloor, bankBytes);
    Report("stats (bank)", stats, bankFloor, bankBytes);
    Report("check (its CSV)", checkCsv, csvFloor, csvBytes);
    Report("convert (its CSV)", convert, csvFloor, csvBytes);
    Report("check (3 000 000 cells)", wideCheck, wideFloor, wideBytes);
    Report("export (3 000 000 cells)", wideExport, wideFloor, wideBytes);
    std::filesystem::remove_all(dir);
    return 0;
}
