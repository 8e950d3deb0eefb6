// The mock exam's two files: the paper in progress read back as written and
// refused when edited; the handed-in papers with a bad row skipped and named.
#include "data/MogiPaperFile.h"
#include "data/MogiSeiseki.h"

#include <gtest/gtest.h>

TEST(MogiFiles, APaperReadsBackAndAnEditedOneIsRefused)
{
    MogiPaperState paper;
    paper.seed = 0xfedcba9876543210ULL;
    paper.started = 1786000000;
    paper.left = 1234;
    paper.current = 1;
    paper.handInBase = 77;
    paper.missing[2] = 1;
    paper.toi = {{"DB-1", kKubunDatabase, 3, true, 40}, {"S\"%1", kKubunSecurity, 0, false, 0}};
    const std::string bytes = MogiPaperBytes(paper);
    EXPECT_EQ(ParseMogiPaper(bytes), paper);
    std::int32_t line = 0;
    for (const auto& [from, to] : {std::pair {"\"1234\"", "\"2401\""}, {"\"3\"", "\"5\""}, {"\"current\",\"1\"", "\"current\",\"2\""},
                                   {"\"77\"", "\"7x\""}, {"\"MOGI\"", "\"MOGA\""}}) {
        std::string edited = bytes;
        edited.replace(edited.find(from), std::string(from).size(), to);
        EXPECT_FALSE(ParseMogiPaper(edited, &line)) << from;
        EXPECT_GT(line, 0);
    }
}

TEST(MogiFiles, HandedInPapersKeepTheirRowsAndSkipABadOne)
{
    MogiSeisekiRow row {.day = 20600, .second = 3600, .score = 8, .seikai = 2, .count = 2, .seconds = 1800,
                        .seed = 18446744073709551615ULL, .keys = {"A1", "B,2"}};
    std::string bytes = MogiSeisekiBytes({row, row});
    // The second row's time used is no time of a day.
    const std::size_t second = bytes.find("\r\n", bytes.find("\r\n") + 2) + 2;
    bytes.replace(bytes.find("\"1800\"", second), 6, "\"99999\"");
    const MogiSeisekiRead read = ParseMogiSeiseki(bytes);
    ASSERT_EQ(read.rows.size(), 1u);
    EXPECT_EQ(read.rows[0], row);
    EXPECT_EQ(read.badLines, std::vector<std::int32_t> {3});
}
