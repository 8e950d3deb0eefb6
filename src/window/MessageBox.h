#pragma once
// Every message box of the program goes through here. Tests preset the next
// answer, and a test's subclass can switch boxes off and record their texts,
// so nothing ever blocks a test.
#include <QMessageBox>
#include <QString>
#include <QStringList>

class MessageBox {
public:
    // A Yes/No question owned by parent, no icon. Only Yes proceeds; Enter
    // presses defaultButton.
    static QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::Yes);
    // An error or a notice with an OK button.
    static void error(QWidget* parent, const QString& title, const QString& text);
    static void information(QWidget* parent, const QString& title, const QString& text);

    // The next question is answered with this button instead of asking.
    static void setNextAnswer(QMessageBox::StandardButton answer);

protected:
    // In test mode no box is ever shown: a question without a preset answer
    // is answered No and notices are only recorded.
    static void setTestMode(bool on);
    // Where the text of every box asked or shown goes (null: nowhere, as in
    // the program).
    static void setRecorder(QStringList* recorder);
};
