// The real program in a folder where someone planted its lock file's name:
// a link to a file they hold, or a file of their own that they hold. Neither
// keeps the program out, neither receives the lock or a write, and the lock
// the program makes still keeps a second copy out. What cannot be replaced
// is told to the learner, and the program still runs.
#include "app/AppSupport.h"
#include "support/FormHarness.h"
#include "support/LockProbe.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
            ASSERT_EQ(::chown(lockName.c_str(), 65534, 65534), 0);
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

TEST(PlantedLockName, WhatCannotBeReplacedIsToldAndKeepsNoOneOut)
{
    WorkFolder folder;
    ASSERT_EQ(::mkdir(".UniqueName.lock", 0700), 0);
    folder.Write(".UniqueName.lock/inside", "x");
    SingleInstanceGuard guard(folder.Path());
    EXPECT_TRUE(guard.Acquire());
    EXPECT_TRUE(guard.Warning().startsWith(QStringLiteral("二つ目の起動を防ぐためのファイル「")
                                           + QString::fromStdString(folder.Path())))
        << guard.Warning().toStdString();
    EXPECT_TRUE(guard.Warning().contains(QStringLiteral("後から閉じた方の記録だけが残ります")));
    EXPECT_TRUE(folder.Exists(".UniqueName.lock/inside"));

    // A folder where the lock file can be made says nothing.
    WorkFolder plain;
    SingleInstanceGuard quiet(plain.Path());
    EXPECT_TRUE(quiet.Acquire());
    EXPECT_TRUE(quiet.Warning().isEmpty());
}

} // namespace
