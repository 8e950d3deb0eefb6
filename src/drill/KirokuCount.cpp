#include "drill/KirokuCount.h"

#include "data/ToiBank.h"
#include "text/SjisCodec.h"

#include <algorithm>

namespace {

// At most maxBytes of a Shift_JIS text, never half a character.
std::string CutAtCharacter(const std::string& text, std::size_t maxBytes)
{
    return text.substr(0, SjisCutLength(text, maxBytes));
}

} // namespace

KirokuEntry KirokuOfJudgement(const DrillState& state, const Judgement& judged, std::time_t now)
{
    KirokuEntry entry;
    LocalDayAndSecond(now, entry.day, entry.second);
    entry.key = CutAtCharacter(TableCell(state.ToiTable, state.CurrentRow(), ToiColumn::Key), kKirokuKeyBytes);
    entry.seikai = judged.seikai;
    entry.mode = state.PlayMode;
    entry.nanwido = state.Nanwido;
    entry.seconds = std::max(0, std::min(state.TimeCount, state.TimeLimit()));
    entry.answer = CutAtCharacter(judged.answer, kKirokuAnswerBytes);
    return entry;
}

std::size_t CountKirokuAnswers(TextTable& toiSeikaiTable, const std::vector<KirokuEntry>& entries,
                               std::size_t from)
{
    std::size_t counted = 0;
    for (std::size_t i = from; i < entries.size(); ++i) {
        if (entries[i].seikai && CountSeikai(toiSeikaiTable, entries[i].key))
            ++counted;
    }
    return counted;
}
