#pragma once
// A disk that fails on purpose. It stands in for the platform's file calls
// (text/FileCalls.h) from the start of a test program that links it (it
// passes them through until a fault is set), so the safe-file layer
// meets each failure where a real disk would put it: a replacement's steps
// must leave the old file whole, and an append cut short must lose no row.
#include <cstddef>

// Where the next replacements (ReplaceFile) fail: making the new file beside
// the old one (Open: a full disk; CreateDenied: the folder refuses it),
// writing it (a full disk after half the bytes), syncing it, renaming it
// over the old one.
enum class WriteFault { None, Open, Write, Sync, Rename, CreateDenied };
// `times` replacements fail at the step (a negative count: every one, like a
// disk that stays full, until the fault is set to None).
void SetWriteFault(WriteFault fault, int times = 1);
// The next `times` appends (AppendFile::Append) stop with a full disk
// `heldBack` bytes (at least 1) short of their end: 2 cuts a journal row
// right after its closing quote, 1 after its CR. A negative count: every
// one, until set to 0 times.
void SetAppendFault(std::size_t heldBack, int times = 1);
