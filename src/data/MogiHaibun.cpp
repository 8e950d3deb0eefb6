#include "data/MogiHaibun.h"

#include "data/KirokuRow.h"
#include "text/SafeFile.h"
#include "text/Unit2.h"

#include <cerrno>

namespace {

// 試験区分, 問題数
constexpr char kHeadKubun[] = "\x8E\x8E\x8C\xB1\x8B\xE6\x95\xAA";
constexpr char kHeadCount[] = "\x96\xE2\x91\xE8\x90\x94";

MogiHaibunWarning Warning(MogiHaibunProblem problem)
{
    MogiHaibunWarning warning;
    warning.problem = problem;
    return warning;
}

MogiHaibunRead Refused(MogiHaibunWarning warning)
{
    return {MogiHaibun {}, warning};
}

MogiHaibunRead LineRefused(MogiHaibunProblem problem, std::int32_t row)
{
    MogiHaibunWarning warning = Warning(problem);
    warning.line = row + 1; // row 0 is line 1
    return Refused(warning);
}

} // namespace

MogiHaibunRead ParseMogiHaibun(std::string bytes)
{
    if (bytes.find('\0') != std::string::npos)
        return Refused(Warning(MogiHaibunProblem::NulByte));
    const TextTable table = ParseTableFile(std::move(bytes));
    const auto header = table.find(0);
    if (header == table.end() || header->second.size() != 2 || header->second.Cell(0) != kHeadKubun ||
        header->second.Cell(1) != kHeadCount)
        return LineRefused(MogiHaibunProblem::BadHeader, 0);

    MogiHaibun haibun;
    std::array<bool, kMogiKubunCount> seen {};
    std::int64_t total = 0;
    for (auto it = std::next(header); it != table.end(); ++it) {
        const auto& [row, cells] = *it;
        if (cells.size() != 2)
            return LineRefused(MogiHaibunProblem::BadRow, row);
        const std::optional<MogiKubun> kubun = MogiKubunNamed(cells.Cell(0));
        if (!kubun)
            return LineRefused(MogiHaibunProblem::UnknownKubun, row);
        if (seen[*kubun])
            return LineRefused(MogiHaibunProblem::RepeatedKubun, row);
        const std::optional<std::int64_t> count = KirokuDigits(cells.Cell(1), kMogiPaperSize);
        if (!count)
            return LineRefused(MogiHaibunProblem::BadCount, row);
        seen[*kubun] = true;
        haibun.counts[*kubun] = static_cast<std::int32_t>(*count);
        total += *count;
    }
    for (int k = 0; k < kMogiKubunCount; ++k) {
        if (!seen[static_cast<std::size_t>(k)]) {
            MogiHaibunWarning warning = Warning(MogiHaibunProblem::MissingKubun);
            warning.kubun = static_cast<MogiKubun>(k);
            return Refused(warning);
        }
    }
    if (total != kMogiPaperSize) {
        MogiHaibunWarning warning = Warning(MogiHaibunProblem::BadTotal);
        warning.total = total;
        return Refused(warning);
    }
    return {haibun, std::nullopt};
}

MogiHaibunRead ReadMogiHaibun(const std::string& fileName)
{
    std::string bytes;
    FileError error;
    if (!ReadRegularFile(fileName, bytes, &error, kMogiHaibunMaxBytes)) {
        const bool missing = error.step == FileStep::Open && error.number == ENOENT;
        MogiHaibunWarning warning = Warning(missing ? MogiHaibunProblem::Missing : MogiHaibunProblem::Unreadable);
        warning.reason = error;
        return Refused(warning);
    }
    return ParseMogiHaibun(std::move(bytes));
}

std::string MogiHaibunWarningText(const MogiHaibunWarning& warning)
{
    static constexpr const char* kNames[kMogiKubunCount] = {"データベース", "セキュリティ", "基盤と信頼性", "開発"};
    const std::string file = kMogiHaibunFileName;
    const std::string line = file + " の " + std::to_string(warning.line) + " 行目";
    std::string what;
    switch (warning.problem) {
    case MogiHaibunProblem::Missing:
        what = file + " がありません。";
        break;
    case MogiHaibunProblem::Unreadable:
        what = file + " を読めません（" + FileReason(warning.reason) + "）。";
        break;
    case MogiHaibunProblem::NulByte:
        what = file + " は表のファイルではありません（NUL バイトがあります）。";
        break;
    case MogiHaibunProblem::BadHeader:
        what = line + "が「試験区分,問題数」ではありません。";
        break;
    case MogiHaibunProblem::BadRow:
        what = line + "のセルが 2 つ（試験区分と問題数）ではありません。";
        break;
    case MogiHaibunProblem::UnknownKubun:
        what = line + "の試験区分が、データベース・セキュリティ・基盤と信頼性・開発のどれでもありません。";
        break;
    case MogiHaibunProblem::RepeatedKubun:
        what = line + "の試験区分は、前の行にもあります。";
        break;
    case MogiHaibunProblem::BadCount:
        what = line + "の問題数が 0 から " + std::to_string(kMogiPaperSize) + " までの数ではありません。";
        break;
    case MogiHaibunProblem::MissingKubun:
        what = file + " に試験区分「" + kNames[warning.kubun] + "」の行がありません。";
        break;
    case MogiHaibunProblem::BadTotal:
        what = file + " の問題数の合計が " + std::to_string(kMogiPaperSize) + " ではなく " +
               std::to_string(warning.total) + " です。";
        break;
    }
    const MogiHaibun standard;
    std::string mix;
    for (int k = 0; k < kMogiKubunCount; ++k)
        mix += std::string(k ? "、" : "") + kNames[k] + " " + std::to_string(standard.counts[static_cast<std::size_t>(k)]);
    return what + "標準の配分（" + mix + "）で出題します。";
}
