// The learner's own copy of the answer journal: every recorded answer as
// UTF-8 CSV, for a spreadsheet.
//
//   mireto_record [FOLDER] OUTPUT.csv    the journal of FOLDER (default: the
//                                        current folder); "-" for standard output
//
// Columns: 番号, 日時, 問キー, 分野, 結果, モード, 難易度, 秒数, 回答. The area
// comes from the folder's bank when it is there. Rows torn by a crash or
// edited by hand are left out, as the program leaves them out. A journal
// file that cannot be read (too large, no permission) writes nothing, as the
// CSV would lack its answers. Nothing in the folder is changed: the output is
// never one of its files (by identity, through any link), and inside it only
// a new .csv file is written.
#include "data/DataTexts.h"
#include "text/SafeFile.h"
#include "text/SameFile.h"
#include "data/Kiroku.h"
#include "data/PlayModes.h"
#include "data/ToiBank.h"
#include "data/ToiKeys.h"
#include "text/SjisCodec.h"
#include "text/Unit2.h"

#include "platform/Paths.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {


// A CSV field: quoted when it holds a quote, a comma or a line break.
std::string Field(const std::string& text)
{
    if (text.find_first_of("\",\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

bool EndsWithCsv(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return tail == ".csv";
}

// Why the output would change the learner's folder (the current folder
// now), or empty when it may be written. `path` is absolute.
std::string OutputRefusal(const std::string& path)
{
    const std::string entry = FolderEntryOf(".", path);
    if (!entry.empty())
        return "it is the folder's file " + entry;
    if (FolderWithin(Platform::Utf8Of(Platform::PathOf(path).parent_path()), ".")) {
        if (KindAt(path) != EntryKind::Missing)
            return "inside the folder only a new .csv file is written, and this name is in use";
        if (!EndsWithCsv(path))
            return "inside the folder only a new .csv file is written";
    }
    return {};
}

// A journal row's mode is one of the table's (the row check holds it to
// them); a number outside it is shown as it is rather than trusted.
std::string ModeName(std::int32_t mode)
{
    const PlayModeRow* row = PlayModeOf(mode);
    return row ? SjisToUtf8(std::string(row->name)) : std::to_string(mode);
}

int Usage()
{
    std::fputs("usage: mireto_record [FOLDER] OUTPUT.csv   (\"-\" for standard output)\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args = Platform::Utf8Arguments(argc, argv);
    if (args.size() < 2 || args.size() > 3)
        return Usage();
    const std::string output = args.back();
    std::string outputPath = output;
    std::error_code error;
    if (output != "-") {
        // Named from where the tool was started, before it enters FOLDER.
        const std::filesystem::path absolute = std::filesystem::absolute(Platform::PathOf(output), error);
        if (!error)
            outputPath = Platform::Utf8Of(absolute);
    }
    if (args.size() == 3) {
        std::filesystem::current_path(Platform::PathOf(args[1]), error);
        if (error) {
            std::fprintf(stderr, "mireto_record: %s: no such folder\n", args[1].c_str());
            return 1;
        }
    }

    // Standard output is the shell's redirection, which may name a file too.
    std::string refusal;
    if (output != "-")
        refusal = OutputRefusal(outputPath);
    else if (const std::string entry = FolderEntryOfOpen(".", 1); !entry.empty())
        refusal = "standard output is the folder's file " + entry;
    if (!refusal.empty()) {
        std::fprintf(stderr, "mireto_record: %s: not written: %s\n", output.c_str(), refusal.c_str());
        return 1;
    }

    KirokuJournal journal;
    journal.Open(nullptr, false);
    bool journalRead = true;
    for (const KirokuProblem& problem : journal.Problems()) {
        // The mark tells the program what is counted; the CSV does not need it.
        if (problem.fileName != kKirokuFileName && problem.fileName != kKirokuOldFileName)
            continue;
        std::fprintf(stderr, "mireto_record: %s: %s\n", problem.fileName.c_str(), FileReason(problem.reason).c_str());
        journalRead = false;
    }
    if (!journalRead) {
        std::fprintf(stderr, "mireto_record: %s: not written: the journal could not be read whole\n", output.c_str());
        return 1;
    }

    // The area of each key (its first row's), from the bank beside the journal.
    std::string bankBytes;
    const TextTable bank =
        ReadRegularFile(DataTexts::kToiFileName, bankBytes, nullptr) ? ParseTableFile(std::move(bankBytes)) : TextTable();
    const ToiKeyIndex keys(bank);

    std::string csv = "番号,日時,問キー,分野,結果,モード,難易度,秒数,回答\r\n";
    for (const KirokuEntry& e : journal.Entries()) {
        const std::int32_t row = keys.RowOf(e.key);
        csv += std::to_string(e.seq) + "," + KirokuTimeText(e.day, e.second) + "," + Field(SjisToUtf8(e.key)) + ","
               + Field(row == 0 ? std::string() : SjisToUtf8(std::string(ToiBunyaView(bank.at(row))))) + ","
               + (e.seikai ? "正解" : "不正解") + "," + ModeName(e.mode) + ","
               + SjisToUtf8(std::string(kNanwidoLetters[e.nanwido])) + ","
               + std::to_string(e.seconds) + "," + Field(SjisToUtf8(e.answer)) + "\r\n";
    }
    if (output == "-") {
        Platform::UseBinaryMode(stdout);
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    FileError reason;
    if (!ReplaceFile(outputPath, csv, &reason, NewFileOwner::Writer)) {
        std::fprintf(stderr, "mireto_record: %s: %s\n", output.c_str(), FileReason(reason).c_str());
        return 1;
    }
    std::fprintf(stderr, "mireto_record: %zu answers written to %s\n", journal.Entries().size(), output.c_str());
    return 0;
}
