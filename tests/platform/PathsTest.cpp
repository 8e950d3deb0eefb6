// UTF-8 paths reach the system whole: Japanese names and blanks, as in a
// learner's user folder (C:\Users\山田\ on Windows).
#include "platform/Paths.h"
#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

const std::string kName = "山田 太郎の学習.dat";

TEST(PlatformPaths, AJapaneseNameWithABlankRoundTrips)
{
    const std::filesystem::path path = Platform::PathOf("folder/" + kName);
    EXPECT_EQ(Platform::Utf8Of(path.filename()), kName);
    EXPECT_EQ(Platform::Utf8Of(Platform::PathOf(Platform::Utf8Of(path))), Platform::Utf8Of(path));
}

TEST(PlatformPaths, OpenFileWritesAndReadsUnderAJapaneseName)
{
    WorkFolder folder;
    const std::string file = folder.Path() + "/" + kName;
    std::FILE* out = Platform::OpenFile(file, "wb");
    ASSERT_NE(out, nullptr);
    std::fputs("bytes", out);
    std::fclose(out);

    // The system sees the name as it was meant, not as mangled bytes.
    bool found = false;
    for (const auto& entry : std::filesystem::directory_iterator(Platform::PathOf(folder.Path())))
        found = found || Platform::Utf8Of(entry.path().filename()) == kName;
    EXPECT_TRUE(found);

    std::FILE* in = Platform::OpenFile(file, "rb");
    ASSERT_NE(in, nullptr);
    char buffer[16] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, in), 5u);
    std::fclose(in);
    EXPECT_STREQ(buffer, "bytes");
    EXPECT_EQ(Platform::OpenFile(folder.Path() + "/missing " + kName, "rb"), nullptr);
}

TEST(PlatformPaths, TheExecutableIsThisTestProgram)
{
    const std::filesystem::path self = Platform::ExecutablePath();
    ASSERT_FALSE(self.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(self));
    EXPECT_EQ(Platform::Utf8Of(self.stem()), "test_rules");
}

TEST(PlatformPaths, EnvironmentIsSetAndCleared)
{
    Platform::SetEnvironment("MIRETO_PLATFORM_TEST", "山田 太郎");
    const char* value = std::getenv("MIRETO_PLATFORM_TEST");
    ASSERT_NE(value, nullptr);
    Platform::SetEnvironment("MIRETO_PLATFORM_TEST", "");
    const char* cleared = std::getenv("MIRETO_PLATFORM_TEST");
    EXPECT_TRUE(cleared == nullptr || *cleared == '\0');
}

} // namespace
