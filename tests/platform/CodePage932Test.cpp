// Code page 932 gives the same bytes on Linux (glibc iconv) and on Windows
// (the system's code page 932): both are compared, code by code, with one
// table made from glibc (cp932-reference.txt), in both directions. The table
// holds every single byte above ASCII and every two-byte code of the JIS X
// 0208 lead bytes; what the table files' own bytes need is checked beside it.
#include "platform/CodePage932.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Code {
    std::string bytes;  // the code page 932 bytes
    long codePoint;     // -1: refused
};

std::vector<Code> ReadReference()
{
    std::vector<Code> codes;
    std::ifstream in(MIRETO_SOURCE_DIR "/tests/platform/cp932-reference.txt");
    std::string hex, point;
    while (in >> hex) {
        if (hex == "#") {
            std::getline(in, point);
            continue;
        }
        in >> point;
        Code code;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            code.bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        code.codePoint = point == "-" ? -1 : std::stol(point, nullptr, 16);
        codes.push_back(code);
    }
    return codes;
}

std::string Utf8(long cp)
{
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

std::string Hex(const std::string& bytes)
{
    std::string out;
    char buffer[4];
    for (unsigned char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X", c);
        out += buffer;
    }
    return out;
}

// Characters whose JIS forms differ from code page 932's are written with
// the same bytes on both systems (glibc's one-way mapping).
TEST(CodePage932, JisFormsOfTheDifferingCharactersGiveTheSameBytes)
{
    const struct {
        const char* utf8;
        const char* cp932;
    } cases[] = {
        {"\u301C", "\x81\x60"}, {"\u2016", "\x81\x61"}, {"\u2212", "\x81\x7C"}, {"\u00A2", "\x81\x91"},
        {"\u00A3", "\x81\x92"}, {"\u00AC", "\x81\xCA"}, {"\u2014", "\x81\x5C"}, {"\u203E", "~"},
        {"\u00A5", "\\"},      {"a\u301Cb", "a\x81\x60" "b"},
    };
    for (const auto& c : cases) {
        std::string bytes;
        EXPECT_TRUE(Platform::Utf8ToCp932(c.utf8, bytes, "?")) << c.utf8;
        EXPECT_EQ(Hex(bytes), Hex(c.cp932)) << c.utf8;
    }
}

TEST(CodePage932, EveryCodeConvertsAsTheReferenceSaysBothWays)
{
    const std::vector<Code> codes = ReadReference();
    ASSERT_EQ(codes.size(), 7400u) << "the reference table was not read whole";
    int assigned = 0;
    int differences = 0;
    for (const Code& code : codes) {
        std::string utf8;
        const bool clean = Platform::Cp932ToUtf8(code.bytes, utf8, "?");
        if (code.codePoint < 0) {
            // Refused on both systems: the replacement stands in for it.
            if (clean || utf8 != "?")
                ADD_FAILURE() << Hex(code.bytes) << " should be refused, gave " << Hex(utf8);
            differences += clean ? 1 : 0;
            continue;
        }
        ++assigned;
        std::string back;
        const bool backClean = Platform::Utf8ToCp932(Utf8(code.codePoint), back, "?");
        if (!clean || utf8 != Utf8(code.codePoint) || !backClean || back != code.bytes) {
            if (++differences <= 20)
                ADD_FAILURE() << Hex(code.bytes) << " -> " << Hex(utf8) << " -> " << Hex(back) << ", expected U+"
                              << std::hex << code.codePoint;
        }
    }
    EXPECT_EQ(differences, 0);
    // The JIS X 0208 characters with Microsoft's additions in these rows.
    EXPECT_GT(assigned, 6800);
}

TEST(CodePage932, TheTableFilesBytesStayThemselves)
{
    // Quotes, commas, line ends and every other ASCII byte are the same
    // byte in both encodings, alone and beside a two-byte character.
    for (int b = 1; b < 0x80; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string text = one + "\x82\xA0" + one; // あ between
        std::string utf8, back;
        EXPECT_TRUE(Platform::Cp932ToUtf8(text, utf8, "?")) << b;
        EXPECT_EQ(utf8, one + "\xE3\x81\x82" + one) << b;
        EXPECT_TRUE(Platform::Utf8ToCp932(utf8, back, "?")) << b;
        EXPECT_EQ(back, text) << b;
    }
}

TEST(CodePage932, ABadCharacterCostsOnlyItself)
{
    std::string out;
    // A lead byte at the end, then a lead byte before a byte that is no trail.
    EXPECT_FALSE(Platform::Cp932ToUtf8("a\x82", out, "?"));
    EXPECT_EQ(out, "a?");
    EXPECT_FALSE(Platform::Cp932ToUtf8("\x82\xA0\xA0\x82\xA0", out, "?"));
    EXPECT_EQ(out, "\xE3\x81\x82?\xE3\x81\x82");
    // A character code page 932 lacks (é), and bytes that are not UTF-8.
    EXPECT_FALSE(Platform::Utf8ToCp932("x\xC3\xA9y", out, "?"));
    EXPECT_EQ(out, "x?y");
    EXPECT_FALSE(Platform::Utf8ToCp932("x\xFFy", out, "?"));
    EXPECT_EQ(out, "x?y");
}

} // namespace
