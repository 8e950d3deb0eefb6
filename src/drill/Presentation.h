#pragma once
// What the question screen shows for ToiList[ToiIndex], and the countdown,
// decided without a window: the window only puts it on the screen.
#include "drill/DrillState.h"

#include <optional>
#include <string>

struct ToiView {
    // False when ToiIndex lies outside ToiList or names no question of the
    // bank: there is nothing to present.
    bool found = false;
    std::int32_t row = -1;
    std::string key;  // Shift_JIS
    std::string text; // Shift_JIS, every "<$>" a CR LF
    // A choice question shows `boxCount` boxes (at most 8) labelled from
    // label list `labelSet`; a typed question shows the edit box instead.
    bool choice = false;
    int boxCount = 0;
    int labelSet = 0;
    // A label set the program does not have, as stored; set 0 is used in
    // its place.
    std::optional<std::int32_t> badLabelSet;
    // The row has fewer than 8 cells; the missing ones read as empty.
    bool shortRow = false;
    // The question picture's file, empty for a text question. The picture
    // takes the place of the text.
    std::string pictureFile;
    // The remaining chances are shown in normal and random mode only.
    bool nokoriShown = false;
};
ToiView ViewOfToi(const DrillState& state);
// The same for any bank row (no chances shown): the mock exam's questions.
ToiView ViewOfToiRow(const TextTable& toiTable, std::int32_t row);

struct CountdownView {
    std::int32_t left = 0;     // seconds left, negative once past the limit
    std::int32_t barValue = 0; // TimeCount kept within 0..limit
    bool timeUp = false;       // the answer is judged now
};
// The countdown at TimeCount.
CountdownView ViewOfCountdown(const DrillState& state);
// One second more: TimeCount + 1 and the countdown after it.
CountdownView TickCountdown(DrillState& state);
