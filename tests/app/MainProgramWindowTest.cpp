// The real program as a process: one copy per working folder whatever the
// environment it was started in, and a copy that died never blocks the next.
#include "support/FormHarness.h"
#include "support/LockProbe.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

class MainProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBank(folder, TypedBank(2));
        ASSERT_TRUE(runtime.isValid());
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    }


    QProcess* Start() { return StartIn(folder, environment); }

    QProcess* StartIn(const WorkFolder& in, const QProcessEnvironment& env)
    {
        QProcess* process = processes.emplace_back(std::make_unique<QProcess>()).get();
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(QString::fromStdString(in.Path()));
        process->start(QStringLiteral(MIRETO_PROGRAM), {});
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    // True once some process holds the lock of the running copy.
    bool LockIsHeld(const WorkFolder& in) const { return UniqueLockIsHeld(QString::fromStdString(in.Path())); }
    bool LockIsHeld() const { return LockIsHeld(folder); }

    void ExpectRefusedAtOnce(QProcess* second) const
    {
        ASSERT_TRUE(second->waitForFinished(10000));
        EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second->exitCode(), 1);
        EXPECT_TRUE(second->readAllStandardOutput().isEmpty());
    }

    WorkFolder folder;
    QTemporaryDir runtime;
    QProcessEnvironment environment;
    // A process still running at the end is killed by its destructor.
    std::vector<std::unique_ptr<QProcess>> processes;
};

} // namespace

TEST_F(MainProgram, SecondCopyEndsAtOnceWithExitCodeOne)
{
    QProcess* first = Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return LockIsHeld(); }, 10000));

    ExpectRefusedAtOnce(Start());
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(MainProgram, SecondCopyInTheFolderIsRefusedWhateverItsEnvironment)
{
    QProcess* first = Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return LockIsHeld(); }, 10000));

    // Started through su or ssh: another runtime folder, another home, or
    // none at all.
    QTemporaryDir otherRuntime, otherHome;
    QProcessEnvironment moved = environment;
    moved.insert(QStringLiteral("XDG_RUNTIME_DIR"), otherRuntime.path());
    moved.insert(QStringLiteral("HOME"), otherHome.path());
    QProcessEnvironment bare = environment;
    bare.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    bare.remove(QStringLiteral("HOME"));
    for (const QProcessEnvironment& env : {moved, bare}) {
        ExpectRefusedAtOnce(StartIn(folder, env));
        EXPECT_EQ(first->state(), QProcess::Running);
    }
    EXPECT_TRUE(QDir(otherRuntime.path()).isEmpty());
}

TEST_F(MainProgram, CopiesInDifferentFoldersRunAtOnce)
{
    WorkFolder other;
    WriteBank(other, TypedBank(2));
    QProcess* first = Start();
    QProcess* second = StartIn(other, environment);
    EXPECT_TRUE(QTest::qWaitFor([&] { return LockIsHeld(folder) && LockIsHeld(other); }, 10000));
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(second->state(), QProcess::Running);
}

TEST_F(MainProgram, NewCopyStartsAfterTheFirstWasKilled)
{
    QProcess* first = Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return LockIsHeld(); }, 10000));
    first->kill();
    ASSERT_TRUE(first->waitForFinished(5000));
    EXPECT_FALSE(LockIsHeld());

    QProcess* next = Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return LockIsHeld(); }, 10000));
    EXPECT_EQ(next->state(), QProcess::Running);
}
