// kill -9 at every write point of a played stage's end, of the close and of
// answers being recorded, and in the middle of a row's write: the next start
// counts every answer the journal holds exactly once, and the journal holds
// every answer whose verdict was shown (and at most the one being recorded
// besides).
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

using Verdicts = std::vector<std::pair<std::string, bool>>;
// Settings of the learner's kill points (KillPoints.cpp).
using KillSettings = std::vector<std::pair<QString, QString>>;

struct LearnerRun {
    QProcess::ExitStatus status = QProcess::NormalExit;
    int code = -1;
    QString out;
    QString err;
};

class KirokuKill : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(runtime.isValid()); }

    LearnerRun Learner(const WorkFolder& folder, const QStringList& arguments, const KillSettings& kill = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        for (const auto& [name, value] : kill)
            environment.insert(name, value);
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

    // The verdicts the learner saw.
    static Verdicts Shown(const LearnerRun& play)
    {
        Verdicts shown;
        static const QRegularExpression judged(QStringLiteral("^judged (\\S+) ([01])$"), QRegularExpression::MultilineOption);
        for (auto it = judged.globalMatch(play.out); it.hasNext();) {
            const auto match = it.next();
            shown.emplace_back(match.captured(1).toStdString(), match.captured(2) == QStringLiteral("1"));
        }
        return shown;
    }

    // The journal holds the verdicts shown, in order, and at most `more`
    // rows besides; the next two starts count each of its answers once.
    void CheckCounts(const WorkFolder& folder, const Verdicts& shown, std::size_t more)
    {
        KirokuJournal journal;
        journal.Open(nullptr);
        const auto& rows = journal.Entries();
        ASSERT_GE(rows.size(), shown.size());
        ASSERT_LE(rows.size(), shown.size() + more);
        std::map<std::string, int> expected;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i < shown.size()) {
                EXPECT_EQ(rows[i].key, shown[i].first);
                EXPECT_EQ(rows[i].seikai, shown[i].second);
            }
            if (rows[i].seikai)
                ++expected[rows[i].key];
        }
        EXPECT_EQ(Recount(folder), expected);
        // A write the kill cut short left nothing behind after that start.
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
        // Counted once, also after the start that counted them wrote them.
        EXPECT_EQ(Recount(folder), expected);
    }

    // Plays with a kill at the point (none when empty) and checks what the
    // next two starts count.
    void PlayAndCheck(const QString& killAt, QStringList* points = nullptr)
    {
        WorkFolder folder;
        WriteBank(folder, TypedBank(kBank));
        KillSettings kill;
        if (!killAt.isEmpty())
            kill.emplace_back(QStringLiteral("MIRETO_KILL_AT"), killAt);
        if (points)
            kill.emplace_back(QStringLiteral("MIRETO_KILL_LIST"), QStringLiteral("1"));
        const LearnerRun play = Learner(folder, {QStringLiteral("play"), QString::number(kAnswers)}, kill);
        if (killAt.isEmpty())
            ASSERT_EQ(play.code, 0) << play.err.toStdString();
        else
            ASSERT_EQ(play.status, QProcess::CrashExit) << "not killed at " << killAt.toStdString();
        if (points) {
            static const QRegularExpression line(QStringLiteral("^point \\d+: (.*)$"), QRegularExpression::MultilineOption);
            for (auto it = line.globalMatch(play.err); it.hasNext();)
                *points << it.next().captured(1);
        }
        const Verdicts shown = Shown(play);
        if (killAt.isEmpty()) {
            EXPECT_EQ(shown.size(), static_cast<std::size_t>(kAnswers));
        }
        CheckCounts(folder, shown, killAt.isEmpty() ? 0 : 1);
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

// Killed while a row is written, once all of it but its line end is in the
// file: right after its closing quote, and after its CR. Its verdict was
// never shown: it is no row at the next start, nor once the next answers
// are appended behind it, and those count, each once.
TEST_F(KirokuKill, ARowCutAtItsLineEndIsNeitherCountedNorCompleted)
{
    for (const int answer : {2, 21}) {
        for (const int heldBack : {2, 1}) {
            SCOPED_TRACE(QStringLiteral("answer %1, %2 bytes short").arg(answer).arg(heldBack).toStdString());
            WorkFolder folder;
            WriteBank(folder, TypedBank(kBank));
            const LearnerRun cut = Learner(folder, {QStringLiteral("play"), QString::number(kAnswers)},
                                           {{QStringLiteral("MIRETO_KILL_CUT"), QStringLiteral("%1:%2").arg(answer).arg(heldBack)}});
            ASSERT_EQ(cut.status, QProcess::CrashExit);
            Verdicts shown = Shown(cut);
            ASSERT_EQ(shown.size(), static_cast<std::size_t>(answer - 1));
            const std::string journal = folder.Read(kKirokuFileName);
            ASSERT_TRUE(journal.ends_with(heldBack == 2 ? "\"" : "\"\r"));
            const LearnerRun more = Learner(folder, {QStringLiteral("play"), QStringLiteral("3")});
            ASSERT_EQ(more.code, 0) << more.err.toStdString();
            const Verdicts after = Shown(more);
            ASSERT_EQ(after.size(), 3u);
            shown.insert(shown.end(), after.begin(), after.end());
            CheckCounts(folder, shown, 0);
        }
    }
}

} // namespace
