#pragma once
// What the bank tool reports: a problem names the file, the line where its
// row starts and the 1-based field number.
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct BankProblem {
    std::string file;
    std::int64_t line = 0; // 0: about the whole file
    int column = 0;        // 0: about the whole row or file
    std::string message;
};

// "FILE:LINE:COLUMN: message"; the line and column are left out when 0.
std::string FormatProblem(const BankProblem& problem);

// The problems of one run, listed by file (in the order the files were
// given), line and column. Only the first kRowLimit of a row and the first
// kFileLimit of a file are kept with their text; the rest are counted and
// listed as one line each, so a file of a million bad bytes costs no more
// memory than a file of a few.
class ProblemList {
public:
    static constexpr std::size_t kRowLimit = 20;
    static constexpr std::size_t kFileLimit = 500;

    // Where a problem was found; on one field of one line the reading's own
    // problems come first, then those of converting the text, then the checks'.
    enum class Stage { Syntax, Text, Content };

    // Listed by place (file, line, column), or in the order found.
    explicit ProblemList(bool byPlace = true) : byPlace_(byPlace) {}

    void Add(BankProblem problem, Stage stage);
    // Counts further problems of a row without their text (a cell of a
    // million bad bytes is not described a million times).
    void AddUnlisted(const std::string& file, std::int64_t line, std::size_t count, Stage stage);
    // Every problem found, listed or only counted.
    std::size_t Count() const { return count_; }
    std::size_t Count(Stage stage) const { return byStage_[static_cast<int>(stage)]; }
    bool Empty() const { return count_ == 0; }
    // The problems to show, sorted, with a line for each row or file whose
    // further problems were only counted. files gives the order of the files.
    std::vector<BankProblem> Listed(const std::vector<std::string>& files) const;

private:
    struct Kept {
        bool byPlace;
        std::int64_t line;
        int column;
        Stage stage;
        std::uint64_t order;
        BankProblem problem;
        bool operator<(const Kept& other) const;
    };
    struct Row {
        std::size_t kept = 0;
        std::size_t more = 0;
    };
    struct File {
        std::set<Kept> kept;
        std::map<std::int64_t, Row> rows; // rows with problems kept
        std::size_t more = 0;             // beyond kFileLimit, and rows' counts whose problems all went
    };
    bool byPlace_;
    std::map<std::string, File> files_;
    std::size_t count_ = 0;
    std::size_t byStage_[3] = {};
    std::uint64_t order_ = 0;
};
