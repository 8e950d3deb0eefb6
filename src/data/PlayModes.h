#pragma once
// The play modes and the difficulty letters, each written once. Every place
// that stores, reads or shows a mode reads this table: the drill (the enum
// below), the journal's row check (the highest number), the window's
// captions and the record tool's CSV. A mode added here is kept by the
// journal, exported and shown with no other change.
//
// Texts are the Shift_JIS bytes the files and the window use; the readable
// text of each is in its comment.
#include <cstdint>
#include <iterator>
#include <string_view>

enum PlayModeValue : std::int32_t {
    kModeNormal = 0,  // 通常モード
    kModeRand = 1,    // ランダムモード
    kModeJakuten = 2, // 弱点克服モード
    kModeHNormal = 3, // 本試験通常
    kModeHRand = 4,   // 本試験ランダム
    kModeMogi = 5,    // 模擬試験: the 25-question paper (window/Unit1Mogi.cpp)
};

struct PlayModeRow {
    PlayModeValue number;
    // The mode's name: the question, stage-end and final screens' caption
    // (ModeNames) and the record's CSV.
    std::string_view name;
    // The start screen's group box title.
    std::string_view title;
};

inline constexpr PlayModeRow kPlayModes[] = {
    {kModeNormal, "\x92\xCA\x8F\xED\x83\x82\x81\x5B\x83\x68", // 通常モード
     "\x92\xCA\x8F\xED\x83\x82\x81\x5B\x83\x68"},
    {kModeRand, "\x83\x89\x83\x93\x83\x5F\x83\x80\x83\x82\x81\x5B\x83\x68", // ランダムモード
     "\x83\x89\x83\x93\x83\x5F\x83\x80\x83\x82\x81\x5B\x83\x68"},
    {kModeJakuten, "\x8E\xE3\x93\x5F\x8D\x8E\x95\x9E\x83\x82\x81\x5B\x83\x68", // 弱点克服モード
     "\x8E\xE3\x93\x5F\x8D\x8E\x95\x9E\x83\x82\x81\x5B\x83\x68"},
    {kModeHNormal, "\x96\x7B\x8E\x8E\x8C\xB1\x92\xCA\x8F\xED", // 本試験通常, 本試験通常モード
     "\x96\x7B\x8E\x8E\x8C\xB1\x92\xCA\x8F\xED\x83\x82\x81\x5B\x83\x68"},
    {kModeHRand, "\x96\x7B\x8E\x8E\x8C\xB1\x83\x89\x83\x93\x83\x5F\x83\x80", // 本試験ランダム, 本試験ランダムモード
     "\x96\x7B\x8E\x8E\x8C\xB1\x83\x89\x83\x93\x83\x5F\x83\x80\x83\x82\x81\x5B\x83\x68"},
    {kModeMogi, "\x96\xCD\x8B\x5B\x8E\x8E\x8C\xB1", "\x96\xCD\x8B\x5B\x8E\x8E\x8C\xB1"}, // 模擬試験
};
inline constexpr std::int32_t kPlayModeCount = static_cast<std::int32_t>(std::size(kPlayModes));

// The table's rows stand at their numbers, so a number indexes it.
constexpr bool PlayModesInOrder()
{
    for (std::int32_t i = 0; i < kPlayModeCount; ++i)
        if (kPlayModes[i].number != i)
            return false;
    return true;
}
static_assert(PlayModesInOrder());

// The row of a number, or nullptr for a number no mode has.
constexpr const PlayModeRow* PlayModeOf(std::int64_t number)
{
    return number >= 0 && number < kPlayModeCount ? &kPlayModes[number] : nullptr;
}
