#include "drill/AnswerStep.h"

#include "drill/KirokuCount.h"

AnsweredToi AnswerToi(DrillState& state, const GivenAnswer& given, std::time_t now)
{
    AnsweredToi answered {JudgeToi(state, given), std::nullopt};
    KirokuJournal* journal = state.Kiroku.get();
    if (!journal || !journal->Writable())
        return answered;
    FileError reason;
    if (journal->Append(KirokuOfJudgement(state, answered.judged, now), &reason))
        return answered;
    // Told once: a disk that stays full must not stop every answer.
    if (!state.Writing.answerFailureTold) {
        state.Writing.answerFailureTold = true;
        answered.recordFailure = reason;
    }
    return answered;
}
