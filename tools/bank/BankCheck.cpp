#include "bank/BankCheck.h"

#include "bank/BankCues.h"
#include "bank/CellText.h"

#include "data/ChoiceLabels.h"
#include "data/DataTexts.h"
#include "data/MogiToi.h"
#include "data/ToiBank.h"
#include "data/ToiBoxes.h"
#include "data/ToiTextLines.h"
#include "text/SafeFile.h"
#include "text/SjisCodec.h"
#include "text/Unit2.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <sys/stat.h>

namespace {

using DataTexts::kLineMarker;
constexpr int kMaxChoices = 8;

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A plain decimal is what IntToText writes for a number of 0 or more.
bool PlainDecimal(std::string_view text, int& value)
{
    if (!AllDigits(text) || (text.size() > 1 && text[0] == '0') || text.size() > 10)
        return false;
    long long number = 0;
    for (char c : text)
        number = number * 10 + (c - '0');
    if (number > INT32_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

} // namespace

std::string KubunProblem(std::string_view kubun)
{
    std::string names;
    for (const std::string_view name : kMogiKubunNames)
        names += (names.empty() ? "" : ", ") + SjisToUtf8(std::string(name));
    return "the paper group (試験区分) " + Quoted(SjisToUtf8(std::string(kubun))) + " is none of " + names;
}

const std::string& BankContentCheck::FileName(std::size_t fileIndex) const
{
    static const std::string kNone;
    return fileIndex < files_.size() ? files_[fileIndex] : kNone;
}

void BankContentCheck::Report(const std::string& file, std::int64_t line, int column, const std::string& message)
{
    problems_.Add({file, line, column, message}, ProblemList::Stage::Content);
}

void BankContentCheck::Report(const RowView& row, int column, const std::string& message)
{
    Report(FileName(row.fileIndex), row.line, column, message);
}

void BankContentCheck::Row(const RowView& row)
{
    if (rows_++ == 0) {
        headerFile_ = row.fileIndex;
        headerLine_ = row.line;
        if (row.readable && !row.cells.empty() && AllDigits(row.cells[0]))
            Report(row, 1, "the first row is the header row, but this one looks like a question "
                           "(its first cell is a number)");
        const std::size_t cells = row.readable ? row.cells.size() : 0;
        if (cells == ToiColumn::Bunya + 1 || cells == ToiColumn::Kubun + 1) {
            if (row.cells[ToiColumn::Bunya] != kBunyaHeader)
                Report(row, ToiColumn::Bunya + 1, "a ninth column is the area: its header is 「分野」");
            else if (cells == ToiColumn::Kubun + 1 && row.cells[ToiColumn::Kubun] != kKubunHeader)
                Report(row, ToiColumn::Kubun + 1, "a tenth column is the paper group: its header is 「試験区分」");
            else
                columns_ = cells;
        }
        return;
    }
    if (row.readable)
        CheckQuestion(row);
}

BankSummary BankContentCheck::Finish(bool textProblems)
{
    if (rows_ == 0) {
        // An unreadable or empty file has been reported already.
        if (!textProblems)
            Report(files_.empty() ? std::string() : files_.front(), 0, 0,
                   "no rows: a bank needs a header row and at least one question row");
    } else if (rows_ == 1) {
        Report(FileName(headerFile_), headerLine_, 0, "the bank has no question rows");
    }
    return summary_;
}

// Columns 4..7; -1 when the cell is missing or not a plain decimal.
int BankContentCheck::Number(const RowView& row, int column, const char* what)
{
    if (static_cast<std::size_t>(column) >= row.cells.size())
        return -1;
    int value = 0;
    if (!PlainDecimal(row.cells[column], value)) {
        Report(row, column + 1,
               std::string(what) + " must be a plain decimal number, not " +
                   Quoted(SjisToUtf8(std::string(row.cells[column]))));
        return -1;
    }
    return value;
}

void BankContentCheck::CheckQuestion(const RowView& row)
{
    const CellsView& cells = row.cells;
    ++summary_.questions;
    if (cells.size() != columns_) {
        Report(row, static_cast<int>(std::min(cells.size(), columns_)) + 1,
               std::to_string(cells.size()) +
                   (columns_ == ToiColumn::Count
                        ? " cells: a question row has exactly 8 (key, question, explanation, answer, choices, "
                          "label set, question picture, explanation picture)"
                    : columns_ == ToiColumn::Bunya + 1
                        ? " cells: a question row of a bank with areas has exactly 9 (key, question, "
                          "explanation, answer, choices, label set, question picture, explanation picture, area)"
                        : " cells: a question row of a bank with paper groups has exactly 10 (key, question, "
                          "explanation, answer, choices, label set, question picture, explanation picture, area, "
                          "paper group)"));
    } else if (columns_ > ToiColumn::Count) {
        CheckBunya(row, cells[ToiColumn::Bunya]);
        if (columns_ > ToiColumn::Kubun && !MogiKubunNamed(cells[ToiColumn::Kubun]))
            Report(row, ToiColumn::Kubun + 1, KubunProblem(cells[ToiColumn::Kubun]));
    }
    auto cell = [&](int column) -> std::string_view {
        return static_cast<std::size_t>(column) < cells.size() ? cells[column] : std::string_view();
    };

    const std::string_view key = cell(ToiColumn::Key);
    bool keyUsable = AllDigits(key);
    if (!keyUsable) {
        Report(row, 1, key.empty() ? std::string("the key is empty")
                                   : "the key must be digits only, not " + Quoted(SjisToUtf8(std::string(key))));
    } else if (const auto [earlier, added] = keys_.try_emplace(std::string(key), KeyPlace {row.fileIndex, row.line});
               !added) {
        Report(row, 1, "the key " + std::string(key) + " is also used at " + FileName(earlier->second.fileIndex) +
                           ":" + std::to_string(earlier->second.line));
    }

    int choices = Number(row, ToiColumn::ChoiceCount, "the number of choices");
    int labels = Number(row, ToiColumn::LabelSet, "the label set");
    int toiPicture = Number(row, ToiColumn::ToiPicture, "the question picture flag");
    int kaisetuPicture = Number(row, ToiColumn::KaisetuPicture, "the explanation picture flag");
    if (choices > kMaxChoices)
        Report(row, ToiColumn::ChoiceCount + 1,
               std::to_string(choices) + " choices: the program has only 8 check boxes");
    else if (choices == 1)
        Report(row, ToiColumn::ChoiceCount + 1,
               "1 choice is read as a typed question: write 0 for a typed question, 2 to 8 for choices");
    if (labels >= 0 && !ChoiceLabels::IsLabelSet(labels))
        Report(row, ToiColumn::LabelSet + 1, "the label set must be 0, 1, 2 or 3");
    if (toiPicture > 1)
        Report(row, ToiColumn::ToiPicture + 1, "the question picture flag must be 0 or 1");
    if (kaisetuPicture > 1)
        Report(row, ToiColumn::KaisetuPicture + 1, "the explanation picture flag must be 0 or 1");

    if (cell(ToiColumn::Text).empty())
        Report(row, ToiColumn::Text + 1, "the question text is empty");
    else if (toiPicture != 1)
        CheckTextLines(row, cell(ToiColumn::Text));
    if (cell(ToiColumn::KaisetuText).empty() && kaisetuPicture == 0)
        Report(row, ToiColumn::KaisetuText + 1, "the explanation text is empty");

    if (choices >= 2) {
        ++summary_.choiceQuestions;
        CheckChoiceAnswer(row, cell(ToiColumn::Seikai), choices);
    } else if (choices >= 0) {
        ++summary_.typedQuestions;
        CheckTypedAnswer(row, cell(ToiColumn::Seikai));
    }

    if (toiPicture == 1) {
        ++summary_.pictures;
        if (keyUsable) {
            CheckPicture(row, ToiColumn::ToiPicture, PictureFileName('m', std::string(key)));
            CheckPictureAnswer(row, ToiColumn::ToiPicture, 'm', key, choices, labels);
        }
    }
    if (kaisetuPicture == 1) {
        ++summary_.pictures;
        if (keyUsable) {
            CheckPicture(row, ToiColumn::KaisetuPicture, PictureFileName('k', std::string(key)));
            CheckPictureAnswer(row, ToiColumn::KaisetuPicture, 'k', key, choices, labels);
        }
    }
}

void BankContentCheck::CheckChoiceAnswer(const RowView& row, std::string_view answer, int choices)
{
    const int column = ToiColumn::Seikai + 1;
    if (answer.empty()) {
        Report(row, column, "the answer is empty: a choice question needs the numbers of its correct boxes");
        return;
    }
    int previous = 0;
    for (std::size_t from = 0;;) {
        std::size_t end = answer.find('_', from);
        const std::string_view piece = answer.substr(from, end == std::string_view::npos ? answer.npos : end - from);
        int box = 0;
        if (!PlainDecimal(piece, box) || box == 0) {
            Report(row, column, "the answer " + Quoted(SjisToUtf8(std::string(answer))) +
                                    " must be box numbers joined by \"_\", such as 2 or 1_3");
            return;
        }
        if (box <= previous) {
            Report(row, column, "the answer " + Quoted(SjisToUtf8(std::string(answer))) +
                                    " must list its box numbers once each, in ascending order");
            return;
        }
        if (box > choices) {
            Report(row, column, "the answer names box " + std::to_string(box) + " but there are only " +
                                    std::to_string(choices) + " choices");
            return;
        }
        previous = box;
        if (end == std::string_view::npos)
            return;
        from = end + 1;
    }
}

void BankContentCheck::CheckTypedAnswer(const RowView& row, std::string_view answer)
{
    const int column = ToiColumn::Seikai + 1;
    static const std::string_view kWideBlank = "\x81\x40"; // full-width blank
    // The last character starts after the last lead byte's pair, so walk.
    std::size_t last = 0;
    for (std::size_t i = 0; i < answer.size(); i += IsSjisLead(static_cast<unsigned char>(answer[i])) ? 2 : 1)
        last = i;
    auto blankAt = [&](std::size_t at) {
        return answer.substr(at, 1) == " " || answer.substr(at, 2) == kWideBlank;
    };
    if (answer.empty())
        Report(row, column, "the answer is empty");
    else if (answer.find(kLineMarker) != std::string_view::npos)
        Report(row, column, "a typed answer cannot hold a line break: the answer box has one line");
    else if (blankAt(0) || blankAt(last))
        Report(row, column, "the answer starts or ends with a blank: the learner's text is compared unchanged");
}

void BankContentCheck::CheckPicture(const RowView& row, int column, const std::string& name)
{
    if (!options_.decodePicture)
        return;
    std::string path = options_.pictureFolder.empty() ? name : options_.pictureFolder + "/" + name;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        Report(row, column + 1, "the picture " + name + " is missing in " +
                                    (options_.pictureFolder.empty() ? std::string(".") : options_.pictureFolder));
        return;
    }
    std::string reason;
    PictureSize size;
    if (!options_.decodePicture(path, reason, size)) {
        Report(row, column + 1, "the picture " + path + " cannot be shown: " + reason);
        return;
    }
    const bool question = column == ToiColumn::ToiPicture;
    const std::string what = question ? "the question picture " : "the explanation picture ";
    const std::string sizeText = " (" + std::to_string(size.width) + " x " + std::to_string(size.height) + ")";
    const std::optional<ToiBoxes::ShownSize> shown = ToiBoxes::PictureShownSize(size.width, size.height);
    if (!shown) {
        Report(row, column + 1, what + name + sizeText + " is too thin to be shown at the box's width");
    } else if (shown->height > ToiBoxes::kHeight) {
        const long long fits = static_cast<long long>(ToiBoxes::kHeight) * size.width / shown->width;
        Report(row, column + 1,
               what + name + sizeText + " is shown " + std::to_string(shown->height) + " px high, taller than the " +
                   (question ? "question box (" : "explanation box (") + std::to_string(ToiBoxes::kHeight) +
                   (question ? " px): the learner would have to scroll under the countdown"
                             : " px): the learner would see only its top") +
                   "; at this width make it at most " + std::to_string(fits) + " px high");
    }
}

void BankContentCheck::CheckBunya(const RowView& row, std::string_view bunya)
{
    // The area is one entry of the start screen's drop-down.
    constexpr int kMaxBunyaCharacters = 20;
    const int column = ToiColumn::Bunya + 1;
    if (bunya.find(kLineMarker) != std::string_view::npos)
        Report(row, column, "an area (分野) is one line");
    else if (CharacterCount(bunya) > kMaxBunyaCharacters)
        Report(row, column, "an area (分野) has at most " + std::to_string(kMaxBunyaCharacters) + " characters");
}

void BankContentCheck::CheckPictureAnswer(const RowView& row, int column, char letter, std::string_view key,
                                          int choices, int labels)
{
    if (options_.descriptionFolder.empty() || choices < 0)
        return;
    const std::string name = "NONE" + std::string(1, letter) + std::string(key) + ".pic";
    std::string description;
    if (!ReadRegularFile(options_.descriptionFolder + "/" + name, description, nullptr, kMaxPictureDescriptionBytes))
        return; // a picture drawn some other way
    // The answer as the learner reads it: the typed text, or the labels of
    // the correct boxes joined by 、.
    const std::string_view seikai = ToiColumn::Seikai < static_cast<int>(row.cells.size()) ? row.cells[ToiColumn::Seikai]
                                                                                          : std::string_view();
    std::string expected;
    if (choices < 2) {
        expected = SjisToUtf8(std::string(seikai));
    } else {
        for (std::size_t from = 0; from <= seikai.size();) {
            std::size_t end = seikai.find('_', from);
            if (end == std::string_view::npos)
                end = seikai.size();
            int box = 0;
            if (!PlainDecimal(seikai.substr(from, end - from), box) || box < 1 || !ChoiceLabels::IsLabelSet(labels))
                return; // the answer's own check reports it
            const std::string label = labels == 0 ? std::to_string(box) : SjisToUtf8(ChoiceLabels::Letter(labels, box - 1));
            expected += (expected.empty() ? "" : "、") + label;
            from = end + 1;
        }
    }
    static const std::string kSeikai = "正解：";
    std::size_t lineNo = 0;
    for (std::size_t at = 0; at < description.size();) {
        const std::size_t lf = description.find('\n', at);
        std::string line = description.substr(at, (lf == std::string::npos ? description.size() : lf) - at);
        at = lf == std::string::npos ? description.size() : lf + 1;
        ++lineNo;
        const std::size_t found = line.find(kSeikai);
        if (found == std::string::npos)
            continue;
        std::string shown = line.substr(found + kSeikai.size());
        while (!shown.empty() && (shown.back() == '\r' || shown.back() == ' '))
            shown.pop_back();
        if (shown != expected)
            Report(row, column + 1,
                   "the picture " + name + " says " + Quoted(kSeikai + shown) + " on its line " +
                       std::to_string(lineNo) + ", but the row's answer is " + Quoted(kSeikai + expected));
    }
}

void BankContentCheck::CheckTextLines(const RowView& row, std::string_view text)
{
    const int lines = ToiTextLines::LineCount(text);
    if (lines > ToiTextLines::kVisibleLines)
        Report(row, ToiColumn::Text + 1,
               "the question text takes about " + std::to_string(lines) + " lines in the question box, which shows " +
                   std::to_string(ToiTextLines::kVisibleLines) +
                   ": the learner would have to scroll under the countdown; shorten it, or move a long log or "
                   "table into a question picture");
}
