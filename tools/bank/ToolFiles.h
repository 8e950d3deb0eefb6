#pragma once
// The files the bank tool reads and writes.
#include <string>

// Reads a bank file or a CSV source whole: only a regular file, opened
// without waiting on a FIFO, of at most 64 MiB (no real bank comes near it;
// a bigger file is a wrong name). False with a short reason otherwise.
bool ReadInputFile(const std::string& name, std::string& bytes, std::string& reason);

// True when both names lead to one existing file (the same device and
// inode), whatever links or spellings lead there.
bool SameFile(const std::string& a, const std::string& b);
