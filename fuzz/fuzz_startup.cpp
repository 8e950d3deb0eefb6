// The whole start-up load from a bank, a count file, a slot file and a
// difficulty file given as bytes, then every slot listed and restored (and a
// restored run stored and restored again, which must give the same run).
#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "drill/StageEnd.h"
#include "saveload/SaveSlots.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const InWorkFolder inFolder;
    FuzzedDataProvider input(data, size);
    const std::uint8_t present = input.ConsumeIntegral<std::uint8_t>();
    const std::string bank = input.ConsumeRandomLengthString(4096);
    const std::string counts = input.ConsumeRandomLengthString(4096);
    const std::string nanwido = input.ConsumeRandomLengthString(16);
    const std::string slots = input.ConsumeRemainingBytesAsString();
    Put(DataTexts::kSeikaiFileName, counts, present & 1);
    Put(DataTexts::kNanwidoFileName, nanwido, present & 2);
    Put(DataTexts::kSaveLoadFileName, slots, present & 4);

    DrillState state;
    state.ToiTable = ParseTableFile(bank);
    ProgressData progress = LoadProgress(state.ToiTable);
    if (progress.Nanwido < 0 || progress.Nanwido > 5)
        std::abort();
    state.Nanwido = ToNanwido(progress.Nanwido);
    state.StageTable = std::move(progress.StageTable);
    state.ToiSeikaiTable = std::move(progress.ToiSeikaiTable);
    state.SaveLoadTable = std::move(progress.SaveLoadTable);

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
