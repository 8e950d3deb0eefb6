#pragma once
// Whether two names lead to the same file, told by its identity (device and
// file number) rather than by the names, so that a link, a second name or a
// path spelt differently is caught too. Tools use it to refuse writing their
// output over their own input.
#include <string>

// False when either does not exist (a file yet to be written is never the
// input).
bool SameFile(const std::string& a, const std::string& b);
