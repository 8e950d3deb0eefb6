// kill -9 at every write point of a played stage's end, of the close and of
// answers being recorded: the next start counts every answer the journal
// holds exactly once, and the journal holds every answer whose verdict was
// shown (and at most the one being recorded besides).
#include "data/DataTexts.h"
#include "data/Kiroku.h"
#include "support/FormHarness.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <filesystem>
#include <map>

namespace {

constexpr int kBank = 50;
constexpr int kAnswers = 45; // two stages and half of the third

struct LearnerRun {
    QProcess::ExitStatus status = QProcess::NormalExit;
    int code = -1;
    QString out;
    QString err;
};

class KirokuKill : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(runtime.isValid()); }

    LearnerRun Learner(const WorkFolder& folder, const QStringList& arguments, const QString& killAt = {}, bool list = false)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        if (!killAt.isEmpty())
            environment.insert(QStringLiteral("MIRETO_KILL_AT"), killAt);
        if (list)
            environment.insert(QStringLiteral("MIRETO_KILL_LIST"), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(folder.Path()));
        process.start(QStringLiteral(MIRETO_LEARNER), arguments);
        LearnerRun run;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(5000);
            ADD_FAILURE() << "the learner did not end";
        }
        run.status = process.exitStatus();
        run.code = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    // The counts a new start arrives at, after which it closes with はい.
    std::map<std::string, int> Recount(const WorkFolder& folder)
    {
        const LearnerRun run = Learner(folder, {QStringLiteral("recount"), QStringLiteral("0")});
        EXPECT_EQ(run.status, QProcess::NormalExit);
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        std::map<std::string, int> counts;
        static const QRegularExpression line(QStringLiteral("^count (\\S+) (\\d+)$"),
                                             QRegularExpression::MultilineOption);
        for (auto it = line.globalMatch(run.out); it.hasNext();) {
            const auto match = it.next();
            if (const int n = match.captured(2).toInt())
                counts[match.captured(1).toStdString()] = n;
        }
        return counts;
    }

    // Plays with a kill at the point (none when empty) and checks what the
    // next two starts count.
    void PlayAndCheck(const QString& killAt, QStringList* points = nullptr)
    {
        WorkFolder folder;
        WriteBank(folder, TypedBank(kBank));
        const LearnerRun play = Learner(folder, {QStringLiteral("play"), QString::number(kAnswers)}, killAt, points != nullptr);
        if (killAt.isEmpty())
            ASSERT_EQ(play.code, 0) << play.err.toStdString();
        else
            ASSERT_EQ(play.status, QProcess::CrashExit) << "not killed at " << killAt.toStdString();
        if (points) {
            static const QRegularExpression line(QStringLiteral("^point \\d+: (.*)$"), QRegularExpression::MultilineOption);
            for (auto it = line.globalMatch(play.err); it.hasNext();)
                *points << it.next().captured(1);
        }
        // The verdicts the learner saw.
        std::vector<std::pair<std::string, bool>> shown;
        static const QRegularExpression judged(QStringLiteral("^judged (\\S+) ([01])$"), QRegularExpression::MultilineOption);
        for (auto it = judged.globalMatch(play.out); it.hasNext();) {
            const auto match = it.next();
            shown.emplace_back(match.captured(1).toStdString(), match.captured(2) == QStringLiteral("1"));
        }

        KirokuJournal journal;
        journal.Open(nullptr);
        const auto& rows = journal.Entries();
        ASSERT_GE(rows.size(), shown.size());
        ASSERT_LE(rows.size(), shown.size() + 1);
        std::map<std::string, int> expected;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i < shown.size()) {
                EXPECT_EQ(rows[i].key, shown[i].first);
                EXPECT_EQ(rows[i].seikai, shown[i].second);
            }
            if (rows[i].seikai)
                ++expected[rows[i].key];
        }
        if (killAt.isEmpty()) {
            EXPECT_EQ(rows.size(), static_cast<std::size_t>(kAnswers));
        }
        EXPECT_EQ(Recount(folder), expected);
        // A write the kill cut short left nothing behind after that start.
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
        // Counted once, also after the start that counted them wrote them.
        EXPECT_EQ(Recount(folder), expected);
    }

    QTemporaryDir runtime;
};

// Every point of the files' writes (marks, counts, slots, difficulty and
// their folder) at the first answer, the first stage end and the close, and
// the journal's points of answers 1, 2, 20, 21 and 45. The second stage end
// repeats the first one's points and is left out. Three shards, so that
// ctest runs them side by side.
class KirokuKillShard : public KirokuKill, public ::testing::WithParamInterface<int> {};

TEST_P(KirokuKillShard, EveryWritePointCountsEachJudgedAnswerOnce)
{
    constexpr int kShards = 3;
    QStringList points;
    PlayAndCheck({}, &points);
    ASSERT_FALSE(points.isEmpty());
    int journalPoints = 0;
    int chosen = 0;
    for (int i = 0; i < points.size(); ++i) {
        const bool append = points[i].contains(QStringLiteral("fdatasync db_kiroku.dat"));
        if (append)
            ++journalPoints;
        const int answer = append ? (journalPoints + 1) / 2 : journalPoints / 2; // answers recorded so far
        const bool wanted = append ? (answer <= 2 || answer == 20 || answer == 21 || answer == kAnswers)
                                   : (answer <= 20 || answer >= 40 + 1 + 4);
        if (!wanted || chosen++ % kShards != GetParam())
            continue;
        SCOPED_TRACE(QStringLiteral("point %1: %2").arg(i + 1).arg(points[i]).toStdString());
        PlayAndCheck(QString::number(i + 1));
    }
    EXPECT_EQ(journalPoints, 2 * kAnswers);
    EXPECT_GT(chosen, 40);
}

INSTANTIATE_TEST_SUITE_P(Shards, KirokuKillShard, ::testing::Values(0, 1, 2));

} // namespace
