#include "app/Program.h"

#include "app/AppSupport.h"
#include "app/LearnerFolder.h"
#include "app/Termination.h"
#include "window/Unit1.h"

#include <QIcon>
#include <QSessionManager>

#include <exception>
#include <memory>

int RunProgram(int argc, char** argv, const std::function<void(TForm1&)>& afterShow)
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
    int endStatus = 0;
    // Installed before the window is made, so a signal during start-up (say
    // while a start-up warning is shown) ends the program cleanly too. Until
    // the window exists the learner has changed nothing, so nothing is
    // written then.
    TerminationWatcher watcher([&] {
        endStatus = form ? form->EndWithoutAsking() : 0;
        QCoreApplication::exit(endStatus);
    });
    // The desktop session is ending (logout, shutdown): write without asking
    // and go, as on SIGTERM. "終了しますか？" would only hold the logout up.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &watcher,
                     [&watcher](QSessionManager&) { watcher.RequestEnd(); });

    try {
        form = std::make_unique<TForm1>();
    } catch (const std::exception& e) {
        ShowExceptionBox(QString::fromLocal8Bit(e.what()));
        return 1;
    } catch (...) {
        ShowExceptionBox(QString());
        return 1;
    }
    if (watcher.Ended())
        return endStatus;
    form->show();
    if (afterShow)
        afterShow(*form);
    if (watcher.Ended())
        return endStatus;
    return app.exec();
}
