// The journal-to-CSV tool, run as built on a learner's folder made for the
// test: what it writes, and that it changes nothing in the folder, whatever
// name the output is given.
#include "data/Kiroku.h"
#include "data/DataTexts.h"
#include "data/PlayModes.h"
#include "text/SjisCodec.h"
#include "platform/Paths.h"
#include "support/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string errors;
};

class RecordTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Two answers: one typed, one judged with nothing typed.
        folder.Write(DataTexts::kToiFileName, TableFileText({{"key", "q", "k", "s", "0", "0", "0", "0", "分野"},
                                                            {"K1", "q", "k", "s", "0", "0", "0", "0", "SQL　"},
                                                            {"K2", "q", "k", "s", "0", "0", "0", "0", " "}}));
        KirokuJournal journal;
        journal.Open(nullptr);
        KirokuEntry typed;
        typed.key = "K1";
        typed.seikai = true;
        typed.answer = "s";
        ASSERT_TRUE(journal.Append(typed));
        KirokuEntry untouched;
        untouched.key = "K2";
        ASSERT_TRUE(journal.Append(untouched));
        folder.Write(DataTexts::kSeikaiFileName, "counts");
    }

    // Every file of the folder and its bytes.
    std::map<std::string, std::string> FolderFiles() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(Platform::PathOf(folder.Path())))
            if (entry.is_regular_file())
                files[Platform::Utf8Of(entry.path().filename())] = folder.Read(Platform::Utf8Of(entry.path().filename()));
        return files;
    }

    // Runs the tool on the folder from the outside folder.
    ToolRun Run(const QString& output, const QString& stdoutFile = {}) const
    {
        QProcess tool;
        tool.setWorkingDirectory(outside.path());
        if (!stdoutFile.isEmpty())
            tool.setStandardOutputFile(stdoutFile, QIODevice::Append);
        tool.start(QStringLiteral(MIRETO_RECORD_TOOL), {QString::fromStdString(folder.Path()), output});
        EXPECT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        return {tool.exitCode(), tool.readAllStandardError().toStdString()};
    }

    QString Inside(const char* name) const { return QString::fromStdString(folder.Path() + "/" + name); }

    WorkFolder folder;
    QTemporaryDir outside;
};

TEST_F(RecordTool, WritesTheAnswersAsCsvInsideTheFolderOnlyAsANewCsv)
{
    const ToolRun run = Run(Inside("answers.csv"));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    // The area trimmed, a blank area none, the untouched answer empty.
    const std::string csv = folder.Read("answers.csv");
    EXPECT_NE(csv.find(",K1,SQL,正解,通常モード,Ｆ,0,s\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",K2,,不正解,通常モード,Ｆ,0,\r\n"), std::string::npos) << csv;

    // Written again, or under a name of another kind, it is refused.
    const auto before = FolderFiles();
    for (const char* name : {"answers.csv", "notes.txt", "db_kiroku.dat", "db_1toi_pr.dat"}) {
        const ToolRun again = Run(Inside(name));
        EXPECT_EQ(again.exitCode, 1) << name;
        EXPECT_NE(again.errors.find("not written"), std::string::npos) << again.errors;
    }
    EXPECT_EQ(FolderFiles(), before);
    // Outside the folder an existing file is replaced.
    ASSERT_EQ(Run(outside.filePath(QStringLiteral("answers.csv"))).exitCode, 0);
    ASSERT_EQ(Run(outside.filePath(QStringLiteral("answers.csv"))).exitCode, 0);
}

// Every mode and difficulty of the tables comes out under its own name: a
// mode added to the table is exported with no other change.
TEST_F(RecordTool, EveryModeAndDifficultyOfTheTablesIsExportedByName)
{
    KirokuJournal journal;
    journal.Open(nullptr);
    for (const PlayModeRow& mode : kPlayModes) {
        KirokuEntry e;
        e.key = "M" + std::to_string(mode.number);
        e.mode = mode.number;
        e.nanwido = *NanwidoValue::Of(mode.number % kNanwidoCount);
        ASSERT_TRUE(journal.Append(e));
    }
    const ToolRun run = Run(outside.filePath(QStringLiteral("modes.csv")));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    QFile file(outside.filePath(QStringLiteral("modes.csv")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string csv = file.readAll().toStdString();
    for (const PlayModeRow& mode : kPlayModes) {
        const std::string letter(kNanwidoLetters[mode.number % kNanwidoCount]);
        const std::string cells = ",M" + std::to_string(mode.number) + ",,不正解," + SjisToUtf8(std::string(mode.name))
                                  + "," + SjisToUtf8(letter) + ",";
        EXPECT_NE(csv.find(cells), std::string::npos) << cells << "\n" << csv;
    }
}

TEST_F(RecordTool, TheFoldersFilesAreRefusedUnderEveryName)
{
    namespace fs = std::filesystem;
    const fs::path out = Platform::PathOf(outside.path().toStdString());
    const fs::path in = Platform::PathOf(folder.Path());
    fs::create_symlink(in / kKirokuFileName, out / "journal-link.csv");
    fs::create_hard_link(in / DataTexts::kSeikaiFileName, out / "counts-hardlink.csv");
    fs::create_directory_symlink(in, out / "folder-link");
    const auto before = FolderFiles();
    // The last two through a link to the folder: the journal, and a new
    // file that is no .csv.
    for (const char* name : {"journal-link.csv", "counts-hardlink.csv", "folder-link/db_kiroku.dat",
                             "folder-link/db_nanwido.dat"}) {
        const ToolRun run = Run(outside.filePath(QString::fromUtf8(name)));
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_NE(run.errors.find("not written"), std::string::npos) << run.errors;
    }
    EXPECT_EQ(FolderFiles(), before);
    // Standard output appended to the journal by the shell.
    const ToolRun piped = Run(QStringLiteral("-"), Inside(kKirokuFileName));
    EXPECT_EQ(piped.exitCode, 1);
    EXPECT_NE(piped.errors.find("standard output is the folder's file db_kiroku.dat"), std::string::npos)
        << piped.errors;
    EXPECT_EQ(FolderFiles(), before);
}

TEST_F(RecordTool, AJournalTooLargeIsNamedWithItsOwnLimitAndNothingIsWritten)
{
    std::filesystem::resize_file(kKirokuFileName, 70 * kMiB);
    const ToolRun run = Run(outside.filePath(QStringLiteral("answers.csv")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("db_kiroku.dat: ファイルが大きすぎます（64 MB まで）"), std::string::npos) << run.errors;
    EXPECT_FALSE(QDir(outside.path()).exists(QStringLiteral("answers.csv")));
}

} // namespace
