#include "drill/AnswerStep.h"

#include "drill/KirokuCount.h"

std::optional<FileError> RecordKiroku(DrillState& state, KirokuEntry entry)
{
    KirokuJournal* journal = state.Kiroku.get();
    if (!journal || !journal->Writable())
        return std::nullopt;
    FileError reason;
    if (journal->Append(std::move(entry), &reason))
        return std::nullopt;
    // Told once: a disk that stays full must not stop every answer.
    if (state.Writing.answerFailureTold)
        return std::nullopt;
    state.Writing.answerFailureTold = true;
    return reason;
}

AnsweredToi AnswerToi(DrillState& state, const GivenAnswer& given, std::time_t now)
{
    AnsweredToi answered {JudgeToi(state, given), std::nullopt};
    answered.recordFailure = RecordKiroku(state, KirokuOfJudgement(state, answered.judged, now));
    return answered;
}

std::optional<FileError> RecordJudgedAnswer(DrillState& state, const KirokuEntry& entry)
{
    if (entry.seikai)
        CountSeikai(state.ToiSeikaiTable, entry.key);
    return RecordKiroku(state, entry);
}
