#pragma once
// A question as the mock exam (模擬試験) sees it: whether it has the exam
// paper's format, and the paper group (試験区分) it counts in.
#include "text/TextRow.h"

#include <array>
#include <optional>
#include <string_view>

// The paper groups, in the order the paper lists them.
enum MogiKubun : int {
    kKubunDatabase = 0, // データベース
    kKubunSecurity = 1, // セキュリティ
    kKubunKiban = 2,    // 基盤と信頼性
    kKubunKaihatsu = 3, // 開発
};
constexpr int kMogiKubunCount = 4;

// The groups' names as the bank's cell and the mix table hold them (Shift_JIS).
inline constexpr std::array<std::string_view, kMogiKubunCount> kMogiKubunNames = {
    "\x83\x66\x81\x5B\x83\x5E\x83\x78\x81\x5B\x83\x58", // データベース
    "\x83\x5A\x83\x4C\x83\x85\x83\x8A\x83\x65\x83\x42", // セキュリティ
    "\x8A\xEE\x94\xD5\x82\xC6\x90\x4D\x97\x8A\x90\xAB", // 基盤と信頼性
    "\x8A\x4A\x94\xAD",                                 // 開発
};

// The group a name stands for, or nothing for any other text.
std::optional<MogiKubun> MogiKubunNamed(std::string_view name);
// The group of a bank row: an empty or missing cell counts as データベース
// (banks made before the column); a text naming no group gives nothing, and
// such a question is left out of the paper.
std::optional<MogiKubun> MogiKubunOf(const TextRow& cells);
// The exam paper's format: one answer among four choices labelled ア to エ
// (four choices, label set 3, the answer one position "1" to "4").
bool IsExamFormatToi(const TextRow& cells);
// The same rule from the three cells that decide it (the bank tool reads its
// rows as views, not as a text table).
bool IsExamFormat(std::string_view choiceCount, std::string_view labelSet, std::string_view seikai);
