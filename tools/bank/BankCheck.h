#pragma once
// The checks of a bank's content, row by row: the header row, eight plain
// cells per question, numbers, answers, keys and pictures; everything the
// program would silently misread.
#include "bank/BankProblem.h"
#include "bank/BankRow.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A decoded picture's size in pixels.
struct PictureSize {
    int width = 0;
    int height = 0;
};

// Tells whether a picture file decodes and how large it is; on failure puts a
// short reason in reason. The tool passes the program's own JPEG decoder.
using PictureDecoder = std::function<bool(const std::string& path, std::string& reason, PictureSize& size)>;

struct BankCheckOptions {
    // Pictures of questions whose picture column is set are looked for here.
    std::string pictureFolder = ".";
    // Empty: pictures are not checked at all.
    PictureDecoder decodePicture;
    // Where the pictures' descriptions (NONEk<key>.pic ...) are; a 「正解：」
    // line drawn into a picture must give the row's answer. Empty: not checked.
    std::string descriptionFolder;
};

struct BankSummary {
    int questions = 0;
    int choiceQuestions = 0;
    int typedQuestions = 0;
    int pictures = 0; // picture flags set
};

// Why a text is no paper group (試験区分): it names the four.
std::string KubunProblem(std::string_view kubun);

class BankContentCheck {
public:
    // The file names are looked up in files while rows come in and at the end.
    BankContentCheck(const std::vector<std::string>& files, const BankCheckOptions& options, ProblemList& problems)
        : files_(files), options_(options), problems_(problems)
    {
    }
    void Row(const RowView& row);
    // After the last row; textProblems tells whether the text had any.
    BankSummary Finish(bool textProblems);

private:
    struct KeyPlace {
        std::size_t fileIndex;
        std::int64_t line;
    };
    const std::string& FileName(std::size_t fileIndex) const;
    void Report(const std::string& file, std::int64_t line, int column, const std::string& message);
    void Report(const RowView& row, int column, const std::string& message);
    int Number(const RowView& row, int column, const char* what);
    void CheckQuestion(const RowView& row);
    void CheckChoiceAnswer(const RowView& row, std::string_view answer, int choices);
    void CheckTypedAnswer(const RowView& row, std::string_view answer);
    void CheckPicture(const RowView& row, int column, const std::string& name);
    void CheckBunya(const RowView& row, std::string_view bunya);
    void CheckTextLines(const RowView& row, std::string_view text);
    void CheckPictureAnswer(const RowView& row, int column, char letter, std::string_view key, int choices,
                            int labels);

    const std::vector<std::string>& files_;
    const BankCheckOptions& options_;
    ProblemList& problems_;
    std::unordered_map<std::string, KeyPlace> keys_; // where each key was first used
    BankSummary summary_;
    std::size_t columns_ = 8; // 9 when the header names the area column, 10 with the paper group
    std::size_t rows_ = 0;
    std::size_t headerFile_ = 0;
    std::int64_t headerLine_ = 0;
};
