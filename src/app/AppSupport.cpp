#include "app/AppSupport.h"

#include "window/MessageBox.h"
#include "window/Unit1.h"

#include <QDir>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstanceGuard::SingleInstanceGuard() = default;

SingleInstanceGuard::~SingleInstanceGuard()
{
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

QString SingleInstanceGuard::LockFilePath()
{
    // The per-user runtime folder, also when the session did not name it,
    // so every start of the same user meets the same lock.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QStringLiteral("/run/user/%1").arg(::getuid());
    if (!QDir(folder).exists())
        return QStringLiteral("/tmp/UniqueName-%1.lock").arg(::getuid());
    return folder + QStringLiteral("/UniqueName.lock");
}

bool SingleInstanceGuard::Acquire()
{
    if (fd_ >= 0)
        return true;
    const QByteArray path = LockFilePath().toLocal8Bit();
    int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // A lock that cannot be made must not keep the learner out for good.
        std::fprintf(stderr, "MIRETO: cannot create the lock %s; running without the single-copy check\n",
                     path.constData());
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool InstallJapaneseTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

MiretoApplication::MiretoApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool MiretoApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowExceptionBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowExceptionBox(QString());
    }
    return false;
}

void ShowExceptionBox(const QString& message)
{
    MessageBox::error(nullptr, TForm1::kWindowTitle, message);
}
