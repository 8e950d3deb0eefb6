#include "data/Nanwido.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Nanwido, OnlyNumbersThatNameADifficultyMakeOne)
{
    struct Case { std::int64_t number; std::optional<NanwidoValue> of; NanwidoValue orF; };
    const Case cases[] = {
        {0, kNanwidoA, kNanwidoA},         {3, kNanwidoD, kNanwidoD},         {5, kNanwidoF, kNanwidoF},
        {6, std::nullopt, kNanwidoF},      {7, std::nullopt, kNanwidoF},      {-1, std::nullopt, kNanwidoF},
        {INT32_MAX, std::nullopt, kNanwidoF}, {INT32_MIN, std::nullopt, kNanwidoF},
        {INT64_MAX, std::nullopt, kNanwidoF}, {std::int64_t {1} << 32, std::nullopt, kNanwidoF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NanwidoValue::Of(c.number), c.of) << c.number;
        if (c.number >= INT32_MIN && c.number <= INT32_MAX) {
            EXPECT_EQ(NanwidoOrF(static_cast<std::int32_t>(c.number)), c.orF) << c.number;
        }
    }
    // A value is one of the six: the default is where a new learner starts.
    EXPECT_EQ(NanwidoValue(), kNanwidoF);
    std::int32_t index = 0;
    for (NanwidoValue n : {kNanwidoA, kNanwidoB, kNanwidoC, kNanwidoD, kNanwidoE, kNanwidoF})
        EXPECT_EQ(static_cast<std::int32_t>(n), index++);
}

TEST(Nanwido, TheFileHoldsTheNumberAlone)
{
    struct Case { std::string bytes; NanwidoValue nanwido; };
    const Case cases[] = {
        {"", kNanwidoF},       {"0", kNanwidoA},     {"5", kNanwidoF},      {"7", kNanwidoF},
        {"-1", kNanwidoF},     {"abc", kNanwidoF},   {"  ", kNanwidoF},     {"-", kNanwidoF},
        {"+", kNanwidoF},      {"99999999999", kNanwidoF}, {"-99999999999", kNanwidoF},
        {"4294967298", kNanwidoF}, {"x3", kNanwidoF}, {"\xFF", kNanwidoF},  {"3", kNanwidoD},
        {" 2\r\n", kNanwidoC}, {"\t+1", kNanwidoB}, {"4x", kNanwidoE},      {"-0", kNanwidoA},
        {"0004", kNanwidoE},   {"1 2", kNanwidoB},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NanwidoFromFile(c.bytes), c.nanwido) << "\"" << c.bytes << "\"";
    // What is written reads back as itself, and is the number alone.
    for (NanwidoValue n : {kNanwidoA, kNanwidoB, kNanwidoC, kNanwidoD, kNanwidoE, kNanwidoF}) {
        EXPECT_EQ(NanwidoFromFile(NanwidoFileText(n)), n);
        EXPECT_EQ(NanwidoFileText(n), std::string(1, static_cast<char>('0' + n)));
    }
}

TEST(Nanwido, HarderIsOneStepTowardsAAndAStaysA)
{
    const NanwidoValue order[] = {kNanwidoF, kNanwidoE, kNanwidoD, kNanwidoC, kNanwidoB, kNanwidoA, kNanwidoA};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_EQ(order[i].Harder(), order[i + 1]) << i;
}

} // namespace
