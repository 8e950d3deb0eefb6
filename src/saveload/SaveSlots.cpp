#include "saveload/SaveSlots.h"

#include "data/DataTexts.h"
#include "data/SlotCells.h"
#include "data/ProgressDb.h"
#include "data/ToiBank.h"
#include "drill/ShownText.h"

#include <algorithm>
#include <limits>

namespace {

// Pieces a cell splits into at the marker (the stage rows of the stage cell,
// the entries of the list cell), counted without splitting; none for an
// empty cell.
std::size_t CountPieces(const std::string& cell, const std::string& marker)
{
    if (cell.empty())
        return 0;
    std::size_t pieces = 1;
    for (std::size_t at = cell.find(marker); at != std::string::npos; at = cell.find(marker, at + marker.size()))
        ++pieces;
    return pieces;
}

bool HasSlotRow(const TextTable& saveLoadTable, int r)
{
    return r >= 0 && r < std::numeric_limits<std::int32_t>::max() && saveLoadTable.count(r + 1) != 0;
}

} // namespace

TextRow SessionToSlotRow(const DrillState& state, const std::string& nowText)
{
    return SlotRowCells({.normalMode = state.PlayMode == kModeNormal,
                         .toiList = state.ToiList,
                         .toiIndex = state.ToiIndex,
                         .stageTable = state.StageTable,
                         .filled = true,
                         .date = nowText,
                         .nanwido = state.Nanwido,
                         .nokori = state.Nokori,
                         .bunya = state.Bunya});
}

void StoreSessionInSlot(DrillState& state, int r)
{
    // Row 0 is the header: no list row index reaches it.
    if (r < 0 || r >= std::numeric_limits<std::int32_t>::max())
        return;
    state.SaveLoadTable[r + 1] = SessionToSlotRow(state, NowText());
}

RestoreProblem CheckSlotRestorable(const DrillState& state, int r, std::int32_t* badRow)
{
    if (!HasSlotRow(state.SaveLoadTable, r))
        return RestoreProblem::NoSuchSlot;
    const std::string& listCell = TableCell(state.SaveLoadTable, r + 1, SlotCell::ToiList);
    // A run's list holds each question of the bank at most once, so a longer
    // one was never stored by a run; it is refused before it is read.
    const std::int32_t n = ToiCount(state.ToiTable);
    if (CountPieces(listCell, DataTexts::kListMarker) > static_cast<std::size_t>(n > 0 ? n : 0))
        return RestoreProblem::ListLongerThanBank;
    const std::vector<std::int32_t> toiList = ToiListFromCell(listCell);
    if (toiList.empty())
        return RestoreProblem::EmptyList;
    for (std::int32_t row : toiList) {
        if (row < 1 || row > n) {
            if (badRow)
                *badRow = row;
            return RestoreProblem::RowOutsideBank;
        }
    }
    const std::int32_t toiIndex = TextToInt(TableCell(state.SaveLoadTable, r + 1, SlotCell::ToiIndex));
    if (toiIndex < 0 || static_cast<std::size_t>(toiIndex) >= toiList.size())
        return RestoreProblem::IndexOutsideList;
    // A stage end lowers the chances by one; anything outside what a run can
    // have would be played with a count the stage rules never meet.
    const std::int32_t nokori = TextToInt(TableCell(state.SaveLoadTable, r + 1, SlotCell::Nokori));
    if (nokori < 1 || nokori > kRunChances) {
        if (badRow)
            *badRow = nokori;
        return RestoreProblem::NokoriOutsideRun;
    }
    // Every stage row is listed in the final results: no more of them than
    // the bank has stages, counting a short last one. (Not the list's: the
    // stage rows a store writes are those the bank gave the run, so a slot
    // with a short list written by hand still stores and restores.)
    const auto bankStages = static_cast<std::size_t>(PlayedStageCount(n));
    if (CountPieces(TableCell(state.SaveLoadTable, r + 1, SlotCell::StageTable), DataTexts::kLineMarker) > bankStages)
        return RestoreProblem::StagesOutsideBank;
    return RestoreProblem::None;
}

RestoreProblem RestoreSessionFromSlot(DrillState& state, int r, std::int32_t* badRow)
{
    // Everything is checked before the first field changes, so a refused
    // slot leaves the running state as it was.
    const RestoreProblem problem = CheckSlotRestorable(state, r, badRow);
    if (problem != RestoreProblem::None)
        return problem;
    const TextRow row = state.SaveLoadTable.at(r + 1);
    auto cell = [&row](int column) -> const std::string& {
        static const std::string kEmpty;
        return static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)] : kEmpty;
    };

    state.PlayMode = cell(SlotCell::PlayMode) == DataTexts::kPlayNormal ? kModeNormal : kModeRand;
    state.ToiList = ToiListFromCell(cell(SlotCell::ToiList));
    state.ToiIndex = static_cast<std::uint32_t>(TextToInt(cell(SlotCell::ToiIndex)));
    // An empty cell is what a drill without stage rows stores: no rows.
    StageRowsFromCell(cell(SlotCell::StageTable), state.StageTable);
    state.StageNo = static_cast<std::int32_t>(state.ToiIndex / kStageSize) + 1;
    state.StageToiCount = 0;
    state.StageSeikaiCount = 0;
    // A difficulty the selector does not have would index past its items.
    state.Nanwido = NanwidoOrF(TextToInt(cell(SlotCell::Nanwido)));
    state.Nokori = TextToInt(cell(SlotCell::Nokori)); // 1..kRunChances, checked above
    // An area run comes back as one: its list holds that area's questions.
    state.Bunya = cell(SlotCell::Bunya);
    state.BunyaRows.clear();
    if (!state.Bunya.empty()) {
        state.BunyaRows = state.ToiList;
        std::sort(state.BunyaRows.begin(), state.BunyaRows.end());
        state.BunyaRows.erase(std::unique(state.BunyaRows.begin(), state.BunyaRows.end()), state.BunyaRows.end());
    }
    return RestoreProblem::None;
}

std::vector<SlotListRow> SlotListRows(const TextTable& saveLoadTable)
{
    std::vector<SlotListRow> rows;
    // Rows after the header, up to the slots a learner can choose from.
    const std::int32_t slots = std::min<std::int32_t>(ToiCount(saveLoadTable), kSlotCount);
    rows.reserve(static_cast<std::size_t>(std::max(slots, 0)));
    for (std::int32_t r = 0; r < slots; ++r)
        rows.push_back(SlotListRowFor(saveLoadTable, r));
    // The first slot is the one stored at every stage end.
    if (!rows.empty())
        rows.front().name = "AUTO";
    return rows;
}

SlotListRow SlotListRowFor(const TextTable& saveLoadTable, int r)
{
    SlotListRow row;
    row.name = IntToText(r + 1);
    // Cells of any length may come from the file; the list shows a line each.
    row.mode = BoundShownLine(TableCell(saveLoadTable, r + 1, SlotCell::PlayMode)).text;
    row.date = BoundShownLine(TableCell(saveLoadTable, r + 1, SlotCell::Date)).text;
    return row;
}

bool SlotHoldsDrill(const TextTable& saveLoadTable, int r)
{
    return HasSlotRow(saveLoadTable, r) && TextToInt(TableCell(saveLoadTable, r + 1, SlotCell::Filled)) == 1;
}
