// mireto_bank: the question-bank tool for authors. Converts the UTF-8 CSV
// source into the Shift_JIS bank file the program reads, exports a bank back
// to CSV, and checks either for everything the program would misread.
#include "platform/Paths.h"
#include <bank/BankCheck.h>
#include <bank/BankFile.h>
#include <bank/BankKeys.h>
#include <bank/BankStats.h>
#include <bank/BankWrite.h>
#include <bank/CsvSource.h>
#include "picture/LoadJpegBitmap.h"
#include "text/SafeFile.h"
#include "text/SameFile.h"
#include "data/MogiToi.h"
#include "data/ToiBank.h"
#include "text/Unit2.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitProblems = 1;
constexpr int kExitUsage = 2;

const char kHelp[] =
    "mireto_bank - question-bank tool / 問題バンク作成ツール\n"
    "\n"
    "  mireto_bank convert [--pictures DIR] [--areas LIST] OUT.dat IN.csv [IN2.csv ...]\n"
    "      UTF-8 CSV sources -> Shift_JIS bank file. Refuses a source with problems.\n"
    "      CSV（UTF-8）から問題バンク（Shift_JIS）を作る。問題があれば作らない。\n"
    "  mireto_bank export IN.dat OUT.csv\n"
    "      bank file -> UTF-8 CSV (\"<$>\" becomes a line break).\n"
    "      問題バンクを CSV に戻す（\"<$>\" は改行になる）。\n"
    "  mireto_bank check [--pictures DIR | --no-pictures] [--picture-sources DIR]\n"
    "                    BANK.dat | [--areas LIST] SOURCE.csv ...\n"
    "      Reports every problem as FILE:LINE:FIELD: message; exit status 1 if any.\n"
    "      問題を「ファイル:行:列: 内容」で示す。問題があれば終了コード 1。\n"
    "  mireto_bank stats [--strict [--allow-cue NAME ...]] BANK.dat | [--areas LIST] SOURCE.csv ...\n"
    "      Per source file and for the bank: kinds of question, label sets, numbers of\n"
    "      choices, pictures, exam-format questions (one answer of four, ア-エ) by paper\n"
    "      group, the spread of correct answers over the choice positions and the answer\n"
    "      cues (longest choice, length, absolute words, number correct; in bank order the\n"
    "      key repeating the previous key's position or the one after it, the key of a\n"
    "      combination question being the choice of the most common elements, absolute\n"
    "      words in keys against distractors, the most common number correct of six-choice\n"
    "      multi-answer questions), with a warning when one is unlikely to be chance\n"
    "      (p < 0.01). --strict: exit 1 on a spread, or on a cue of the whole bank.\n"
    "      --allow-cue key-repeat|key-after|combination|key-words|correct-count: that cue\n"
    "      of the whole bank is noted, not failed (while a bank is being rebalanced).\n"
    "      ファイルごとと全体の内訳、試験区分ごとの本試験形式の問数、正解位置の偏りと正解の\n"
    "      手がかり（p < 0.01 で警告）。--strict なら偏りか、バンク全体の手がかりで終了コード 1。\n"
    "  mireto_bank keys BANK.dat | SOURCE.csv ...\n"
    "      Lists each question's key and the first line of its text as UTF-8 CSV, for the\n"
    "      list of a release's keys (scripts/update-bank-keys.sh adds the new ones).\n"
    "      問キーと問題文の1行目を CSV（UTF-8）で示す。\n"
    "\n"
    "--areas LIST: a CSV \"ファイル,分野\" naming each source file's area; every question\n"
    "without an area of its own gets its file's in a ninth column 分野. A third column\n"
    "\"試験区分\" names the file's paper group (データベース, セキュリティ, 基盤と信頼性 or 開発),\n"
    "which goes the same way into a tenth column 試験区分.\n"
    "--areas LIST: 各 CSV の分野（と試験区分）を示す一覧。分野のない問にはそのファイルの分野が\n"
    "9 列目に、試験区分が 10 列目に入る。\n"
    "\n"
    "--picture-sources DIR: the pictures' descriptions (NONEk<key>.pic ...); a line\n"
    "\"正解：...\" drawn into a picture must give the row's answer.\n"
    "--picture-sources DIR: 画像の記述。画像に描いた「正解：…」は問の正解と一致すること。\n"
    "\n"
    "Pictures (NONEm<key>.jpg, NONEk<key>.jpg) are looked for in DIR; a bank's\n"
    "default is its own folder, sources are checked for pictures only with --pictures.\n"
    "画像は DIR から探す。バンクの既定はバンクと同じフォルダ。CSV は --pictures 指定時のみ。\n";

struct Arguments {
    std::vector<std::string> files;
    std::string pictureFolder;
    bool picturesGiven = false;
    bool noPictures = false;
    bool strict = false;
    std::string bunyaList;         // --areas
    std::string descriptionFolder; // --picture-sources
    std::set<std::string> allowedCues; // --allow-cue
};

bool ParseArguments(int argc, char** argv, Arguments& args)
{
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--pictures") {
            if (i + 1 >= argc) {
                std::fputs("mireto_bank: --pictures needs a folder\n", stderr);
                return false;
            }
            args.pictureFolder = argv[++i];
            args.picturesGiven = true;
        } else if (a == "--picture-sources") {
            if (i + 1 >= argc) {
                std::fputs("mireto_bank: --picture-sources needs a folder\n", stderr);
                return false;
            }
            args.descriptionFolder = argv[++i];
        } else if (a == "--areas") {
            if (i + 1 >= argc) {
                std::fputs("mireto_bank: --areas needs the list of areas\n", stderr);
                return false;
            }
            args.bunyaList = argv[++i];
        } else if (a == "--allow-cue") {
            static const std::set<std::string> kNames = {"key-repeat", "key-after", "combination", "key-words",
                                                         "correct-count"};
            if (i + 1 >= argc || !kNames.count(argv[i + 1])) {
                std::fputs("mireto_bank: --allow-cue needs key-repeat, key-after, combination, key-words or "
                           "correct-count\n", stderr);
                return false;
            }
            args.allowedCues.insert(argv[++i]);
        } else if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            std::exit(kExitOk);
        } else if (a == "--strict") {
            args.strict = true;
        } else if (a == "--no-pictures") {
            args.noPictures = true;
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "mireto_bank: unknown option %s\n", a.c_str());
            return false;
        } else {
            args.files.push_back(a);
        }
    }
    if (args.picturesGiven && args.noPictures) {
        std::fputs("mireto_bank: --pictures and --no-pictures exclude each other\n", stderr);
        return false;
    }
    return true;
}

// Reads a bank file or a CSV source whole: only a regular file, opened
// without waiting on a FIFO, of at most the limit of its kind (no real file
// comes near it; a bigger file is a wrong name).
bool ReadInputFile(const std::string& name, std::string& bytes, std::string& reason,
                   std::uint64_t maxBytes = kMaxBankSourceBytes)
{
    FileError error;
    if (ReadRegularFile(name, bytes, &error, maxBytes))
        return true;
    reason = FileReason(error);
    return false;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    if (text.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = text[text.size() - tail.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != tail[i])
            return false;
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The program's own decoder, so a picture that passes here also shows.
bool DecodePicture(const std::string& path, std::string& reason, PictureSize& size)
{
    QImage bitmap;
    QString error;
    if (LoadJpegBitmap(path, bitmap, &error)) {
        size = {bitmap.width(), bitmap.height()};
        return true;
    }
    reason = error.toStdString();
    return false;
}

BankCheckOptions PictureOptions(const Arguments& args, const std::string& defaultFolder)
{
    BankCheckOptions options;
    options.descriptionFolder = args.descriptionFolder;
    if (args.noPictures)
        return options;
    if (args.picturesGiven)
        options.pictureFolder = args.pictureFolder;
    else if (!defaultFolder.empty())
        options.pictureFolder = defaultFolder;
    else
        return options;
    options.decodePicture = DecodePicture;
    return options;
}

void Print(const ProblemList& problems, const std::vector<std::string>& files, const char* prefix = "")
{
    for (const BankProblem& p : problems.Listed(files)) {
        BankProblem shown = p;
        shown.message = prefix + p.message;
        std::fprintf(stderr, "%s\n", FormatProblem(shown).c_str());
    }
}

std::string Problems(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " problem" : " problems");
}

std::string Counts(const BankSummary& s)
{
    return std::to_string(s.questions) + (s.questions == 1 ? " question (" : " questions (") + std::to_string(s.choiceQuestions) + " choice, " +
           std::to_string(s.typedQuestions) + " typed), " + std::to_string(s.pictures) +
           (s.pictures == 1 ? " picture" : " pictures");
}

// The sources read once into memory, each checked as it is read, then
// scanned again by whoever needs their rows.
struct Sources {
    std::vector<std::string> names;
    std::vector<std::string> bytes;
    std::vector<std::string> unreadable; // reasons, empty for a read file
    std::string bunyaList;               // the list of areas, when given
    std::string bunyaBytes;
    std::string bunyaUnreadable;
};

// The list of areas: the header row 「ファイル,分野」 or 「ファイル,分野,試験区分」,
// then one row a source: its file name (without folders), its area and, with
// the third column, its paper group. True when the list has the third column.
bool ScanBunyaList(const Sources& sources, std::map<std::string, SourceBunya>& byFile, ProblemList& problems)
{
    static const std::string kFile = "\x83\x74\x83\x40\x83\x43\x83\x8B"; // ファイル
    const std::string& name = sources.bunyaList;
    std::vector<std::string> files;
    bool header = true, withKubun = false;
    CsvSourceScanner scanner(files, problems, [&](const RowView& row) {
        if (header) {
            header = false;
            withKubun = row.cells.size() == 3;
            if ((row.cells.size() != 2 && row.cells.size() != 3) || row.cells[0] != kFile ||
                row.cells[1] != kBunyaHeader || (withKubun && row.cells[2] != kKubunHeader))
                problems.Add({name, row.line, 0, "the header row of the list of areas is ファイル,分野 or "
                                                 "ファイル,分野,試験区分"},
                             ProblemList::Stage::Content);
            return;
        }
        const std::size_t columns = withKubun ? 3 : 2;
        if (row.cells.size() != columns || row.cells[0].empty() || row.cells[1].empty() ||
            (withKubun && row.cells[2].empty()))
            problems.Add({name, row.line, 0,
                          withKubun ? "a row of the list of areas is a file name, its area (分野) and its paper group "
                                      "(試験区分)"
                                    : "a row of the list of areas is a file name and its area (分野)"},
                         ProblemList::Stage::Content);
        else if (withKubun && !MogiKubunNamed(row.cells[2]))
            problems.Add({name, row.line, 3, KubunProblem(row.cells[2])}, ProblemList::Stage::Content);
        else if (!byFile.emplace(std::string(row.cells[0]),
                                 SourceBunya {std::string(row.cells[1]), withKubun ? std::string(row.cells[2]) : ""})
                      .second)
            problems.Add({name, row.line, 1, "this file is named twice"}, ProblemList::Stage::Content);
    });
    if (sources.bunyaUnreadable.empty())
        scanner.Add(name, sources.bunyaBytes);
    else
        scanner.AddUnreadable(name, sources.bunyaUnreadable);
    return withKubun;
}

Sources ReadSources(const std::vector<std::string>& names, const std::string& bunyaList)
{
    Sources sources;
    sources.names = names;
    sources.bunyaList = bunyaList;
    if (!bunyaList.empty() && !ReadInputFile(bunyaList, sources.bunyaBytes, sources.bunyaUnreadable))
        sources.bunyaBytes.clear();
    for (const std::string& name : names) {
        std::string bytes, reason;
        if (!ReadInputFile(name, bytes, reason))
            bytes.clear();
        sources.bytes.push_back(std::move(bytes));
        sources.unreadable.push_back(reason);
    }
    return sources;
}

// Scans the sources as one bank, naming them in files as they come.
void ScanSources(const Sources& sources, const RowVisitor& visit, std::vector<std::string>& files,
                 ProblemList& problems)
{
    CsvSourceScanner scanner(files, problems, visit);
    if (!sources.bunyaList.empty()) {
        std::map<std::string, SourceBunya> byFile;
        const bool withKubun = ScanBunyaList(sources, byFile, problems);
        scanner.SetBunya(std::move(byFile), withKubun);
    }
    for (std::size_t i = 0; i < sources.names.size(); ++i) {
        if (sources.unreadable[i].empty())
            scanner.Add(sources.names[i], sources.bytes[i]);
        else
            scanner.AddUnreadable(sources.names[i], sources.unreadable[i]);
    }
}

// Reads a bank file; an unreadable one is reported as a problem.
bool ReadBank(const std::string& name, std::string& bytes, ProblemList& problems)
{
    std::string reason;
    // The program's own limit for the bank: the tool reads what it reads.
    if (ReadInputFile(name, bytes, reason, kMaxReadBytes))
        return true;
    problems.Add({name, 0, 0, "cannot read the file: " + reason}, ProblemList::Stage::Syntax);
    return false;
}

bool TextProblems(const ProblemList& problems)
{
    return problems.Count(ProblemList::Stage::Syntax) + problems.Count(ProblemList::Stage::Text) > 0;
}

// A bank file or CSV sources, checked row by row: the problems and the counts.
// What the names of a command that reads a bank or its sources give: CSV
// sources only (one or more), one bank file, or a mix that is neither.
enum class Given { Sources, Bank, Neither };

Given GivenKind(const std::vector<std::string>& names)
{
    const auto sources = static_cast<std::size_t>(
        std::count_if(names.begin(), names.end(), [](const std::string& f) { return EndsWith(f, ".csv"); }));
    if (sources == names.size())
        return Given::Sources;
    return names.size() == 1 ? Given::Bank : Given::Neither;
}

// An area list names the areas of CSV sources (a bank file holds its own);
// says so when it comes with a bank file.
bool AreasGoWith(Given given, const std::string& bunyaList)
{
    if (given == Given::Sources || bunyaList.empty())
        return true;
    std::fputs("mireto_bank: --areas goes with CSV sources\n", stderr);
    return false;
}

// Every row of the CSV sources, or of the one bank file.
void ScanGiven(const std::vector<std::string>& names, bool isSource, const std::string& bunyaList,
               const RowVisitor& visit, std::vector<std::string>& files, ProblemList& problems)
{
    if (isSource) {
        ScanSources(ReadSources(names, bunyaList), visit, files, problems);
        return;
    }
    files.push_back(names.front());
    std::string bytes;
    if (ReadBank(names.front(), bytes, problems))
        ScanBankBytes(names.front(), bytes, problems, visit);
}

BankSummary CheckFiles(const std::vector<std::string>& names, bool isSource, const std::string& bunyaList,
                       const BankCheckOptions& options, std::vector<std::string>& files, ProblemList& problems)
{
    BankContentCheck check(files, options, problems);
    ScanGiven(names, isSource, bunyaList, [&](const RowView& row) { check.Row(row); }, files, problems);
    return check.Finish(TextProblems(problems));
}

int Convert(const Arguments& args)
{
    if (args.files.size() < 2 || args.noPictures) {
        std::fputs("usage: mireto_bank convert [--pictures DIR] [--areas LIST] OUT.dat IN.csv [IN2.csv ...]\n", stderr);
        return kExitUsage;
    }
    const std::string& out = args.files.front();
    std::vector<std::string> inputs(args.files.begin() + 1, args.files.end());
    if (EndsWith(out, ".csv")) {
        std::fprintf(stderr, "mireto_bank: %s: the first name is the bank file to write, not a source\n", out.c_str());
        return kExitUsage;
    }
    for (const std::string& in : inputs) {
        if (in == out || SameFile(in, out)) {
            std::fprintf(stderr, "mireto_bank: %s is both source and output\n", in.c_str());
            return kExitUsage;
        }
    }

    const Sources sources = ReadSources(inputs, args.bunyaList);
    std::vector<std::string> files;
    ProblemList problems;
    BankSummary summary;
    {
        const BankCheckOptions options = PictureOptions(args, std::string());
        BankContentCheck check(files, options, problems);
        ScanSources(sources, [&](const RowView& row) { check.Row(row); }, files, problems);
        summary = check.Finish(TextProblems(problems));
    }
    if (!problems.Empty()) {
        Print(problems, files);
        std::fprintf(stderr, "%s: not written: %s\n", out.c_str(), Problems(problems.Count()).c_str());
        return kExitProblems;
    }
    std::string bank;
    files.clear();
    ScanSources(sources, [&](const RowView& row) { AppendTableLine(bank, row.cells); }, files, problems);
    FileError error;
    if (!ReplaceFile(out, bank, &error, NewFileOwner::Writer)) {
        std::fprintf(stderr, "%s: cannot write: %s\n", out.c_str(), FileReason(error).c_str());
        return kExitProblems;
    }
    std::printf("%s: %s from %zu source file%s\n", out.c_str(), Counts(summary).c_str(), inputs.size(),
                inputs.size() == 1 ? "" : "s");
    return kExitOk;
}

int Export(const Arguments& args)
{
    if (args.files.size() != 2 || args.picturesGiven || args.noPictures || !args.bunyaList.empty() ||
        !args.descriptionFolder.empty()) {
        std::fputs("usage: mireto_bank export IN.dat OUT.csv\n", stderr);
        return kExitUsage;
    }
    const std::string& in = args.files[0];
    const std::string& out = args.files[1];
    if (in == out || EndsWith(out, ".dat")) {
        std::fprintf(stderr, "mireto_bank: %s: the second name is the CSV to write\n", out.c_str());
        return kExitUsage;
    }
    if (SameFile(in, out)) {
        std::fprintf(stderr, "mireto_bank: %s is the bank %s itself\n", out.c_str(), in.c_str());
        return kExitUsage;
    }
    const std::vector<std::string> files {in};
    // An export lists its problems in the order they are found.
    ProblemList text(false), warnings(false);
    std::string bytes;
    if (ReadBank(in, bytes, text)) {
        const BankCheckOptions options;
        BankContentCheck check(files, options, warnings);
        ScanBankBytes(in, bytes, text, [&](const RowView& row) { check.Row(row); });
        check.Finish(!text.Empty());
    }
    if (!text.Empty()) {
        // Such a bank would not come back the same; fix it first.
        Print(text, files);
        std::fprintf(stderr, "%s: not written: the bank's text has %s\n", out.c_str(), Problems(text.Count()).c_str());
        return kExitProblems;
    }
    // Content problems do not stop the export: the CSV is where they are fixed.
    Print(warnings, files, "warning: ");

    // The bank's text has no problem, so its bytes are as read: its rows are
    // read again straight from them, by the program's reader.
    std::string csv, error;
    std::size_t rows = 0;
    {
        TableLineReader bank(bytes);
        TableLine line;
        std::vector<TextCellSpan> cells;
        for (; bank.Next(line, cells); ++rows) {
            if (!AppendCsvRecord(static_cast<std::int64_t>(rows), CellsView(bytes.data(), &cells), csv, error)) {
                std::fprintf(stderr, "%s: %s\n", in.c_str(), error.c_str());
                return kExitProblems;
            }
            cells.clear();
        }
    }
    // The CSV read back must give the same rows: each joins to its bank line.
    bool same = true;
    std::size_t again = 0;
    {
        // Cells that read back without problems make no boundaries of their
        // own, so the same line text means the same cells.
        TableLineReader bank(bytes);
        TableLine line;
        std::vector<TextCellSpan> cells;
        std::vector<std::string> names;
        ProblemList problems;
        CsvSourceScanner scanner(names, problems, [&](const RowView& row) {
            cells.clear();
            same = same && bank.Next(line, cells) && line.length >= 2
                   && CellsJoinTo(row.cells, std::string_view(bytes).substr(line.start + 1, line.length - 2));
            ++again;
        });
        scanner.Add(out, csv);
        same = same && problems.Empty() && again == rows;
    }
    if (!same) {
        std::fprintf(stderr, "%s: not written: the CSV would not convert back to the same bank\n", out.c_str());
        return kExitProblems;
    }
    FileError writeError;
    if (!ReplaceFile(out, csv, &writeError, NewFileOwner::Writer)) {
        std::fprintf(stderr, "%s: cannot write: %s\n", out.c_str(), FileReason(writeError).c_str());
        return kExitProblems;
    }
    const std::size_t questions = rows == 0 ? 0 : rows - 1;
    std::printf("%s: %zu question%s\n", out.c_str(), questions, questions == 1 ? "" : "s");
    return kExitOk;
}

int Check(const Arguments& args)
{
    if (args.files.empty()) {
        std::fputs("usage: mireto_bank check [--pictures DIR | --no-pictures] BANK.dat | SOURCE.csv ...\n", stderr);
        return kExitUsage;
    }
    const Given given = GivenKind(args.files);
    if (given == Given::Neither) {
        std::fputs("mireto_bank: check one bank file, or one or more CSV sources\n", stderr);
        return kExitUsage;
    }
    if (!AreasGoWith(given, args.bunyaList))
        return kExitUsage;
    const bool isSource = given == Given::Sources;
    std::vector<std::string> files;
    ProblemList problems;
    const BankSummary summary = CheckFiles(
        args.files, isSource, args.bunyaList, PictureOptions(args, isSource ? std::string() : FolderOf(args.files.front())), files,
        problems);
    std::string names;
    for (const std::string& f : args.files)
        names += (names.empty() ? "" : " ") + f;
    if (!problems.Empty()) {
        Print(problems, files);
        std::fprintf(stderr, "%s: %s\n", names.c_str(), Problems(problems.Count()).c_str());
        return kExitProblems;
    }
    std::printf("%s: OK: %s\n", names.c_str(), Counts(summary).c_str());
    return kExitOk;
}

int Stats(const Arguments& args)
{
    const Given given = GivenKind(args.files);
    if (args.files.empty() || args.picturesGiven || args.noPictures || !args.descriptionFolder.empty() ||
        given == Given::Neither) {
        std::fputs("usage: mireto_bank stats [--strict [--allow-cue NAME ...]] BANK.dat | SOURCE.csv ...\n", stderr);
        return kExitUsage;
    }
    if (!AreasGoWith(given, args.bunyaList))
        return kExitUsage;
    const bool isSource = given == Given::Sources;
    std::vector<std::string> files;
    ProblemList problems;
    BankStatsTally tally;
    std::size_t rows = 0;
    const RowVisitor visit = [&](const RowView& row) {
        ++rows;
        tally.Row(row);
    };
    ScanGiven(args.files, isSource, args.bunyaList, visit, files, problems);
    if (rows == 0) {
        Print(problems, files);
        return kExitProblems;
    }
    const std::vector<BankStats> stats = tally.Finish(files);
    const std::string report = FormatBankStats(stats);
    std::fputs(report.c_str(), stdout);
    for (const std::string& name : ExamCueNames(stats.back().examCues))
        if (args.allowedCues.count(name))
            std::printf("note: the whole bank shows the cue %s, tolerated by --allow-cue %s\n", name.c_str(), name.c_str());
    return args.strict && (AnyUnlikelySpread(stats) || WholeBankShowsCue(stats, args.allowedCues)) ? kExitProblems : kExitOk;
}

// The keys and first lines, to standard output.
int Keys(const Arguments& args)
{
    const Given given = GivenKind(args.files);
    if (args.files.empty() || args.picturesGiven || args.noPictures || !args.descriptionFolder.empty() ||
        !args.bunyaList.empty() || given == Given::Neither) {
        std::fputs("usage: mireto_bank keys BANK.dat | SOURCE.csv ...\n", stderr);
        return kExitUsage;
    }
    std::vector<std::string> files;
    ProblemList problems;
    KeyLister lister;
    ScanGiven(args.files, given == Given::Sources, std::string(), [&](const RowView& row) { lister.Row(row); }, files,
              problems);
    std::string csv, error;
    if (!problems.Empty() || !FormatKeyList(lister.Lines(), csv, error)) {
        Print(problems, files);
        if (!error.empty())
            std::fprintf(stderr, "mireto_bank: %s\n", error.c_str());
        return kExitProblems;
    }
    std::fputs(csv.c_str(), stdout);
    return kExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    // File names as UTF-8, also on Windows.
    std::vector<std::string> arguments = Platform::Utf8Arguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& a : arguments)
        utf8Argv.push_back(a.data());
    argv = utf8Argv.data();
    if (argc < 2) {
        std::fputs(kHelp, stderr);
        return kExitUsage;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    Arguments args;
    if (!ParseArguments(argc, argv, args))
        return kExitUsage;
    if ((args.strict || !args.allowedCues.empty()) && command != "stats") {
        std::fputs("mireto_bank: --strict and --allow-cue go with stats\n", stderr);
        return kExitUsage;
    }
    if (command == "convert")
        return Convert(args);
    if (command == "export")
        return Export(args);
    if (command == "check")
        return Check(args);
    if (command == "stats")
        return Stats(args);
    if (command == "keys")
        return Keys(args);
    std::fprintf(stderr, "mireto_bank: unknown command %s (see mireto_bank --help)\n", command.c_str());
    return kExitUsage;
}
