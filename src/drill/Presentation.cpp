#include "drill/Presentation.h"

#include "data/ChoiceLabels.h"
#include "data/ToiBank.h"
#include "drill/Judge.h"

#include <algorithm>

ToiView ViewOfToi(const DrillState& state)
{
    ToiView view = ViewOfToiRow(state.ToiTable, state.CurrentRow());
    view.nokoriShown = view.found && state.IsSlotMode();
    return view;
}

ToiView ViewOfToiRow(const TextTable& toiTable, std::int32_t row)
{
    ToiView view;
    view.row = row;
    const auto found = toiTable.find(view.row);
    if (view.row < 1 || found == toiTable.end())
        return view;
    const TextRow& cells = found->second;
    const auto cell = [&](int column) -> const std::string& { return TableCell(toiTable, view.row, column); };
    view.found = true;
    view.key = cell(ToiColumn::Key);
    view.text = BankText(cell(ToiColumn::Text));
    view.shortRow = cells.size() < static_cast<std::size_t>(ToiColumn::Count);
    view.choice = IsChoiceToi(cells);
    if (view.choice)
        view.boxCount = std::min(TextToInt(cell(ToiColumn::ChoiceCount)), 8);
    const std::int32_t labelSet = TextToInt(cell(ToiColumn::LabelSet));
    if (ChoiceLabels::IsLabelSet(labelSet))
        view.labelSet = labelSet;
    else
        view.badLabelSet = labelSet;
    if (TextToInt(cell(ToiColumn::ToiPicture)) != 0)
        view.pictureFile = PictureFileName('m', view.key);
    return view;
}

CountdownView ViewOfCountdown(const DrillState& state)
{
    const std::int32_t limit = state.TimeLimit();
    CountdownView view;
    view.left = limit - state.TimeCount;
    view.barValue = std::clamp(state.TimeCount, 0, limit);
    view.timeUp = view.left <= 0;
    return view;
}

CountdownView TickCountdown(DrillState& state)
{
    ++state.TimeCount;
    return ViewOfCountdown(state);
}
