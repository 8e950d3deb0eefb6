#include "saveload/SaveSlots.h"

#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "data/ToiBank.h"
#include "drill/ShownText.h"

#include <algorithm>
#include <limits>

namespace {

// Slot cells, in the order of the slot row.
namespace SlotCell {
constexpr int PlayMode = 0;
constexpr int ToiList = 1;
constexpr int ToiIndex = 2;
constexpr int StageTable = 3;
constexpr int Filled = 4;
constexpr int Date = 5;
constexpr int Nanwido = 6;
constexpr int Nokori = 7;
} // namespace SlotCell

std::string JoinToiList(const std::vector<std::int32_t>& toiList)
{
    std::string text;
    for (std::size_t i = 0; i < toiList.size(); ++i) {
        if (i > 0)
            text += DataTexts::kListMarker;
        text += IntToText(toiList[i]);
    }
    return text;
}

// Stage rows 1 up to the highest stage, each "correct<%>answered". A stage
// missing below the highest is written as two empty cells, so every row is
// restored under its own stage number.
std::string JoinStageRows(const TextTable& stageTable)
{
    std::string text;
    if (stageTable.empty())
        return text;
    const std::int32_t last = stageTable.rbegin()->first;
    for (std::int32_t j = 1; j <= last; ++j) {
        if (j > 1)
            text += DataTexts::kLineMarker;
        text += TableCell(stageTable, j, 0);
        text += DataTexts::kListMarker;
        text += TableCell(stageTable, j, 1);
    }
    return text;
}

// The stored question list; an empty cell holds no question at all.
std::vector<std::int32_t> ParseToiList(const std::string& cell)
{
    std::vector<std::int32_t> toiList;
    if (cell.empty())
        return toiList;
    for (const std::string& piece : SplitText(cell, DataTexts::kListMarker))
        toiList.push_back(TextToInt(piece));
    return toiList;
}

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
    TextRow row(8);
    row[SlotCell::PlayMode] = state.PlayMode == kModeNormal ? DataTexts::kPlayNormal : DataTexts::kPlayRand;
    row[SlotCell::ToiList] = JoinToiList(state.ToiList);
    row[SlotCell::ToiIndex] = std::to_string(state.ToiIndex);
    row[SlotCell::StageTable] = JoinStageRows(state.StageTable);
    row[SlotCell::Filled] = "1";
    row[SlotCell::Date] = nowText;
    row[SlotCell::Nanwido] = IntToText(state.Nanwido);
    row[SlotCell::Nokori] = IntToText(state.Nokori);
    return row;
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
    const std::vector<std::int32_t> toiList = ParseToiList(listCell);
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
    // the list has stages.
    if (CountPieces(TableCell(state.SaveLoadTable, r + 1, SlotCell::StageTable), DataTexts::kLineMarker)
        > (toiList.size() + static_cast<std::size_t>(kStageSize) - 1) / static_cast<std::size_t>(kStageSize))
        return RestoreProblem::StagesOutsideList;
    return RestoreProblem::None;
}

RestoreProblem RestoreSessionFromSlot(DrillState& state, int r)
{
    // Everything is checked before the first field changes, so a refused
    // slot leaves the running state as it was.
    const RestoreProblem problem = CheckSlotRestorable(state, r);
    if (problem != RestoreProblem::None)
        return problem;
    const TextRow row = state.SaveLoadTable.at(r + 1);
    auto cell = [&row](int column) -> const std::string& {
        static const std::string kEmpty;
        return static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)] : kEmpty;
    };

    state.PlayMode = cell(SlotCell::PlayMode) == DataTexts::kPlayNormal ? kModeNormal : kModeRand;
    state.ToiList = ParseToiList(cell(SlotCell::ToiList));
    state.ToiIndex = static_cast<std::uint32_t>(TextToInt(cell(SlotCell::ToiIndex)));
    // An empty cell is what a drill without stage rows stores: no rows.
    if (!cell(SlotCell::StageTable).empty()) {
        std::int32_t j = 1;
        for (const std::string& piece : SplitText(cell(SlotCell::StageTable), DataTexts::kLineMarker))
            state.StageTable[j++] = SplitText(piece, DataTexts::kListMarker);
    }
    state.StageNo = static_cast<std::int32_t>(state.ToiIndex / kStageSize) + 1;
    state.StageToiCount = 0;
    state.StageSeikaiCount = 0;
    const std::int32_t nanwido = TextToInt(cell(SlotCell::Nanwido));
    // A difficulty the selector does not have would index past its items.
    state.Nanwido = (nanwido >= 0 && nanwido <= 5) ? nanwido : 5;
    state.Nokori = TextToInt(cell(SlotCell::Nokori)); // 1..kRunChances, checked above
    return RestoreProblem::None;
}

std::vector<SlotListRow> SlotListRows(const TextTable& saveLoadTable)
{
    std::vector<SlotListRow> rows;
    // Rows after the header, up to the slots a learner can choose from.
    const std::int32_t slots = std::min<std::int32_t>(ToiCount(saveLoadTable), kSlotCount);
    rows.reserve(static_cast<std::size_t>(std::max(slots, 0)));
    for (std::int32_t i = 1; i <= slots; ++i) {
        SlotListRow row;
        row.name = i == 1 ? std::string("AUTO") : IntToText(i);
        row.mode = BoundShownLine(TableCell(saveLoadTable, i, SlotCell::PlayMode)).text;
        row.date = BoundShownLine(TableCell(saveLoadTable, i, SlotCell::Date)).text;
        rows.push_back(std::move(row));
    }
    return rows;
}

bool SlotHoldsDrill(const TextTable& saveLoadTable, int r)
{
    return HasSlotRow(saveLoadTable, r) && TextToInt(TableCell(saveLoadTable, r + 1, SlotCell::Filled)) == 1;
}
