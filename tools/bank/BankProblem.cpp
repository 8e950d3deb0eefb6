#include "bank/BankProblem.h"

#include <algorithm>
#include <iterator>
#include <tuple>
#include <unordered_map>

std::string FormatProblem(const BankProblem& problem)
{
    std::string text = problem.file;
    if (problem.line > 0) {
        text += ":" + std::to_string(problem.line);
        if (problem.column > 0)
            text += ":" + std::to_string(problem.column);
    }
    return text + ": " + problem.message;
}

bool ProblemList::Kept::operator<(const Kept& other) const
{
    if (!byPlace)
        return order < other.order;
    return std::tie(line, column, stage, order) < std::tie(other.line, other.column, other.stage, other.order);
}

void ProblemList::Add(BankProblem problem, Stage stage)
{
    ++count_;
    ++byStage_[static_cast<int>(stage)];
    File& file = files_[problem.file];
    Row& row = file.rows[problem.line];
    if (row.kept >= kRowLimit) {
        ++row.more;
        return;
    }
    const std::int64_t line = problem.line;
    const int column = problem.column;
    file.kept.insert({byPlace_, line, column, stage, order_++, std::move(problem)});
    ++row.kept;
    if (file.kept.size() <= kFileLimit)
        return;
    // Keep the first problems of the file: the last one goes.
    const auto last = std::prev(file.kept.end());
    const auto gone = file.rows.find(last->line);
    file.kept.erase(last);
    ++file.more;
    if (--gone->second.kept == 0) {
        file.more += gone->second.more;
        file.rows.erase(gone);
    }
}

void ProblemList::AddUnlisted(const std::string& file, std::int64_t line, std::size_t count, Stage stage)
{
    if (count == 0)
        return;
    count_ += count;
    byStage_[static_cast<int>(stage)] += count;
    File& f = files_[file];
    const auto row = f.rows.find(line);
    if (row == f.rows.end())
        f.more += count;
    else
        row->second.more += count;
}

std::vector<BankProblem> ProblemList::Listed(const std::vector<std::string>& files) const
{
    // The first of equal names gives the order; names not among the files go last.
    std::unordered_map<std::string, std::size_t> order;
    for (std::size_t f = files.size(); f-- > 0;)
        order[files[f]] = f;
    std::vector<std::pair<std::size_t, const std::string*>> names;
    for (const auto& [name, file] : files_) {
        const auto it = order.find(name);
        names.emplace_back(it == order.end() ? files.size() : it->second, &name);
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<BankProblem> listed;
    for (const auto& [index, name] : names) {
        const File& file = files_.at(*name);
        std::map<std::int64_t, std::size_t> left; // per row, its problems still to list
        for (const auto& [line, row] : file.rows)
            left[line] = row.kept;
        for (const Kept& kept : file.kept) {
            listed.push_back(kept.problem);
            if (--left[kept.line] > 0)
                continue;
            // After the row's last listed problem, the count of the rest.
            const auto row = file.rows.find(kept.line);
            if (row != file.rows.end() && row->second.more > 0)
                listed.push_back({*name, kept.line, 0,
                                  std::to_string(row->second.more) + " more problems in this row, not listed"});
        }
        if (file.more > 0)
            listed.push_back({*name, 0, 0, std::to_string(file.more) + " more problems in this file, not listed"});
    }
    return listed;
}
