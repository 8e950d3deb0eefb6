// The choice of the working folder and the keeping of the learner's folder,
// on plain folders: seeding, updating an unchanged copy, keeping the
// learner's own bank, never touching the databases.
#include "app/LearnerFolder.h"
#include "data/DataTexts.h"
#include "platform/Paths.h"
#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace LearnerFolder;

namespace {

const std::string kBank = DataTexts::kToiFileName;

void Put(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Get(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// An installation (<root>/usr/bin/mireto, <root>/usr/share/<id>/) and a home.
class LearnerFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = Platform::PathOf(temp.Path());
        executable = root / "usr" / "bin" / "mireto";
        installed = root / "usr" / "share" / kAppId;
        home = root / "home";
        dataBase = home / ".local" / "share";
        learner = dataBase / kAppId;
        fs::create_directories(home);
        Put(executable, "program");
        Put(installed / kBank, "bank 1");
        Put(installed / "NONEm1.jpg", "picture m1");
        Put(installed / "NONEk2.jpg", "picture k2");
    }

    WorkFolder temp;
    fs::path root, executable, installed, home, dataBase, learner;
};

} // namespace

TEST(LearnerFolderPaths, InstalledDataSitsBesideTheProgramsFolder)
{
    EXPECT_EQ(InstalledDataFolder("/usr/bin/mireto"), fs::path("/usr/share") / kAppId);
    EXPECT_EQ(InstalledDataFolder("/tmp/stage/opt/m/bin/mireto"), fs::path("/tmp/stage/opt/m/share") / kAppId);
}

TEST(LearnerFolderPaths, LearnersFolderIsTheAppIdUnderTheUsersDataFolder)
{
    const fs::path base = fs::current_path() / "data";
    EXPECT_EQ(LearnerDataFolder(base), base / kAppId);
    EXPECT_TRUE(LearnerDataFolder("").empty());
    EXPECT_TRUE(LearnerDataFolder("relative/data").empty());
}

TEST(LearnerFolderPaths, OnlyTheBankAndPicturesAreShipped)
{
    EXPECT_TRUE(IsShippedName(kBank));
    EXPECT_TRUE(IsShippedName("NONEm1003.jpg"));
    EXPECT_TRUE(IsShippedName("NONEk2.jpg"));
    EXPECT_FALSE(IsShippedName("db_nanwido.dat"));
    EXPECT_FALSE(IsShippedName("db_1toi_pr.dat"));
    EXPECT_FALSE(IsShippedName("db_save_load.dat"));
    EXPECT_FALSE(IsShippedName("NONE.jpg"));
    EXPECT_FALSE(IsShippedName("NONEm1.png"));
    EXPECT_FALSE(IsShippedName("picture.jpg"));
    EXPECT_FALSE(IsShippedName(std::string(kManifestName)));
}

TEST_F(LearnerFolderTest, FirstStartCopiesTheBankAndPicturesButNoDatabase)
{
    Put(installed / "db_nanwido.dat", "0");
    const SyncReport report = Sync(installed, learner);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.copied, (std::vector<std::string>{"NONEk2.jpg", "NONEm1.jpg", kBank}));
    EXPECT_TRUE(report.updated.empty());
    EXPECT_TRUE(report.kept.empty());
    EXPECT_EQ(Get(learner / kBank), "bank 1");
    EXPECT_EQ(Get(learner / "NONEm1.jpg"), "picture m1");
    EXPECT_EQ(Get(learner / "NONEk2.jpg"), "picture k2");
    EXPECT_FALSE(fs::exists(learner / "db_nanwido.dat"));
    // Nothing half-written is left beside the copies.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(learner)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 4); // three copies and the manifest
}

TEST_F(LearnerFolderTest, NewerInstalledBankReplacesAnUnchangedCopyOnly)
{
    ASSERT_TRUE(Sync(installed, learner).ok);
    Put(installed / kBank, "bank 2");
    Put(installed / "NONEm1.jpg", "picture m1, redrawn");

    SyncReport report = Sync(installed, learner);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.updated, (std::vector<std::string>{"NONEm1.jpg", kBank}));
    EXPECT_EQ(Get(learner / kBank), "bank 2");
    EXPECT_EQ(Get(learner / "NONEm1.jpg"), "picture m1, redrawn");

    // The learner writes a bank of their own; later releases never replace it.
    Put(learner / kBank, "my own bank");
    Put(installed / kBank, "bank 3");
    report = Sync(installed, learner);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.kept, std::vector<std::string>{kBank});
    EXPECT_EQ(Get(learner / kBank), "my own bank");
    Put(installed / kBank, "bank 4");
    EXPECT_EQ(Sync(installed, learner).kept, std::vector<std::string>{kBank});
    EXPECT_EQ(Get(learner / kBank), "my own bank");
    // An unchanged picture beside the learner's own bank still follows the installation.
    Put(installed / "NONEk2.jpg", "picture k2, redrawn");
    ASSERT_TRUE(Sync(installed, learner).ok);
    EXPECT_EQ(Get(learner / "NONEk2.jpg"), "picture k2, redrawn");
}

TEST_F(LearnerFolderTest, BankThatWasThereBeforeAnyCopyIsTheLearnersOwn)
{
    Put(learner / kBank, "bank written by hand");
    const SyncReport report = Sync(installed, learner);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.kept, std::vector<std::string>{kBank});
    EXPECT_EQ(Get(learner / kBank), "bank written by hand");
    EXPECT_EQ(Get(learner / "NONEm1.jpg"), "picture m1");
}

TEST_F(LearnerFolderTest, DeletedCopyIsCopiedAgainAndEqualCopyIsAdopted)
{
    Put(learner / kBank, "bank 1"); // equal to the installed one, copied by hand
    ASSERT_TRUE(Sync(installed, learner).ok);
    Put(installed / kBank, "bank 2");
    ASSERT_TRUE(Sync(installed, learner).ok);
    EXPECT_EQ(Get(learner / kBank), "bank 2");

    fs::remove(learner / "NONEm1.jpg");
    const SyncReport report = Sync(installed, learner);
    EXPECT_EQ(report.copied, std::vector<std::string>{"NONEm1.jpg"});
    EXPECT_EQ(Get(learner / "NONEm1.jpg"), "picture m1");
}

TEST_F(LearnerFolderTest, DatabasesAreNeverTouched)
{
    Put(learner / "db_nanwido.dat", "3");
    Put(learner / "db_1toi_pr.dat", "counts");
    Put(learner / "db_save_load.dat", "slots");
    // Even an installation that (wrongly) ships databases does not reach them.
    Put(installed / "db_nanwido.dat", "5");
    Put(installed / "db_1toi_pr.dat", "other counts");
    for (int release = 0; release < 2; ++release) {
        Put(installed / kBank, "bank " + std::to_string(release + 2));
        ASSERT_TRUE(Sync(installed, learner).ok);
        EXPECT_EQ(Get(learner / "db_nanwido.dat"), "3");
        EXPECT_EQ(Get(learner / "db_1toi_pr.dat"), "counts");
        EXPECT_EQ(Get(learner / "db_save_load.dat"), "slots");
    }
    EXPECT_EQ(Get(learner / kBank), "bank 3");
}

TEST_F(LearnerFolderTest, LearnersFolderThatCannotBeMadeIsReported)
{
    Put(home / ".local", "a file where the folder should be");
    const SyncReport report = Sync(installed, learner);
    EXPECT_FALSE(report.ok);
    EXPECT_NE(report.error.find(".local"), std::string::npos) << report.error;
    // And the program then does not work there.
    const Choice choice = Choose(root / "elsewhere", executable, dataBase);
    EXPECT_EQ(choice.where, Where::Nowhere);
    EXPECT_FALSE(choice.sync.ok);
}

TEST_F(LearnerFolderTest, FolderHoldingABankWinsOverTheInstallation)
{
    const fs::path authoring = root / "authoring";
    Put(authoring / kBank, "author's bank");
    const Choice choice = Choose(authoring, executable, dataBase);
    EXPECT_EQ(choice.where, Where::Current);
    EXPECT_FALSE(fs::exists(learner)); // no learner's folder is made
}

TEST_F(LearnerFolderTest, WithoutAnInstalledBankNothingIsMade)
{
    fs::remove(installed / kBank);
    fs::create_directories(root / "empty");
    const Choice choice = Choose(root / "empty", executable, dataBase);
    EXPECT_EQ(choice.where, Where::Nowhere);
    EXPECT_FALSE(fs::exists(learner));
    // A program run from the build folder has no installation beside it either.
    EXPECT_EQ(Choose(root / "empty", root / "build" / "bin" / "mireto", dataBase).where, Where::Nowhere);
}

// A planted link under the old temporary name, a FIFO or a device where the
// manifest or a picture should be: the copies are made exclusively and
// synced, nothing blocks and nothing outside the folder changes.
TEST_F(LearnerFolderTest, HostileNamesInTheLearnersFolderNeitherHangNorReachOutside)
{
    const fs::path victim = root / "victim";
    Put(victim, "precious");
    fs::create_directories(learner);
    fs::create_symlink(victim, learner / ("." + kBank + ".new"));
    ASSERT_EQ(::mkfifo(Platform::Utf8Of(learner / kManifestName).c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", learner / "NONEk2.jpg");

    const SyncReport report = Sync(installed, learner);
    EXPECT_EQ(Get(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(learner / kBank));
    EXPECT_EQ(Get(learner / kBank), "bank 1");
    EXPECT_EQ(Get(learner / "NONEm1.jpg"), "picture m1");
    // The link to the device is the learner's own: kept, never read whole.
    EXPECT_TRUE(fs::is_symlink(learner / "NONEk2.jpg"));
    EXPECT_EQ(Fingerprint(learner / "NONEk2.jpg"), 0u);
    // The FIFO is no manifest; it is not replaced by one either (not a file).
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(fs::is_fifo(learner / kManifestName));
}
