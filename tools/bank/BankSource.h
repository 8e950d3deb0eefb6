#pragma once
// The question bank as authors write it and as the program reads it.
//
// Authors write UTF-8 CSV (RFC 4180, first record the header row); the
// program reads the Shift_JIS table file toi_dq_basic3.dat. This unit turns
// one into the other and checks everything the table file cannot carry
// (characters outside JIS X 0208, a quote-comma-quote inside a cell, line
// breaks) and everything the program would silently misread (short rows,
// answers that can never match, missing pictures). Every problem names the
// file, the line where its row starts and the 1-based field number.
#include "text/Unit2.h"

#include <functional>
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

// One row of a bank and where it came from.
struct BankRow {
    std::size_t fileIndex = 0; // into BankRows::files
    std::int64_t line = 0;     // file line where the row starts
    TextRow cells;             // Shift_JIS, line breaks as "<$>"
    // False when the line was too damaged to say what its cells are; such a
    // row keeps its place (the program would read it as a row too) but its
    // cells are not checked further.
    bool readable = true;
};

struct BankRows {
    std::vector<std::string> files;
    std::vector<BankRow> rows; // rows[0] is the header row
    // Problems with the text itself: syntax, encoding, characters the bank
    // cannot hold. A bank with none of these converts both ways exactly.
    std::vector<BankProblem> textProblems;
};

// Reads UTF-8 CSV sources as one bank: the first file's header row is the
// bank's, every later file must start with the same header, which is skipped.
// Unreadable files are reported as text problems.
BankRows ReadCsvSources(const std::vector<std::string>& fileNames);
// The same for sources already in memory (name, bytes).
BankRows ParseCsvSources(const std::vector<std::pair<std::string, std::string>>& sources);

// Reads a bank file the way the program's loader does, reporting every line
// the loader would mangle or drop.
BankRows ReadBankFile(const std::string& fileName);
BankRows ParseBankBytes(const std::string& fileName, const std::string& bytes);

// A decoded picture's size in pixels.
struct PictureSize {
    int width = 0;
    int height = 0;
};

// Tells whether a picture file decodes and how large it is; on failure puts a
// short reason in reason. The tool passes the program's own JPEG decoder.
using PictureDecoder = std::function<bool(const std::string& path, std::string& reason, PictureSize& size)>;

// The question box a question picture is shown in, and the width the window
// scales it to (the box less the scroll bar and a margin). A taller picture
// hides part of the question below the box while the countdown runs.
constexpr int kQuestionBoxHeight = 281;
constexpr int kQuestionPictureShownWidth = 790;
// The shown height of a question picture of the given size (0 for an empty one).
long long QuestionPictureShownHeight(const PictureSize& size);

struct BankCheckOptions {
    // Pictures of questions whose picture column is set are looked for here.
    std::string pictureFolder = ".";
    // Empty: pictures are not checked at all.
    PictureDecoder decodePicture;
};

struct BankSummary {
    int questions = 0;
    int choiceQuestions = 0;
    int typedQuestions = 0;
    int pictures = 0; // picture flags set
};

// Checks the rows' content: the header row, eight plain cells per question,
// numbers, answers, keys and pictures. Returns the content problems.
std::vector<BankProblem> CheckBankContent(const BankRows& bank, const BankCheckOptions& options,
                                          BankSummary* summary = nullptr);

// Text and content problems together, in file, line and column order.
std::vector<BankProblem> AllProblems(const BankRows& bank, const std::vector<BankProblem>& content);

// The rows as a text table numbered from 0, as the program holds it.
TextTable BankTable(const BankRows& bank);

// The table as UTF-8 CSV: "<$>" becomes a line break, fields are quoted when
// they need it, LF line ends. Fails (false, reason) when a cell is not valid
// Shift_JIS, which would not come back the same.
bool BankTableToCsv(const TextTable& table, std::string& csv, std::string* error = nullptr);

// Problems found in one cell text (Shift_JIS): characters the bank cannot
// hold. Each entry is a 1-based character position and a message.
struct CellFault {
    std::size_t position = 0;
    std::string message;
};
std::vector<CellFault> SjisCellFaults(const std::string& cell);
// Converts one CSV field (UTF-8, line breaks as LF) to a bank cell; returns
// the faults. With faults the cell is only the nearest text, with "?" for
// characters that have no Shift_JIS form.
std::vector<CellFault> Utf8FieldToCell(const std::string& field, std::string& cell);
