#include "app/AppSupport.h"

#include "platform/Paths.h"
#include "text/SystemReason.h"
#include "window/MessageBox.h"
#include "window/Unit1.h"

#include <QDir>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>
#include <exception>

SingleInstanceGuard::SingleInstanceGuard(const std::filesystem::path& folder)
    : lock_("UniqueName", Platform::Utf8Of(folder))
{
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

bool SingleInstanceGuard::Acquire()
{
    switch (lock_.Acquire()) {
    case Platform::SingleCopyLock::Result::Held:
        return true;
    case Platform::SingleCopyLock::Result::TakenByAnother:
        return false;
    case Platform::SingleCopyLock::Result::ReadOnlyFolder:
        break;
    case Platform::SingleCopyLock::Result::Blocked: {
        // Started anyway, this copy could run beside another one.
        std::string text = "二つ目の起動を防ぐためのファイル「" + lock_.Where()
                           + "」の名前を、取り除けないほかのファイルかフォルダが使っています";
        if (lock_.ErrorNumber() != 0)
            text += "（" + SystemReason(lock_.ErrorNumber(), FileUse::Write) + "）";
        text += "。これを取り除くまで、このフォルダではソフトを起動できません。";
        refusal_ = QString::fromStdString(text);
        std::fprintf(stderr, "MIRETO: %s: not started, as a second copy could not be kept out\n",
                     lock_.Problem().c_str());
        return false;
    }
    case Platform::SingleCopyLock::Result::Unavailable: {
        std::string text = "二つ目の起動を防ぐためのファイル「" + lock_.Where() + "」を用意できません";
        if (lock_.ErrorNumber() != 0)
            text += "（" + SystemReason(lock_.ErrorNumber(), FileUse::Write) + "）";
        text += "。同じフォルダでこのソフトを同時に二つ使うと、後から閉じた方の記録だけが残ります。";
        warning_ = QString::fromStdString(text);
        break;
    }
    }
    std::fprintf(stderr, "MIRETO: %s: running without the single-copy check\n", lock_.Problem().c_str());
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
