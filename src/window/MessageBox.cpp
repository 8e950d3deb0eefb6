#include "window/MessageBox.h"

namespace {
struct BoxState {
    QMessageBox::StandardButton nextAnswer = QMessageBox::NoButton;
    bool testMode = false;
    QStringList* recorder = nullptr;
};

BoxState& State()
{
    static BoxState state;
    return state;
}

void Record(const QString& text)
{
    if (State().recorder)
        *State().recorder << text;
}

void Show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    Record(text);
    if (State().testMode)
        return;
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
} // namespace

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButton defaultButton)
{
    BoxState& state = State();
    Record(text);
    if (state.nextAnswer != QMessageBox::NoButton) {
        auto answer = state.nextAnswer;
        state.nextAnswer = QMessageBox::NoButton;
        return answer;
    }
    if (state.testMode)
        return QMessageBox::No;
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::error(QWidget* parent, const QString& title, const QString& text)
{
    Show(parent, QMessageBox::Critical, title, text);
}

void MessageBox::information(QWidget* parent, const QString& title, const QString& text)
{
    Show(parent, QMessageBox::Information, title, text);
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer)
{
    State().nextAnswer = answer;
}

void MessageBox::setTestMode(bool on)
{
    State().testMode = on;
}

void MessageBox::setRecorder(QStringList* recorder)
{
    State().recorder = recorder;
}
