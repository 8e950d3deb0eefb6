// Program entry: one copy at a time, the main window, its message loop.
#include "app/AppSupport.h"
#include "app/LearnerFolder.h"
#include "window/Unit1.h"

#include <QIcon>

#include <exception>
#include <memory>

int main(int argc, char** argv)
{
    SingleInstanceGuard guard;
    if (!guard.Acquire())
        return 1; // another copy runs: end at once, showing nothing
    // In the folder it was started in when that holds a bank, otherwise in
    // the learner's folder of an installed program.
    LearnerFolder::EnterWorkingFolder();

    MiretoApplication app(argc, argv);
    InstallJapaneseTranslations(app);
    // Lets the desktop match the window to its menu entry and icon; the
    // installed icon is the window's own too (none in a build folder).
    app.setDesktopFileName(QString::fromLatin1(LearnerFolder::kAppId));
    app.setWindowIcon(QIcon::fromTheme(QString::fromLatin1(LearnerFolder::kAppId)));
    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>();
    } catch (const std::exception& e) {
        ShowExceptionBox(QString::fromLocal8Bit(e.what()));
        return 1;
    } catch (...) {
        ShowExceptionBox(QString());
        return 1;
    }
    form->show();
    app.exec();
    return 0;
}
