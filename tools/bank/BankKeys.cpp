#include "bank/BankKeys.h"

#include "bank/BankWrite.h"
#include "bank/CellText.h"

#include "data/DataTexts.h"
#include "data/ToiBank.h"
#include "text/SjisCodec.h"

#include <algorithm>
#include <unordered_map>

namespace {

std::string Utf8(const std::string& sjis)
{
    std::string utf8;
    return CellToUtf8(sjis, utf8) ? utf8 : sjis;
}

} // namespace

std::string_view FirstLineOf(std::string_view text)
{
    return text.substr(0, text.find(DataTexts::kLineMarker));
}

void KeyLister::Row(const RowView& row)
{
    if (header_) {
        header_ = false;
        return;
    }
    if (!row.readable || row.cells.size() <= static_cast<std::size_t>(ToiColumn::Text))
        return;
    lines_.emplace_back(std::string(row.cells[ToiColumn::Key]), std::string(FirstLineOf(row.cells[ToiColumn::Text])));
}

bool FormatKeyList(const std::vector<std::pair<std::string, std::string>>& lines, std::string& csv, std::string& error)
{
    csv = "キー,問題文の1行目\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string buffer = lines[i].first + lines[i].second;
        const std::vector<std::uint32_t> starts {0, static_cast<std::uint32_t>(lines[i].first.size()),
                                                 static_cast<std::uint32_t>(buffer.size())};
        if (!AppendCsvRecord(static_cast<std::int64_t>(i + 1), CellsView(buffer.data(), &starts, 0), csv, error))
            return false;
    }
    return true;
}

std::map<std::string, std::string> ParseKeyNotes(std::string_view text, std::vector<std::string>& problems)
{
    std::map<std::string, std::string> notes;
    std::size_t number = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t lf = text.find('\n', at);
        std::string_view line = text.substr(at, (lf == std::string_view::npos ? text.size() : lf) - at);
        at = lf == std::string_view::npos ? text.size() : lf + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t digits = line.find_first_not_of("0123456789");
        std::string_view reason;
        if (digits != 0 && digits != std::string_view::npos && line[digits] == ' ')
            reason = line.substr(digits);
        while (!reason.empty() && reason.front() == ' ')
            reason.remove_prefix(1);
        const std::string key(line.substr(0, digits));
        if (reason.empty())
            problems.push_back(std::to_string(number) + ": a line is a key, a blank and a short reason");
        else if (!notes.emplace(key, std::string(reason)).second)
            problems.push_back(std::to_string(number) + ": the key " + key + " is named twice");
    }
    return notes;
}

std::vector<std::string> KeyListProblems(const std::vector<std::pair<std::string, std::string>>& release,
                                         const std::vector<std::pair<std::string, std::string>>& bank,
                                         const std::map<std::string, std::string>& keptTopic,
                                         const std::map<std::string, std::string>& retired)
{
    std::unordered_map<std::string, const std::string*> now;
    for (const auto& [key, line] : bank)
        now.emplace(key, &line);
    std::unordered_map<std::string, bool> listed;
    std::vector<std::string> problems;
    for (const auto& [key, line] : release) {
        listed.emplace(key, true);
        const auto found = now.find(key);
        if (found == now.end()) {
            if (!retired.count(key))
                problems.push_back(key + ": the key is gone from the bank; learners' counts are kept by key, so "
                                         "name it in the list of retired keys");
        } else if (retired.count(key)) {
            problems.push_back(key + ": a retired key is back in the bank: give its question a new key");
        } else if (*found->second != line && !keptTopic.count(key)) {
            problems.push_back(key + ": the first line of its question changed from «" + Utf8(line) + "» to «" +
                               Utf8(*found->second) +
                               "»: if the question keeps its topic, name the key in the list of edits that keep "
                               "the topic; if not, retire the key and give the new question a new key");
        }
    }
    for (const auto& [key, line] : bank) {
        if (listed.count(key))
            continue;
        problems.push_back(retired.count(key) ? key + ": a retired key is used again: give the question a new key"
                                              : key + ": a key new to the list of the release's keys: add it "
                                                      "with scripts/update-bank-keys.sh");
    }
    return problems;
}
