// The real program in a folder where someone planted its lock file's name:
// a link to a file they hold, or a file of their own that they hold. Neither
// keeps the program out, neither receives the lock or a write, and the lock
// the program makes still keeps a second copy out. What cannot be removed
// keeps the program out too, and is named.
#include "app/AppSupport.h"
#include "support/FormHarness.h"
#include "support/LockProbe.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

// The planted entry is gone: a file of this user, only for its owner, stands
// under the name, and it is held.
bool OwnLockIsHeld(const WorkFolder& folder, const std::string& lockName)
{
    struct stat lock {};
    return ::lstat(lockName.c_str(), &lock) == 0 && S_ISREG(lock.st_mode) && lock.st_uid == ::geteuid()
           && (lock.st_mode & 077) == 0 && UniqueLockIsHeld(QString::fromStdString(folder.Path()));
}

TEST(PlantedLockName, NeitherBlocksTheProgramNorRedirectsItsLock)
{
    struct Case {
        const char* what;
        bool link; // a link to a file outside, or another user's file
    };
    for (const Case& planted : {Case{"a link to a held file outside", true}, Case{"another user's held file", false}}) {
        if (!planted.link && ::geteuid() != 0)
            continue; // making another user's file needs root
        WorkFolder folder, elsewhere;
        WriteBank(folder, TypedBank(2));
        elsewhere.Write("held", "keep me");
        const std::string lockName = folder.Path() + "/.UniqueName.lock";
        const std::string heldName = planted.link ? elsewhere.Path() + "/held" : lockName;
        if (planted.link) {
            ASSERT_EQ(::symlink(heldName.c_str(), lockName.c_str()), 0);
        } else {
            folder.Write(".UniqueName.lock", "");
            ASSERT_EQ(::chown(lockName.c_str(), kNobody, kNobody), 0);
        }
        const int holder = ::open(heldName.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < 2; ++i) {
            QProcess* copy = copies.emplace_back(std::make_unique<QProcess>()).get();
            copy->setProcessEnvironment(environment);
            copy->setWorkingDirectory(QString::fromStdString(folder.Path()));
            copy->start(QStringLiteral(MIRETO_PROGRAM), {});
            ASSERT_TRUE(copy->waitForStarted(5000));
            if (i == 0) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return OwnLockIsHeld(folder, lockName); }, 10000)) << planted.what;
            }
        }
        // The second copy meets the first one's own lock.
        ASSERT_TRUE(copies[1]->waitForFinished(10000)) << planted.what;
        EXPECT_EQ(copies[1]->exitCode(), 1) << planted.what;
        EXPECT_EQ(copies[0]->state(), QProcess::Running) << planted.what;

        EXPECT_TRUE(OwnLockIsHeld(folder, lockName)) << planted.what;
        EXPECT_EQ(elsewhere.Read("held"), "keep me") << planted.what;
        ::close(holder);
    }
}

// What cannot be removed from the lock's name keeps the program out, as a
// second copy is kept out (it could run beside one): the learner is told
// which file it is, and nothing is written.
TEST(PlantedLockName, WhatCannotBeRemovedKeepsTheProgramOutAndIsNamed)
{
    struct Case {
        const char* what;
        bool asOtherUser;
    };
    for (const Case& planted : {Case {"a folder with a file in it", false},
                                Case {"another user's file in a shared folder", true}}) {
        if (planted.asOtherUser && ::geteuid() != 0)
            continue; // running as another user needs root
        WorkFolder folder;
        QTemporaryDir runtime;
        ASSERT_TRUE(runtime.isValid());
        WriteBank(folder, TypedBank(2));
        const std::string lockName = folder.Path() + "/.UniqueName.lock";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        QProcess program;
        if (planted.asOtherUser) {
            // Sticky, as /tmp: only a file's owner may remove it.
            ASSERT_EQ(::chmod(folder.Path().c_str(), 01777), 0);
            folder.Write(".UniqueName.lock", "");
            ASSERT_EQ(::chmod(lockName.c_str(), 0600), 0);
            ASSERT_EQ(::chown(QFile::encodeName(runtime.path()).constData(), kNobody, kNobody), 0);
            environment.insert(QStringLiteral("HOME"), runtime.path());
            program.setChildProcessModifier([] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                    ::_exit(98);
            });
        } else {
            ASSERT_EQ(::mkdir(lockName.c_str(), 0700), 0);
            folder.Write(".UniqueName.lock/inside", "x");
        }
        // The hook records the box's text and closes it, as the learner would.
        const QString report = runtime.path() + QStringLiteral("/report.txt");
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(MIRETO_CLOSE_HOOK));
        environment.insert(QStringLiteral("MIRETO_TEST_REPORT"), report);
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0:detect_leaks=0"));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(QString::fromStdString(folder.Path()));
        program.start(QStringLiteral(MIRETO_PROGRAM), {});
        ASSERT_TRUE(program.waitForFinished(30000)) << planted.what;
        EXPECT_EQ(program.exitCode(), 1) << planted.what;

        QFile reportFile(report);
        ASSERT_TRUE(reportFile.open(QIODevice::ReadOnly)) << planted.what;
        const QString box = QString::fromUtf8(reportFile.readAll());
        EXPECT_TRUE(box.contains(QStringLiteral("box=二つ目の起動を防ぐためのファイル「")
                                 + QString::fromStdString(lockName) + QStringLiteral("」")))
            << planted.what << ": " << box.toStdString();
        EXPECT_TRUE(box.contains(QStringLiteral("これを取り除くまで、このフォルダではソフトを起動できません")))
            << box.toStdString();
        EXPECT_TRUE(program.readAllStandardError().contains(QByteArray::fromStdString(lockName))) << planted.what;
        EXPECT_TRUE(folder.Exists(planted.asOtherUser ? ".UniqueName.lock" : ".UniqueName.lock/inside"));
        for (const char* name : {"db_nanwido.dat", "db_1toi_pr.dat", "db_save_load.dat", "db_kiroku.dat"})
            EXPECT_FALSE(folder.Exists(name)) << planted.what << ": " << name;
    }

    // A folder where the lock file can be made says nothing.
    WorkFolder plain;
    SingleInstanceGuard quiet(plain.Path());
    EXPECT_TRUE(quiet.Acquire());
    EXPECT_TRUE(quiet.Warning().isEmpty());
    EXPECT_TRUE(quiet.Refusal().isEmpty());
}

} // namespace
