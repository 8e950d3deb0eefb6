// Preloaded (LD_PRELOAD) into the real, installed program by the tests of the
// installation: it watches the program as a learner would, and closes it.
//
// Once the main window is shown it records, in the file named by
// MIRETO_TEST_REPORT, the working folder and which screen is visible (and the
// text of any box that only informs, which it closes), then
// asks the window to close and answers the close question with Yes, so the
// program writes its databases and ends as after a learner's confirmed close.
// Nothing of it is part of the program.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace {

void Report(const QString& line)
{
    QFile file(qEnvironmentVariable("MIRETO_TEST_REPORT"));
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write((line + QLatin1Char('\n')).toUtf8());
}

QWidget* MainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Form1") && w->isVisible())
            return w;
    return nullptr;
}

bool Visible(QWidget* window, const char* name)
{
    auto* w = window->findChild<QWidget*>(QLatin1String(name));
    return w != nullptr && w->isVisible();
}

void Watch()
{
    if (qEnvironmentVariableIsEmpty("MIRETO_TEST_REPORT"))
        return;
    auto* timer = new QTimer(QCoreApplication::instance());
    auto step = std::make_shared<int>(0);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, step, ticks] {
        if (++*ticks > 1200) { // 60 s without reaching the end: give up loudly
            Report(QStringLiteral("timeout=%1").arg(*step));
            timer->stop();
            QCoreApplication::exit(3);
            return;
        }
        // A box that only informs (it has no Yes): its text is recorded and
        // it is closed with its own button, as a learner reads and closes it.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            box != nullptr && box->button(QMessageBox::Yes) == nullptr && !box->buttons().isEmpty()) {
            Report(QStringLiteral("box=") + box->text().simplified());
            box->buttons().first()->click();
            return;
        }
        if (*step == 0) {
            QWidget* window = MainWindow();
            if (window == nullptr)
                return;
            Report(QStringLiteral("folder=") + QDir::currentPath());
            Report(QStringLiteral("title=") + window->windowTitle());
            Report(QStringLiteral("start=%1").arg(Visible(window, "pnlStart") ? 1 : 0));
            Report(QStringLiteral("error=%1").arg(Visible(window, "pnlError") ? 1 : 0));
            *step = 1;
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        } else if (*step == 1) {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || box->button(QMessageBox::Yes) == nullptr)
                return;
            Report(QStringLiteral("question=") + box->text());
            *step = 2;
            box->button(QMessageBox::Yes)->click();
        }
    });
    timer->start(50);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Watch)
