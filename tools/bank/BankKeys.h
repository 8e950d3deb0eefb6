#pragma once
// The keys of a release and the first line of each key's question. Learners'
// counts are kept by key, so a key must keep its question's topic from one
// release to the next: a committed list of the release's keys is compared
// with the bank, and a key whose first line changed must be named in a list
// of edits that keep the topic, a key that is gone in a list of retired keys.
#include "bank/BankRow.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The first line of a question text cell (Shift_JIS, lines joined by "<$>").
std::string_view FirstLineOf(std::string_view text);

// Collects each question row's key and first line (Shift_JIS), in bank order;
// the first row seen is the header row and is skipped.
class KeyLister {
public:
    void Row(const RowView& row);
    const std::vector<std::pair<std::string, std::string>>& Lines() const { return lines_; }

private:
    bool header_ = true;
    std::vector<std::pair<std::string, std::string>> lines_;
};

// The list as UTF-8 CSV: the header row "キー,問題文の1行目", then one row a key.
// False, with the reason, when a text is not valid Shift_JIS.
bool FormatKeyList(const std::vector<std::pair<std::string, std::string>>& lines, std::string& csv,
                   std::string& error);

// A list of keys with a short reason each ("5107 distractors made plausible"),
// one a line; blank lines and lines starting with "#" are comments. A line
// that is no key and reason, or a key named twice, goes to problems as
// "LINE: message".
std::map<std::string, std::string> ParseKeyNotes(std::string_view text, std::vector<std::string>& problems);

// What the bank (key -> first line) does to the release's list: one message a
// key whose first line changed and is not in keptTopic, a key that is gone and
// not in retired, a retired key that is back, a key the list lacks.
std::vector<std::string> KeyListProblems(const std::vector<std::pair<std::string, std::string>>& release,
                                         const std::vector<std::pair<std::string, std::string>>& bank,
                                         const std::map<std::string, std::string>& keptTopic,
                                         const std::map<std::string, std::string>& retired);
