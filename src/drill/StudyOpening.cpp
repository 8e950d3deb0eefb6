#include "drill/StudyOpening.h"

#include "data/BunyaFile.h"
#include "data/DataTexts.h"
#include "data/WriteLeftovers.h"
#include "drill/KirokuCount.h"
#include "text/SafeFile.h"
#include "text/Unit2.h"

#include <memory>

namespace {

// The bank, read whole; false, with why when it exists, without one.
bool ReadBank(DrillState& state, StudyOpening& opening)
{
    if (!DataFileExists(DataTexts::kToiFileName))
        return false;
    std::string text;
    FileError error;
    if (!ReadWholeFileChecked(DataTexts::kToiFileName, text, &error)) {
        opening.bankUnreadable = error;
        return false;
    }
    state.ToiTable = ParseTableFile(std::move(text));
    return true;
}

} // namespace

StudyOpening OpenStudy(DrillState& state)
{
    StudyOpening opening;
    state.ToiFileFound = ReadBank(state, opening);
    if (!state.ToiFileFound)
        return opening;
    // Before anything is written.
    opening.removedLeftovers = RemoveWriteLeftovers();
    ProgressData data = LoadProgress(state.ToiTable);
    state.Nanwido = data.Nanwido;
    state.ToiList.clear();
    state.StageTable = std::move(data.StageTable);
    state.ToiSeikaiTable = std::move(data.ToiSeikaiTable);
    state.SaveLoadTable = std::move(data.SaveLoadTable);
    // A database that could not be read is never overwritten.
    state.Writing.writeSeikai = data.writeSeikai;
    state.Writing.writeSaveLoad = data.writeSaveLoad;
    state.Writing.writeNanwido = data.writeNanwido;
    opening.damaged = std::move(data.damaged);
    opening.unreadable = std::move(data.unreadable);

    // The counts file as it was read tells, through the mark, which journal
    // rows it holds; those after are counted as judging counted them.
    state.Kiroku = std::make_shared<KirokuJournal>();
    state.Kiroku->OpenKnowingSeikai(data.seikaiOnDiskHash);
    CountKirokuAnswers(state.ToiSeikaiTable, state.Kiroku->Entries(), state.Kiroku->FirstUncounted());
    opening.kirokuProblems = state.Kiroku->Problems();
    opening.markRejected = state.Kiroku->MarkRejected();

    // The choice of the last start; the window drops it when the bank no
    // longer has that area.
    state.Bunya = ReadBunyaChoice();
    return opening;
}
