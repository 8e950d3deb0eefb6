// The installed program: installed into a staging folder with cmake --install
// and started as the application menu starts it, through the desktop entry's
// command line, with an empty home folder. A preloaded hook closes it as a
// learner would, answering the close question with Yes.
#include "app/LearnerFolder.h"
#include "data/DataTexts.h"
#include "support/LockProbe.h"
#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kAppId = QString::fromLatin1(LearnerFolder::kAppId);
const QString kBank = QString::fromLatin1(DataTexts::kToiFileName);

QByteArray ReadAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
    f.write(bytes);
}

// A valid bank of n typed questions.
QByteArray BankBytes(int n)
{
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"問キー", "問題文", "解説文", "正解", "選択肢数", "ラベル種類", "問題画像", "解説画像"});
    for (int i = 1; i <= n; ++i)
        rows.push_back({"K" + std::to_string(i), "問題" + std::to_string(i), "解説", "A" + std::to_string(i), "0",
                        "0", "0", "0"});
    return QByteArray::fromStdString(TableFileText(rows));
}

class InstalledProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(stage.isValid() && home.isValid() && runtime.isValid());
        prefix = stage.path() + QStringLiteral("/usr");
        QProcess install;
        install.start(QStringLiteral(MIRETO_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(MIRETO_BINARY_DIR), QStringLiteral("--prefix"), prefix});
        ASSERT_TRUE(install.waitForFinished(60000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
        installedData = prefix + QStringLiteral("/share/") + kAppId;
        learner = home.path() + QStringLiteral("/.local/share/") + kAppId;
        report = runtime.path() + QStringLiteral("/report.txt");

        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.remove(QStringLiteral("XDG_DATA_HOME"));
        environment.insert(QStringLiteral("PATH"), prefix + QStringLiteral("/bin:") + environment.value("PATH"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        // Sanitizer builds: the hook comes before the sanitizer's runtime, and
        // leaks are checked in the test programs, not here.
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0:detect_leaks=0"));
    }


    // The command line of the installed desktop entry.
    QString ExecLine() const
    {
        const QString entry = prefix + QStringLiteral("/share/applications/") + kAppId + QStringLiteral(".desktop");
        for (const QByteArray& line : ReadAll(entry).split('\n'))
            if (line.startsWith("Exec="))
                return QString::fromUtf8(line.mid(5));
        return {};
    }

    // Starts the desktop entry's command in `folder`; with `closeAsLearner`
    // the hook closes the program once its window is shown.
    QProcess* StartFromMenu(const QString& folder, bool closeAsLearner = true)
    {
        const QString exec = ExecLine();
        EXPECT_FALSE(exec.isEmpty());
        EXPECT_FALSE(exec.contains(QLatin1Char('%'))) << "field codes are not expanded here: " << exec.toStdString();
        QProcessEnvironment env = environment;
        if (closeAsLearner) {
            QFile::remove(report);
            env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(MIRETO_CLOSE_HOOK));
            env.insert(QStringLiteral("MIRETO_TEST_REPORT"), report);
        }
        QProcess* process = processes.emplace_back(std::make_unique<QProcess>()).get();
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(folder);
        process->start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exec ") + exec});
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    // Runs the program from the menu until the hook has closed it; returns
    // the hook's report as key -> value.
    std::map<std::string, std::string> RunAndClose(const QString& folder)
    {
        QProcess* process = StartFromMenu(folder);
        EXPECT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        std::map<std::string, std::string> values;
        for (const QByteArray& line : ReadAll(report).split('\n')) {
            const int equals = line.indexOf('=');
            if (equals > 0)
                values[line.left(equals).toStdString()] = line.mid(equals + 1).toStdString();
        }
        return values;
    }

    static bool LockIsHeld(const QString& folder) { return UniqueLockIsHeld(folder); }

    QTemporaryDir stage, home, runtime;
    QString prefix, installedData, learner, report;
    QProcessEnvironment environment;
    // A process still running at the end is killed by its destructor.
    std::vector<std::unique_ptr<QProcess>> processes;
};

} // namespace

TEST_F(InstalledProgram, MenuStartWorksInTheLearnersFolderAndKeepsProgress)
{
    EXPECT_EQ(ExecLine(), QStringLiteral("mireto"));
    auto seen = RunAndClose(home.path());
    EXPECT_EQ(seen["folder"], learner.toStdString());
    EXPECT_EQ(seen["title"], "MIRETO for DATAQUALIFY - 資格向け学習ソフト");
    EXPECT_EQ(seen["start"], "1");
    EXPECT_EQ(seen["error"], "0");
    EXPECT_EQ(seen["question"], "終了しますか？");

    // The learner's folder holds the installed bank and pictures and, after
    // the confirmed close, the databases; the home folder itself none.
    EXPECT_EQ(ReadAll(learner + QLatin1Char('/') + kBank), ReadAll(installedData + QLatin1Char('/') + kBank));
    const QStringList pictures = QDir(installedData).entryList({QStringLiteral("NONE*.jpg")}, QDir::Files);
    EXPECT_FALSE(pictures.isEmpty());
    // The installed data folder holds the bank, its pictures and the mock
    // exam's mix, nothing else; the learner's folder gets the mix too.
    EXPECT_EQ(QDir(installedData).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList {QStringLiteral("mogi_haibun.dat")} << pictures << kBank);
    EXPECT_EQ(ReadAll(learner + QStringLiteral("/mogi_haibun.dat")),
              ReadAll(installedData + QStringLiteral("/mogi_haibun.dat")));
    EXPECT_EQ(QDir(learner).entryList({QStringLiteral("NONE*.jpg")}, QDir::Files), pictures);
    for (const char* db : {"db_1toi_pr.dat", "db_save_load.dat", "db_nanwido.dat"}) {
        EXPECT_TRUE(QFile::exists(learner + QLatin1Char('/') + QLatin1String(db))) << db;
        EXPECT_FALSE(QFile::exists(home.path() + QLatin1Char('/') + QLatin1String(db))) << db;
    }

    // A second start reads the progress kept there and writes it back.
    const QString nanwido = learner + QStringLiteral("/db_nanwido.dat");
    QByteArray progress = ReadAll(nanwido);
    ASSERT_TRUE(progress.contains('5')) << progress.toStdString();
    progress.replace('5', '2');
    WriteAll(nanwido, progress);
    seen = RunAndClose(home.path());
    EXPECT_EQ(seen["start"], "1");
    EXPECT_EQ(ReadAll(nanwido), progress);
}

TEST_F(InstalledProgram, NewerInstalledBankReachesAnUnchangedCopyButNotTheLearnersOwn)
{
    // XDG_DATA_HOME moves the learner's folder.
    const QString data = home.path() + QStringLiteral("/data");
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    learner = data + QLatin1Char('/') + kAppId;
    const QString installedBank = installedData + QLatin1Char('/') + kBank;
    const QString learnerBank = learner + QLatin1Char('/') + kBank;

    EXPECT_EQ(RunAndClose(home.path())["folder"], learner.toStdString());
    WriteAll(installedBank, BankBytes(3)); // an upgrade ships a better bank
    EXPECT_EQ(RunAndClose(home.path())["start"], "1");
    EXPECT_EQ(ReadAll(learnerBank), BankBytes(3));

    WriteAll(learnerBank, BankBytes(2)); // the learner's own bank
    WriteAll(installedBank, BankBytes(4));
    EXPECT_EQ(RunAndClose(home.path())["start"], "1");
    EXPECT_EQ(ReadAll(learnerBank), BankBytes(2));
    EXPECT_TRUE(QFile::exists(learner + QStringLiteral("/db_1toi_pr.dat")));
}

TEST_F(InstalledProgram, FolderHoldingABankIsUsedAsBefore)
{
    QTemporaryDir authoring;
    WriteAll(authoring.path() + QLatin1Char('/') + kBank, BankBytes(2));
    auto seen = RunAndClose(authoring.path());
    EXPECT_EQ(seen["folder"], authoring.path().toStdString());
    EXPECT_EQ(seen["start"], "1");
    EXPECT_TRUE(QFile::exists(authoring.path() + QStringLiteral("/db_nanwido.dat")));
    EXPECT_FALSE(QDir(learner).exists());
}

TEST_F(InstalledProgram, OneCopyPerFolderAcrossBothWaysOfStarting)
{
    // The menu's copy in the learner's folder keeps out a second start with
    // another session's surroundings (a shell through su or ssh), before that
    // one writes anything there; a copy in an authoring folder runs beside it.
    QProcess* menu = StartFromMenu(home.path(), false);
    const QString manifest = learner + QStringLiteral("/.installed-files");
    // The folder is locked before it is filled: the manifest, written last,
    // says the first copy is done with it (a slow build may still be filling).
    ASSERT_TRUE(QTest::qWaitFor([&] { return LockIsHeld(learner) && QFile::exists(manifest); }, 20000));
    QFile::remove(manifest);

    QTemporaryDir otherRuntime;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), otherRuntime.path());
    QProcess* shell = StartFromMenu(home.path(), false);
    ASSERT_TRUE(shell->waitForFinished(20000));
    EXPECT_EQ(shell->exitCode(), 1);
    EXPECT_FALSE(QFile::exists(manifest)) << "refused before filling the folder";

    QTemporaryDir authoring;
    WriteAll(authoring.path() + QLatin1Char('/') + kBank, BankBytes(2));
    StartFromMenu(authoring.path(), false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return LockIsHeld(authoring.path()); }, 20000));
    EXPECT_EQ(menu->state(), QProcess::Running);
}

TEST_F(InstalledProgram, WithoutAnyBankTheErrorScreenOpens)
{
    QFile::remove(installedData + QLatin1Char('/') + kBank);
    auto seen = RunAndClose(home.path());
    EXPECT_EQ(seen["folder"], home.path().toStdString());
    EXPECT_EQ(seen["error"], "1");
    EXPECT_EQ(seen["start"], "0");
    EXPECT_EQ(seen.count("box"), 0u) << "nothing failed: no box";
    EXPECT_FALSE(QDir(learner).exists());
    EXPECT_FALSE(QFile::exists(home.path() + QStringLiteral("/db_nanwido.dat")));
    // Nothing will be written, so nothing is locked in the folder it was started in.
    EXPECT_FALSE(QFile::exists(home.path() + QStringLiteral("/.UniqueName.lock")));
}

TEST_F(InstalledProgram, ALearnersFolderThatCannotBeMadeIsNamedWithItsReason)
{
    // XDG_DATA_HOME names a file: no folder can be made under it.
    const QString data = home.path() + QStringLiteral("/data");
    WriteAll(data, "not a folder");
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    learner = data + QLatin1Char('/') + kAppId;

    auto seen = RunAndClose(home.path());
    EXPECT_EQ(seen["folder"], home.path().toStdString());
    EXPECT_EQ(seen["error"], "1") << "the error screen stays";
    EXPECT_EQ(seen["start"], "0");
    EXPECT_EQ(seen["box"], "学習用のフォルダ「" + learner.toStdString() + "」を作れません（フォルダがありません）");
    EXPECT_EQ(seen["question"], "終了しますか？");
    EXPECT_EQ(ReadAll(data), "not a folder");
    EXPECT_FALSE(QFile::exists(home.path() + QStringLiteral("/db_nanwido.dat")));
}
