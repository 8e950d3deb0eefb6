#include "app/AppSupport.h"

#include "window/MessageBox.h"
#include "window/Unit1.h"

#include <QDir>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>
#include <exception>

SingleInstanceGuard::SingleInstanceGuard() : lock_("UniqueName") {}

SingleInstanceGuard::~SingleInstanceGuard() = default;

QString SingleInstanceGuard::LockFilePath()
{
    return QString::fromStdString(Platform::SingleCopyLock("UniqueName").Where());
}

bool SingleInstanceGuard::Acquire()
{
    switch (lock_.Acquire()) {
    case Platform::SingleCopyLock::Result::Held:
        return true;
    case Platform::SingleCopyLock::Result::TakenByAnother:
        return false;
    case Platform::SingleCopyLock::Result::Unavailable:
        break;
    }
    // A lock that cannot be made must not keep the learner out for good.
    std::fprintf(stderr, "MIRETO: cannot create the lock %s; running without the single-copy check\n",
                 lock_.Problem().c_str());
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
