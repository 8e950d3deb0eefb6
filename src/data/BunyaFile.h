#pragma once
// The area (分野) chosen on the start screen, remembered between starts in a
// file of its own (db_bunya.dat, a table file of one row), so the three
// databases stay as they are.
#include <string>

inline constexpr char kBunyaFileName[] = "db_bunya.dat";

// The remembered choice (Shift_JIS); empty when there is none or the file
// cannot be read.
std::string ReadBunyaChoice();
// Replaces the file safely; false when it cannot be written.
bool WriteBunyaChoice(const std::string& choice);
