// The real program as a process: one copy at a time, and a copy that died
// never blocks the next.
#include "support/FormHarness.h"
#include "support/LockProbe.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <unistd.h>

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


    QProcess* Start()
    {
        QProcess* process = processes.emplace_back(std::make_unique<QProcess>()).get();
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(QString::fromStdString(folder.Path()));
        process->start(QStringLiteral(MIRETO_PROGRAM), {});
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    // True once some process holds the lock of the running copy.
    bool LockIsHeld() const { return UniqueLockIsHeld(runtime.path()); }

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

    QProcess* second = Start();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(second->readAllStandardOutput().isEmpty());
    EXPECT_EQ(first->state(), QProcess::Running);
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
