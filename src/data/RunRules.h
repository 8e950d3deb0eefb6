#pragma once
// The numbers of a run that the files and the drill share, each defined once.
#include <cstdint>

// Questions per stage; the last stage of a run may be shorter.
inline constexpr std::int32_t kStageSize = 20;
// Chances a run starts with. A stored run always has 1 to this many left: a
// run is stored only while it goes on, and a game over is never stored.
inline constexpr std::int32_t kRunChances = 3;

// The full stages of a bank of `questions` questions (integer division):
// the stage rows the files are built with, the stage table of a new start
// and the stage pieces of an empty slot. These bytes are the files' format.
constexpr std::int32_t FullStageCount(std::int32_t questions)
{
    return questions > 0 ? questions / kStageSize : 0;
}
// The stages a run over all `questions` questions is played in, the last
// one possibly shorter (rounded up): the stage rows a stored run may hold,
// since each stage end writes its own row.
constexpr std::int32_t PlayedStageCount(std::int32_t questions)
{
    return questions > 0 ? (questions + kStageSize - 1) / kStageSize : 0;
}
