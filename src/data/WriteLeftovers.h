#pragma once
// Temporary files that a write interrupted by a crash or a power cut left
// beside the program's own files ("db_1toi_pr.dat.tmp-XXXXXX", each as large
// as its database). The write they belong to never finished, so the file
// beside them is the old one, whole: they hold nothing the learner needs.
#include <string>
#include <vector>

// Removes them from the working folder: only regular files (no link, no
// folder) whose name is one of the program's files, ".tmp-" and six
// characters. Returns the names removed. Start-up calls it once, before
// anything is read or written (drill/StudyOpening).
std::vector<std::string> RemoveWriteLeftovers();
