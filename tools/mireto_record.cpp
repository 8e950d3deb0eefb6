// The learner's own copy of the answer journal: every recorded answer as
// UTF-8 CSV, for a spreadsheet.
//
//   mireto_record [FOLDER] OUTPUT.csv    the journal of FOLDER (default: the
//                                        current folder); "-" for standard output
//
// Columns: 番号, 日時, 問キー, 分野, 結果, モード, 難易度, 秒数, 回答. The area
// comes from the folder's bank when it is there. Rows torn by a crash or
// edited by hand are left out, as the program leaves them out. Nothing in
// the folder is changed.
#include "data/DataTexts.h"
#include "text/SafeFile.h"
#include "data/Kiroku.h"
#include "data/ToiBank.h"
#include "text/SjisCodec.h"
#include "text/Unit2.h"

#include "platform/Paths.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const char* const kModes[] = {"通常モード", "ランダムモード", "弱点克服モード", "本試験通常", "本試験ランダム"};
const char* const kNanwido[] = {"Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ"};
constexpr std::uint64_t kMaxBankBytes = 512ull << 20;

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

    KirokuJournal journal;
    journal.Open(nullptr, false);
    for (const KirokuProblem& problem : journal.Problems())
        std::fprintf(stderr, "mireto_record: %s: %s\n", problem.fileName.c_str(), FileReason(problem.reason).c_str());

    // The area of each key, from the bank beside the journal.
    std::unordered_map<std::string, std::string> areas;
    std::string bankBytes;
    if (ReadRegularFile(DataTexts::kToiFileName, bankBytes, nullptr, kMaxBankBytes)) {
        const TextTable bank = ParseTableFile(std::move(bankBytes));
        for (std::int32_t row = 1; row <= ToiCount(bank); ++row)
            areas.emplace(TableCell(bank, row, ToiColumn::Key), TableCell(bank, row, ToiColumn::Bunya));
    }

    std::string csv = "番号,日時,問キー,分野,結果,モード,難易度,秒数,回答\r\n";
    for (const KirokuEntry& e : journal.Entries()) {
        const auto area = areas.find(e.key);
        csv += std::to_string(e.seq) + "," + KirokuTimeText(e.day, e.second) + "," + Field(SjisToUtf8(e.key)) + ","
               + Field(area == areas.end() ? std::string() : SjisToUtf8(area->second)) + ","
               + (e.seikai ? "正解" : "不正解") + "," + kModes[e.mode] + "," + kNanwido[e.nanwido] + ","
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
