#include "drill/Judge.h"

#include "data/ToiBank.h"

#include <cstdint>
#include <limits>

std::string AnswerTextFromBoxes(const std::array<bool, 8>& ticked)
{
    // Ascending box numbers whatever order they were ticked in, so a stored
    // "1_3" can be met and a stored "3_1" never can.
    std::string answer;
    for (std::size_t i = 0; i < ticked.size(); ++i) {
        if (ticked[i])
            answer += IntToText(static_cast<std::int32_t>(i + 1)) + "_";
    }
    if (!answer.empty())
        answer.pop_back();
    return answer;
}

bool IsSeikai(const std::string& answer, const std::string& seikai)
{
    return answer == seikai;
}

bool CountSeikai(TextTable& toiSeikaiTable, const std::string& key)
{
    for (auto& [row, cells] : toiSeikaiTable) {
        if (row < 1 || cells.empty() || cells.Cell(0) != key) // no copy of rows passed over
            continue;
        if (cells.size() < 2)
            cells.resize(2);
        // A count already at the largest number stays there rather than wrap.
        std::int64_t count = static_cast<std::int64_t>(TextToInt(cells[1])) + 1;
        if (count > std::numeric_limits<std::int32_t>::max())
            count = std::numeric_limits<std::int32_t>::max();
        cells[1] = IntToText(static_cast<std::int32_t>(count));
        return true;
    }
    return false;
}

bool IsChoiceToi(const TextRow& row)
{
    const auto column = static_cast<std::size_t>(ToiColumn::ChoiceCount);
    return column < row.size() && TextToInt(row[column]) > 1;
}

Judgement JudgeToi(DrillState& state, const GivenAnswer& given)
{
    const std::int32_t row = state.CurrentRow();
    const std::string& key = TableCell(state.ToiTable, row, ToiColumn::Key);
    const std::string& seikai = TableCell(state.ToiTable, row, ToiColumn::Seikai);
    const auto found = state.ToiTable.find(row);
    Judgement judged;
    judged.choice = found != state.ToiTable.end() && IsChoiceToi(found->second);
    if (judged.choice)
        judged.answer = AnswerTextFromBoxes(given.ticked);
    else if (given.typed)
        judged.answer = *given.typed;
    judged.seikai = (judged.choice || given.typed) && IsSeikai(judged.answer, seikai);

    ++state.StageToiCount;
    if (judged.seikai) {
        ++state.StageSeikaiCount;
        CountSeikai(state.ToiSeikaiTable, key);
    }

    judged.seikaiText = seikai;
    judged.kaisetuText = BankText(TableCell(state.ToiTable, row, ToiColumn::KaisetuText));
    if (TextToInt(TableCell(state.ToiTable, row, ToiColumn::KaisetuPicture)) != 0)
        judged.kaisetuPicture = PictureFileName('k', key);
    return judged;
}
