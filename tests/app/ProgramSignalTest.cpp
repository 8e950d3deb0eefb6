// The real program as a process, played by the stand-in learner: a
// termination signal writes what a confirmed close writes and ends with 0;
// kill -9 after a stage end leaves that stage end's files, from which a new
// copy resumes; a full disk at a stage end keeps the drill running.
#include "window/MessageBox.h"
#include "window/Unit1.h"
#include "window/Widgets.h"
#include "data/DataTexts.h"
#include "data/ToiBank.h"
#include "support/FormHarness.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <csignal>
#include <filesystem>
#include <memory>
#include <sys/stat.h>

namespace {

using namespace DataTexts;

struct Files {
    std::string seikai, saveLoad, nanwido;
    bool operator==(const Files&) const = default;
};

void PrintTo(const Files& f, std::ostream* os)
{
    *os << "{" << f.seikai.size() << " bytes of counts, " << f.saveLoad.size() << " bytes of slots, difficulty \""
        << f.nanwido << "\"}";
}

Files Read(const WorkFolder& folder)
{
    return {folder.Read(kSeikaiFileName), folder.Read(kSaveLoadFileName), folder.Read(kNanwidoFileName)};
}

// One run of the learner in its own folder with the bank of 45 questions.
class Learner {
public:
    explicit Learner(const QString& runtime)
    {
        WriteBank(folder, TypedBank(45));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(folder.Path()));
    }
    ~Learner()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    // Starts it and waits for "ready"; the box texts it reported before.
    bool StartAndWait(const QStringList& arguments)
    {
        process.start(QStringLiteral(MIRETO_LEARNER), arguments);
        if (!process.waitForStarted(10000))
            return false;
        return QTest::qWaitFor(
            [&] {
                output += QString::fromUtf8(process.readAllStandardOutput());
                return output.contains(QStringLiteral("ready\n")) || process.state() == QProcess::NotRunning;
            },
            60000)
            && output.contains(QStringLiteral("ready\n"));
    }
    bool Finish()
    {
        if (!process.waitForFinished(30000))
            return false;
        output += QString::fromUtf8(process.readAllStandardOutput());
        return process.exitStatus() == QProcess::NormalExit;
    }
    void Signal(int signal) const { ::kill(static_cast<pid_t>(process.processId()), signal); }

    WorkFolder folder;
    QProcess process;
    QString output;
};

class ProgramSignal : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(runtime.isValid()); }

    // What a confirmed close writes after the same answers.
    Files ClosedAfter(int answers)
    {
        Learner closing(runtime.path());
        closing.process.start(QStringLiteral(MIRETO_LEARNER), {QStringLiteral("close"), QString::number(answers)});
        EXPECT_TRUE(closing.Finish());
        EXPECT_EQ(closing.process.exitCode(), 0);
        return Read(closing.folder);
    }

    QTemporaryDir runtime;
};

TEST_F(ProgramSignal, EachTerminationSignalWritesWhatTheCloseWrites)
{
    const Files closed = ClosedAfter(7);
    ASSERT_FALSE(closed.seikai.empty());
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        Learner learner(runtime.path());
        ASSERT_TRUE(learner.StartAndWait({QStringLiteral("answer"), QStringLiteral("7")}));
        // Mid-stage nothing is on disk yet.
        EXPECT_FALSE(learner.folder.Exists(kSeikaiFileName));
        learner.Signal(signal);
        ASSERT_TRUE(learner.Finish());
        EXPECT_EQ(learner.process.exitCode(), 0);
        EXPECT_EQ(Read(learner.folder), closed);
    }
}

// A FIFO where a question picture should be neither blocks the window nor
// keeps a termination signal from ending the program with the learner's files.
TEST_F(ProgramSignal, AFifoInPlaceOfAPictureHoldsNothing)
{
    const Files closed = ClosedAfter(3);
    Learner learner(runtime.path());
    std::vector<BankQuestion> bank = TypedBank(45);
    for (BankQuestion& q : bank) {
        q.toiPicture = 1;
        const std::string fifo = learner.folder.Path() + "/NONEm" + q.key + ".jpg";
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << fifo;
    }
    WriteBank(learner.folder, bank);
    ASSERT_TRUE(learner.StartAndWait({QStringLiteral("answer"), QStringLiteral("3")}));
    learner.Signal(SIGTERM);
    ASSERT_TRUE(learner.Finish());
    EXPECT_EQ(learner.process.exitCode(), 0);
    EXPECT_EQ(Read(learner.folder), closed);
}

TEST_F(ProgramSignal, SignalsWhileTheCloseQuestionIsOpenWriteWithoutAnswer)
{
    const Files closed = ClosedAfter(5);
    Learner learner(runtime.path());
    ASSERT_TRUE(learner.StartAndWait({QStringLiteral("box"), QStringLiteral("5")}));
    EXPECT_EQ(learner.process.state(), QProcess::Running);
    // Two in a row: the first one writes and ends, the second changes nothing.
    learner.Signal(SIGTERM);
    learner.Signal(SIGHUP);
    ASSERT_TRUE(learner.Finish());
    EXPECT_EQ(learner.process.exitCode(), 0);
    EXPECT_EQ(Read(learner.folder), closed);
    EXPECT_FALSE(learner.process.readAllStandardError().contains("ファイルをオープンできません"));
}

TEST_F(ProgramSignal, SignalsDuringTheCloseWriteChangeNothing)
{
    const Files closed = ClosedAfter(4);
    Learner learner(runtime.path());
    learner.process.start(QStringLiteral(MIRETO_LEARNER), {QStringLiteral("closesignal"), QStringLiteral("4")});
    ASSERT_TRUE(learner.Finish());
    EXPECT_EQ(learner.process.exitCode(), 0);
    EXPECT_EQ(Read(learner.folder), closed);
}

TEST_F(ProgramSignal, KillAfterAStageEndLeavesThatStageEndAndANewCopyResumes)
{
    Learner learner(runtime.path());
    ASSERT_TRUE(learner.StartAndWait({QStringLiteral("answer"), QStringLiteral("20")}));
    learner.Signal(SIGKILL);
    ASSERT_TRUE(learner.process.waitForFinished(10000));
    EXPECT_EQ(learner.process.exitStatus(), QProcess::CrashExit);

    const TextTable counts = ParseTableFile(learner.folder.Read(kSeikaiFileName));
    EXPECT_EQ(TableCell(counts, 1, 1), "1");
    EXPECT_EQ(TableCell(counts, 3, 1), "0"); // every third answer was wrong
    EXPECT_EQ(TableCell(counts, 21, 1), "0");
    const TextTable saveLoad = ParseTableFile(learner.folder.Read(kSaveLoadFileName));
    EXPECT_EQ(TableCell(saveLoad, 1, 4), "1");
    EXPECT_EQ(TableCell(saveLoad, 1, 2), "20");
    EXPECT_EQ(learner.folder.Read(kNanwidoFileName), "5");
    // Nothing but the bank, the three databases, the answer journal, its
    // mark and the lock file: no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(learner.folder.Path()),
                            std::filesystem::directory_iterator()),
              7);

    // A new copy in the same folder resumes from "AUTO" at stage 2.
    auto form = OpenForm();
    QTest::mouseClick(form->btnLoadNormal, Qt::LeftButton);
    ASSERT_EQ(VisibleScreen(*form), form->pnlSaveLoad);
    ASSERT_EQ(form->lvSaveLoad->topLevelItem(0)->text(0), QStringLiteral("AUTO"));
    ClickListRow(form->lvSaveLoad, 0);
    QTest::mouseClick(form->btnSaveLoad, Qt::LeftButton);
    ASSERT_EQ(VisibleScreen(*form), form->pnlMain);
    EXPECT_EQ(form->Drill.ToiIndex, 20);
    EXPECT_EQ(form->Drill.StageNo, 2);
    EXPECT_EQ(form->lblToiKey->text(), QStringLiteral("K21"));
}

TEST_F(ProgramSignal, FullDiskAtAStageEndKeepsTheDrillAndTheOldFiles)
{
    Learner learner(runtime.path());
    const Files old {"old counts\r\n", "old saveLoad\r\n", "5"};
    learner.folder.Write(kSeikaiFileName, old.seikai);
    learner.folder.Write(kSaveLoadFileName, old.saveLoad);
    learner.folder.Write(kNanwidoFileName, old.nanwido);
    // The disk stays full: the stage end tells it, the drill goes on, and the
    // end on SIGTERM fails as a close would.
    ASSERT_TRUE(learner.StartAndWait({QStringLiteral("fulldisk"), QStringLiteral("20"), QStringLiteral("-1")}));
    // Every file that failed is named in the one box.
    EXPECT_TRUE(learner.output.contains(QStringLiteral(
        "box: db_1toi_pr.dat（ディスクがいっぱいです）、db_save_load.dat（ディスクがいっぱいです）、"
        "db_nanwido.dat（ディスクがいっぱいです） に学習の記録を保存できませんでした。")))
        << learner.output.toStdString();
    EXPECT_EQ(learner.process.state(), QProcess::Running);
    EXPECT_EQ(Read(learner.folder), old);
    learner.Signal(SIGTERM);
    ASSERT_TRUE(learner.Finish());
    EXPECT_EQ(learner.process.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(learner.process.readAllStandardError())
                    .contains(QStringLiteral("ファイルをオープンできません\n")));
    EXPECT_EQ(Read(learner.folder), old);
}

// One NUL byte in the counts file: the start-up says so and keeps the bytes
// beside it, and the close keeps every count but that row's.
TEST_F(ProgramSignal, ANulInTheCountsLosesOnlyItsOwnRow)
{
    Learner learner(runtime.path());
    TextTable counts;
    counts[0] = {kToiKey, kToiSeikaiCount};
    for (int i = 1; i <= 45; ++i)
        counts[i] = {"K" + IntToText(i), IntToText(i + 100)};
    std::string damaged = TableToFileBytes(counts);
    damaged[damaged.find("\"K10\",\"110\"") + 8] = '\0';
    learner.folder.Write(kSeikaiFileName, damaged);
    learner.process.start(QStringLiteral(MIRETO_LEARNER), {QStringLiteral("recount"), QStringLiteral("0")});
    ASSERT_TRUE(learner.Finish());
    EXPECT_EQ(learner.process.exitCode(), 0);
    EXPECT_TRUE(learner.output.contains(QStringLiteral(
        "box: db_1toi_pr.dat の一部が壊れています（NUL バイトがあります）。 "
        "壊れた行のほかはすべて使います。元の内容は db_1toi_pr.dat.damaged に残しました。")))
        << learner.output.toStdString();
    EXPECT_EQ(learner.folder.Read(std::string(kSeikaiFileName) + ".damaged"), damaged);
    counts[10] = {"K10", "0"};
    EXPECT_EQ(learner.folder.Read(kSeikaiFileName), TableToFileBytes(counts));
}

} // namespace
