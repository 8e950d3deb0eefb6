// The whole start-up load from a bank, a count file, a slot file and a
// difficulty file given as bytes, then every slot listed and restored (and a
// restored run stored and restored again, which must give the same run).
#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "drill/StageEnd.h"
#include "saveload/SaveSlots.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
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

// A private working folder, since the databases are read by name.
void EnterWorkFolder()
{
    static bool entered = false;
    if (entered)
        return;
    std::string pattern = (std::filesystem::temp_directory_path() / "mireto-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data()) || ::chdir(pattern.c_str()) != 0)
        std::abort();
    entered = true;
}

bool SameRun(const DrillState& a, const DrillState& b)
{
    return a.PlayMode == b.PlayMode && a.ToiList == b.ToiList && a.ToiIndex == b.ToiIndex && a.StageNo == b.StageNo
           && a.Nanwido == b.Nanwido && a.Nokori == b.Nokori && a.StageTable == b.StageTable;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterWorkFolder();
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
    state.Nanwido = progress.Nanwido;
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
        // Stored again and restored again, it is the same run.
        DrillState again = restored;
        StoreSessionInSlot(again, r);
        DrillState back = again;
        if (RestoreSessionFromSlot(back, r) != RestoreProblem::None || !SameRun(back, restored))
            std::abort();
        // And the drill plays on from it.
        AdvanceAfterNext(restored);
    }
    return 0;
}
