// The bank tool's readers and checker on any bytes: a CSV source and a bank
// file. A CSV bank without text problems converts to a table and back to
// CSV, and that CSV reads as the same table.
#include "bank/BankSource.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool csv = data[0] & 1;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const BankRows bank = csv ? ParseCsvSources({{"a.csv", bytes}}) : ParseBankBytes("toi_dq_basic3.dat", bytes);
    BankSummary summary;
    const std::vector<BankProblem> content = CheckBankContent(bank, BankCheckOptions {}, &summary);
    for (const BankProblem& problem : AllProblems(bank, content))
        FormatProblem(problem);
    const TextTable table = BankTable(bank);
    if (summary.questions < 0 || summary.choiceQuestions + summary.typedQuestions > summary.questions)
        std::abort();

    // A bank file is exported only after the tool has checked that the CSV
    // reads back the same (it refuses an empty one, say); a clean CSV source
    // with rows always makes that trip.
    std::string exported;
    const bool clean = csv && bank.textProblems.empty() && !table.empty();
    if (!BankTableToCsv(table, exported)) {
        if (clean)
            std::abort();
        return 0;
    }
    if (clean) {
        const BankRows again = ParseCsvSources({{"b.csv", exported}});
        if (!again.textProblems.empty() || BankTable(again) != table)
            std::abort();
    }
    return 0;
}
