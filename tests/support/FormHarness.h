#pragma once
// Opens the real main window on a bank written for the test and drives it as
// a learner would: clicks, keys and countdown ticks.
#include "window/Unit1.h"
#include "WorkFolder.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTreeWidget;

struct BankQuestion {
    std::string key;
    std::string text;
    std::string kaisetu;
    std::string seikai;
    int choices = 0;
    int labels = 0;
    int toiPicture = 0;
    int kaisetuPicture = 0;
    // The optional ninth column; written only when some question has one.
    std::string bunya {};
};

// n typed questions: key K<i>, answer A<i>, text 問題<i>.
std::vector<BankQuestion> TypedBank(int n);
// Writes toi_dq_basic3.dat in the current folder.
void WriteBank(const WorkFolder& folder, const std::vector<BankQuestion>& questions);

// Constructs and shows the window (offscreen).
std::unique_ptr<TForm1> OpenForm();
// The only screen panel not hidden, or nullptr when there are none or more.
QWidget* VisibleScreen(TForm1& form);
int VisibleScreenCount(TForm1& form);

// Answers the current question: typed text, or boxes ticked (1-based).
void TypeAnswer(TForm1& form, const QString& text);
void TickBoxes(TForm1& form, const std::vector<int>& boxes);
// Answers the current typed question of TypedBank right or wrong and presses
// [決定] then [次へ].
void AnswerAndNext(TForm1& form, bool right);
// Answers `right` questions right, then `wrong` questions wrong.
void AnswerQuestions(TForm1& form, int right, int wrong);
// Ticks the countdown (Timer1Timer) until the question is judged as it
// runs out, then presses [次へ].
void LetTimeRunOut(TForm1& form);
// Moves the difficulty selector to an item with the arrow keys, as a learner.
void ChooseNanwido(TForm1& form, int index);
// Clicks list row r of a list view.
void ClickListRow(QTreeWidget* list, int r);
// Every row's column texts, top to bottom.
std::vector<QStringList> ListRows(const QTreeWidget* list);

// Save-slot fixtures, readable (UTF-8): the header row of db_save_load.dat and
// an empty slot for a bank of n questions.
std::vector<std::string> SlotHeaderRow();
std::vector<std::string> EmptySlotCells(int n);
// Rows 1..n in bank order, joined with "<%>".
std::string BankOrderList(int n);
// Cell of slot row `slot` of the window's SaveLoadTable, as UTF-8.
std::string SlotCellText(const TForm1& form, int slot, int cell);

// Sends Alt+key to the window and waits (at most a second) until done()
// holds: an access key clicks its control only after a short animation.
bool PressAccessKey(TForm1& form, Qt::Key key, const std::function<bool()>& done);
