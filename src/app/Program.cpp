#include "app/Program.h"

#include "app/AppSupport.h"
#include "app/LearnerFolder.h"
#include "app/Termination.h"
#include "platform/UiFont.h"
#include "window/GroupBoxStyle.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"

#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QSessionManager>
#include <QTimer>

#include <exception>
#include <memory>

QIcon ProgramIcon(const QString& programFolder)
{
    const QString id = QString::fromLatin1(LearnerFolder::kAppId);
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString square = QStringLiteral("%1x%1").arg(size);
        for (const QString& file : {programFolder + QStringLiteral("/../share/icons/hicolor/") + square
                                        + QStringLiteral("/apps/") + id + QStringLiteral(".png"),
                                    programFolder + QStringLiteral("/../packaging/icons/") + square
                                        + QStringLiteral(".png")}) {
            // Read as PNG by name and nothing else: left to guess, the reader
            // would load every image plugin to ask it.
            QImageReader reader(file, "png");
            reader.setAutoDetectImageFormat(false);
            QImage image;
            if (QFileInfo::exists(file) && reader.read(&image)) {
                icon.addPixmap(QPixmap::fromImage(image));
                break;
            }
        }
    }
    return icon;
}

int RunProgram(int argc, char** argv, const std::function<void(TForm1&)>& afterShow)
{
    // In the folder it was started in when that holds a bank, otherwise in
    // the learner's folder of an installed program; one copy per folder.
    std::unique_ptr<SingleInstanceGuard> guard;
    const LearnerFolder::Choice working = LearnerFolder::EnterWorkingFolder([&guard](const std::filesystem::path& folder) {
        guard = std::make_unique<SingleInstanceGuard>(folder);
        return guard->Acquire();
    });
    if (working.where == LearnerFolder::Where::Taken && !(guard && !guard->Refusal().isEmpty()))
        return 1; // another copy works there: end at once, showing nothing

    Platform::PrepareOffscreenFonts();
    MiretoApplication app(argc, argv);
    // Group box frames drawn without loading any image plugin (the figure
    // is in GroupBoxStyle.cpp).
    app.setStyle(new GroupBoxStyle);
    InstallJapaneseTranslations(app);
    // Lets the desktop match the window to its menu entry and icon.
    app.setDesktopFileName(QString::fromLatin1(LearnerFolder::kAppId));
    if (working.where == LearnerFolder::Where::Taken) {
        // The lock's name is blocked: told, then ended as for a second copy.
        MessageBox::error(nullptr, TForm1::kWindowTitle, guard->Refusal());
        return 1;
    }

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
    // The window's own icon (task bar, window menu) once the window is up:
    // reading it before costs the start up to 0.3 x a bare window's start.
    QTimer::singleShot(0, &app, [&app] { app.setWindowIcon(ProgramIcon(QCoreApplication::applicationDirPath())); });
    // Over the error screen, once the window is up: why there is no bank
    // (the learner's folder could not be made or filled).
    if (!working.sync.ok && !form->Drill.ToiFileFound) {
        const QString reason = QString::fromStdString(working.sync.error);
        QTimer::singleShot(0, form.get(), [&form, reason] { MessageBox::error(form.get(), TForm1::kWindowTitle, reason); });
    }
    // Why a second copy in this folder could not be kept out.
    if (guard && !guard->Warning().isEmpty()) {
        const QString warning = guard->Warning();
        QTimer::singleShot(0, form.get(), [&form, warning] { MessageBox::information(form.get(), TForm1::kWindowTitle, warning); });
    }
    if (afterShow)
        afterShow(*form);
    if (watcher.Ended())
        return endStatus;
    return app.exec();
}
