#pragma once
// Whether two names lead to the same file, told by its identity (device and
// file number) rather than by the names, so that a link, a second name or a
// path spelt differently is caught too. Tools use it to refuse writing their
// output over their own input, or over a file of the learner's folder.
#include <string>

// False when either does not exist (a file yet to be written is never the
// input).
bool SameFile(const std::string& a, const std::string& b);

// The name of an entry of `folder` that is the file named `path` (or, for
// the second, the file open as descriptor `fd`); empty when none is.
std::string FolderEntryOf(const std::string& folder, const std::string& path);
std::string FolderEntryOfOpen(const std::string& folder, int fd);

// Whether the folder at `path` is `folder` itself or lies anywhere below it,
// every link resolved; false when `path` leads nowhere.
bool FolderWithin(const std::string& path, const std::string& folder);
