// The real program in a learner's folder, run by another user: as root it
// leaves every file it makes the learner's, so the learner's next session
// records and saves as before; as anyone else it writes nothing there that
// the owner could not replace, and says so.
#include "data/Kiroku.h"
#include "support/FormHarness.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kLearner = 65534;

struct LearnerRun {
    int code = -1;
    QString out;
    QString err;
};

class FolderOwnerProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "runs as a second user, which needs the superuser";
        // The learner's own home and runtime folder.
        ASSERT_TRUE(home.isValid() && runtime.isValid());
        ASSERT_EQ(::chown(QFile::encodeName(home.path()).constData(), kLearner, kLearner), 0);
    }

    // The stand-in learner started in the folder, as root or as the learner.
    QProcess* Start(const WorkFolder& folder, const QStringList& arguments, bool asLearner)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), asLearner ? home.path() : runtime.path());
        if (asLearner)
            environment.insert(QStringLiteral("HOME"), home.path());
        QProcess* process = processes.emplace_back(std::make_unique<QProcess>()).get();
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(QString::fromStdString(folder.Path()));
        if (asLearner) {
            process->setChildProcessModifier([] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(kLearner) != 0 || ::setuid(kLearner) != 0)
                    ::_exit(98);
            });
        }
        process->start(QStringLiteral(MIRETO_LEARNER), arguments);
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    static LearnerRun Finish(QProcess* process)
    {
        if (!process->waitForFinished(60000))
            ADD_FAILURE() << "the learner did not end";
        return {process->exitCode(), QString::fromUtf8(process->readAllStandardOutput()),
                QString::fromUtf8(process->readAllStandardError())};
    }

    // The folder's entries whose owner or group is not `user`.
    static std::vector<std::string> NotOwnedBy(const WorkFolder& folder, uid_t user)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            struct stat st {};
            if (::lstat(entry.path().c_str(), &st) != 0 || st.st_uid != user || st.st_gid != user)
                names.push_back(entry.path().filename().string());
        }
        return names;
    }

    QTemporaryDir home, runtime;
    std::vector<std::unique_ptr<QProcess>> processes;
};

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += name + " ";
    return text;
}

TEST_F(FolderOwnerProgram, ARootSessionLeavesEveryFileToTheLearner)
{
    WorkFolder folder;
    WriteBank(folder, TypedBank(25));
    for (const std::string& path : {folder.Path(), folder.Path() + "/toi_dq_basic3.dat"})
        ASSERT_EQ(::chown(path.c_str(), kLearner, kLearner), 0);

    // Past a stage end, then closed: every file the program writes.
    const LearnerRun root = Finish(Start(folder, {QStringLiteral("play"), QStringLiteral("22")}, false));
    ASSERT_EQ(root.code, 0) << root.err.toStdString();
    for (const char* name : {".UniqueName.lock", "db_kiroku.dat", "db_kiroku_mark.dat", "db_1toi_pr.dat",
                             "db_save_load.dat", "db_nanwido.dat"})
        EXPECT_TRUE(folder.Exists(name)) << name;
    EXPECT_EQ(Joined(NotOwnedBy(folder, kLearner)), "");

    // The learner's own next session records and saves.
    const LearnerRun learner = Finish(Start(folder, {QStringLiteral("play"), QStringLiteral("3")}, true));
    EXPECT_EQ(learner.code, 0) << learner.err.toStdString();
    KirokuJournal journal;
    journal.Open(nullptr);
    EXPECT_EQ(journal.Entries().size(), 25u);
    EXPECT_EQ(Joined(NotOwnedBy(folder, kLearner)), "");
}

TEST_F(FolderOwnerProgram, AnotherUsersSessionWritesNothingThereAndSaysSo)
{
    // Root's folder, which everyone may write into.
    WorkFolder folder;
    WriteBank(folder, TypedBank(25));
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0777), 0);

    QProcess* process = Start(folder, {QStringLiteral("answer"), QStringLiteral("2")}, true);
    QString out;
    while (!out.contains(QStringLiteral("ready\n")) && process->waitForReadyRead(30000))
        out += QString::fromUtf8(process->readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("db_kiroku.dat"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("ほかのユーザーのフォルダには書きません"))) << out.toStdString();
    // Ended by a signal: the last write is refused too, and the end says so.
    process->terminate();
    const LearnerRun run = Finish(process);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("ファイルをオープンできません"))) << run.err.toStdString();

    // Only the lock is the other user's, which the owner's next start replaces.
    EXPECT_EQ(Joined(NotOwnedBy(folder, 0)), ".UniqueName.lock ");
    EXPECT_FALSE(folder.Exists("db_kiroku.dat"));
    EXPECT_FALSE(folder.Exists("db_1toi_pr.dat"));
}

} // namespace
