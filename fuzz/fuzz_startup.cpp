// The whole start-up load from a bank, a count file, a slot file and a
// difficulty file given as bytes, then every slot listed and restored (and a
// restored run stored and restored again, which must give the same run).
// Beside them an answer journal and its mark: the rows read are whole and in
// order, the rows counted at start-up are those after the mark, an append
// after any journal reads back, and every area's list holds only its rows.
#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "data/Kiroku.h"
#include "drill/Bunya.h"
#include "drill/KirokuCount.h"
#include "drill/KirokuFigures.h"
#include "drill/StageEnd.h"
#include "drill/ToiSelection.h"
#include "saveload/SaveSlots.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>
#include <fcntl.h>
#include <unistd.h>

namespace {

void Put(const char* name, const std::string& bytes, bool present)
{
    if (!present) {
        ::unlink(name);
        return;
    }
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

// A private working folder, since the databases are read by name. The fuzzer
// reads its corpus by relative names between runs, so each run goes back to
// where it started.
class InWorkFolder {
public:
    InWorkFolder()
    {
        static const std::string folder = [] {
            std::string pattern = (std::filesystem::temp_directory_path() / "mireto-fuzz-XXXXXX").string();
            if (!::mkdtemp(pattern.data()))
                std::abort();
            return pattern;
        }();
        previous_ = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (previous_ < 0 || ::chdir(folder.c_str()) != 0)
            std::abort();
    }
    ~InWorkFolder()
    {
        if (::fchdir(previous_) != 0)
            std::abort();
        ::close(previous_);
    }

private:
    int previous_ = -1;
};

bool SameRun(const DrillState& a, const DrillState& b)
{
    return a.PlayMode == b.PlayMode && a.ToiList == b.ToiList && a.ToiIndex == b.ToiIndex && a.StageNo == b.StageNo
           && a.Nanwido == b.Nanwido && a.Nokori == b.Nokori;
}

// Stores the run into slot r and restores it from there.
DrillState StoredAndRestored(const DrillState& run, int r)
{
    DrillState stored = run;
    StoreSessionInSlot(stored, r);
    DrillState back = stored;
    const RestoreProblem problem = RestoreSessionFromSlot(back, r);
    if (problem != RestoreProblem::None) {
        std::fprintf(stderr, "a stored run does not restore: problem %d, list %zu, stage rows %zu\n",
                     static_cast<int>(problem), run.ToiList.size(), run.StageTable.size());
        std::abort();
    }
    return back;
}

void CheckJournalAndAreas(DrillState& state, const std::string* counts, std::size_t journalBytes)
{
    KirokuJournal kiroku;
    kiroku.Open(counts);
    const auto& rows = kiroku.Entries();
    if (kiroku.FirstUncounted() > rows.size())
        std::abort();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0 && rows[i].seq <= rows[i - 1].seq)
            std::abort();
        // A row read is one the writer makes again, byte for byte.
        const TextTable again = ParseTableFile(KirokuLine(rows[i]));
        std::vector<std::string_view> cells;
        if (again.size() == 1)
            for (std::size_t j = 0; j < again.begin()->second.size(); ++j)
                cells.push_back(again.begin()->second.Cell(j));
        const auto back = KirokuFromCells(cells);
        if (!back || back->seq != rows[i].seq || back->key != rows[i].key || back->answer != rows[i].answer
            || back->day != rows[i].day || back->second != rows[i].second)
            std::abort();
    }
    const std::size_t uncounted = rows.size() - kiroku.FirstUncounted();
    if (CountKirokuAnswers(state.ToiSeikaiTable, rows, kiroku.FirstUncounted()) > uncounted)
        std::abort();
    std::int32_t today = 20000;
    const KirokuFigures figures = ComputeKirokuFigures(state.ToiTable, rows, today);
    std::int64_t shown = 0;
    for (const KirokuDayFigure& day : figures.days)
        shown += day.seikai + day.fuseikai;
    if (shown > figures.answers || figures.misses.size() > kKirokuMisses)
        std::abort();
    for (std::int32_t due : figures.due)
        if (due < 0)
            std::abort();
    if (figures.yosoku
        && !(0 <= figures.yosoku->low && figures.yosoku->low <= figures.yosoku->score
             && figures.yosoku->score <= figures.yosoku->high && figures.yosoku->high <= 100))
        std::abort();

    // Every area, the recent misses and today's review, in every mode:
    // only their rows.
    std::vector<std::string> choices = BunyaNames(state.ToiTable);
    choices.push_back(kBunyaRecentMiss);
    choices.push_back(kBunyaFukushu);
    for (const std::string& choice : choices) {
        ChooseBunya(state, choice, rows, today);
        std::vector<std::int32_t> chosen = state.BunyaRows;
        std::sort(chosen.begin(), chosen.end());
        for (std::int32_t mode = 0; mode <= 4; ++mode) {
            state.PlayMode = static_cast<PlayModeValue>(mode);
            BuildToiList(state);
            std::vector<std::int32_t> sorted = state.ToiList;
            std::sort(sorted.begin(), sorted.end());
            if (!std::includes(chosen.begin(), chosen.end(), sorted.begin(), sorted.end()))
                std::abort();
        }
    }
    ChooseBunya(state, {}, rows, today);
    state.PlayMode = kModeNormal;

    // An append after whatever the journal held reads back as its last row,
    // and the rows before it as they were: a row cut short at the end is
    // never completed by it. Neither a mark nor a torn row stops the journal
    // (only a row numbered near the top, or more lines than numbers left).
    KirokuEntry entry;
    entry.key = "K";
    entry.seikai = true;
    entry.day = today;
    const std::vector<KirokuEntry> before = rows;
    const std::int64_t lastRead = before.empty() ? 0 : before.back().seq;
    if (kiroku.Writable() && kiroku.Append(entry)) {
        KirokuJournal after;
        after.Open(counts);
        const auto& again = after.Entries();
        if (again.size() != before.size() + 1 || again.back().key != "K")
            std::abort();
        for (std::size_t i = 0; i < before.size(); ++i)
            if (again[i].seq != before[i].seq || again[i].key != before[i].key)
                std::abort();
    } else if (kiroku.Writable() && lastRead + static_cast<std::int64_t>(journalBytes) + 1 < kKirokuMaxSeq) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const InWorkFolder inFolder;
    FuzzedDataProvider input(data, size);
    const std::uint8_t present = input.ConsumeIntegral<std::uint8_t>();
    const std::string bank = input.ConsumeRandomLengthString(4096);
    const std::string counts = input.ConsumeRandomLengthString(4096);
    const std::string nanwido = input.ConsumeRandomLengthString(16);
    const std::string journal = input.ConsumeRandomLengthString(8192);
    const std::string mark = input.ConsumeRandomLengthString(256);
    const std::string slots = input.ConsumeRemainingBytesAsString();
    Put(kKirokuFileName, journal, present & 8);
    Put(kKirokuMarkFileName, mark, present & 16);
    Put(DataTexts::kSeikaiFileName, counts, present & 1);
    Put(DataTexts::kNanwidoFileName, nanwido, present & 2);
    Put(DataTexts::kSaveLoadFileName, slots, present & 4);

    DrillState state;
    state.ToiTable = ParseTableFile(bank);
    ProgressData progress = LoadProgress(state.ToiTable);
    state.Nanwido = progress.Nanwido;
    state.StageTable = std::move(progress.StageTable);
    state.ToiSeikaiTable = std::move(progress.ToiSeikaiTable);
    state.SaveLoadTable = std::move(progress.SaveLoadTable);
    CheckJournalAndAreas(state, (present & 1) ? &counts : nullptr, (present & 8) ? journal.size() : 0);

    const std::vector<SlotListRow> list = SlotListRows(state.SaveLoadTable);
    for (int r = 0; r <= static_cast<int>(list.size()); ++r) {
        SlotHoldsDrill(state.SaveLoadTable, r);
        DrillState restored = state;
        if (RestoreSessionFromSlot(restored, r) != RestoreProblem::None)
            continue;
        // A restored run names a question of the bank.
        const std::int32_t row = restored.CurrentRow();
        if (row < 1 || row >= static_cast<std::int32_t>(state.ToiTable.size()))
            std::abort();
        FinalResultRows(restored);
        // Stored again and restored again, it is the same run. A stage row
        // of a hand-made slot may hold other than two numbers; a store keeps
        // two cells of it, after which the stage table no longer changes.
        const DrillState back = StoredAndRestored(restored, r);
        if (!SameRun(back, restored))
            std::abort();
        if (StoredAndRestored(back, r).StageTable != back.StageTable)
            std::abort();
        // And the drill plays on from it.
        AdvanceAfterNext(restored);
    }
    return 0;
}
