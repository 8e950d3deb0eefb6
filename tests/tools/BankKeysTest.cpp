// Learners' counts are kept by key: the shipped bank against the committed
// list of the release's keys, and the comparison on planted changes.
#include "bank/BankKeys.h"
#include "bank/CsvSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const std::string kSource = MIRETO_SOURCE_DIR;
const std::string kLists = kSource + "/tests/tools/bank-keys/";

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using KeyLines = std::vector<std::pair<std::string, std::string>>;

// The keys and first lines of CSV sources: a bank's, or the list's own two columns.
KeyLines ListOf(const std::vector<std::string>& paths, std::vector<std::string>& problems)
{
    std::vector<std::string> files;
    ProblemList found;
    KeyLister lister;
    CsvSourceScanner scanner(files, found, [&](const RowView& row) { lister.Row(row); });
    for (const std::string& path : paths)
        scanner.Add(path, ReadText(path));
    for (const BankProblem& p : found.Listed(files))
        problems.push_back(FormatProblem(p));
    return lister.Lines();
}

TEST(BankKeys, TheShippedBankKeepsEachKeysTopic)
{
    std::vector<std::string> sources;
    for (const auto& entry : std::filesystem::directory_iterator(kSource + "/sample/bank"))
        if (entry.path().extension() == ".csv")
            sources.push_back(entry.path().string());
    std::sort(sources.begin(), sources.end());
    ASSERT_FALSE(sources.empty());
    std::vector<std::string> problems;
    const KeyLines bank = ListOf(sources, problems);
    const KeyLines release = ListOf({kLists + "release-keys.csv"}, problems);
    const auto kept = ParseKeyNotes(ReadText(kLists + "kept-topic.txt"), problems);
    const auto retired = ParseKeyNotes(ReadText(kLists + "retired.txt"), problems);
    ASSERT_GT(release.size(), 400u);
    for (const std::string& p : KeyListProblems(release, bank, kept, retired))
        problems.push_back(p);
    for (const std::string& p : problems)
        ADD_FAILURE() << p;
}

TEST(BankKeys, ChangedGoneAndNewKeysAreNamedUnlessListed)
{
    const KeyLines release = {{"1", "A"}, {"2", "B"}, {"3", "C"}, {"4", "D"}};
    const KeyLines bank = {{"1", "A"}, {"2", "B2"}, {"4", "D"}, {"5", "E"}, {"6", "F"}};
    std::vector<std::string> problems;
    const auto none = ParseKeyNotes("", problems);
    const std::vector<std::string> found = KeyListProblems(release, bank, none, none);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].rfind("2: the first line of its question changed from «B» to «B2»", 0), 0u) << found[0];
    EXPECT_EQ(found[1].rfind("3: the key is gone", 0), 0u) << found[1];
    EXPECT_NE(found[2].find("5: a key new to the list") , std::string::npos) << found[2];
    EXPECT_NE(found[2].find("scripts/update-bank-keys.sh"), std::string::npos);

    // Listed, the edit and the retirement pass; a retired key may not come back.
    const auto kept = ParseKeyNotes("# edits\n2 wording\n", problems);
    const auto retired = ParseKeyNotes("3 replaced by 6\r\n\n", problems);
    EXPECT_TRUE(problems.empty());
    const KeyLines listed = {{"1", "A"}, {"2", "B"}, {"3", "C"}, {"4", "D"}, {"5", "E"}, {"6", "F"}};
    EXPECT_TRUE(KeyListProblems(listed, bank, kept, retired).empty());
    const std::vector<std::string> back = KeyListProblems(listed, {{"3", "C"}}, kept, retired);
    EXPECT_NE(std::find(back.begin(), back.end(), "3: a retired key is back in the bank: give its question a new key"),
              back.end());

    ParseKeyNotes("7\n8 \nx reason\n2 one\n2 two\n", problems);
    EXPECT_EQ(problems, (std::vector<std::string> {"1: a line is a key, a blank and a short reason",
                                                   "2: a line is a key, a blank and a short reason",
                                                   "3: a line is a key, a blank and a short reason",
                                                   "5: the key 2 is named twice"}));
}

} // namespace
