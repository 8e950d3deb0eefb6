#pragma once
// Every message box of the program goes through here. Tests preset the next
// answer (or switch boxes off altogether) so nothing ever blocks them.
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
    // In test mode no box is ever shown: a question without a preset answer
    // is answered No and notices are only recorded.
    static void setTestMode(bool on);
    // Texts of the boxes asked or shown so far (test mode records them).
    static QStringList shownTexts();
    static void clearShownTexts();
};
