// The user's data folder on Linux: $XDG_DATA_HOME when absolute, otherwise
// ~/.local/share; nothing without an absolute home.
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class UserDataBaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* x = std::getenv("XDG_DATA_HOME"))
            xdg_ = x;
        if (const char* h = std::getenv("HOME"))
            home_ = h;
    }
    void TearDown() override
    {
        Platform::SetEnvironment("XDG_DATA_HOME", xdg_);
        Platform::SetEnvironment("HOME", home_);
    }
    std::string xdg_, home_;
};

TEST_F(UserDataBaseTest, FollowsXdgDataHomeOrHome)
{
    Platform::SetEnvironment("HOME", "/home/a");
    Platform::SetEnvironment("XDG_DATA_HOME", "/x/data");
    EXPECT_EQ(Platform::UserDataBase(), std::filesystem::path("/x/data"));
    // Unset or relative XDG_DATA_HOME: the default under the home folder.
    Platform::SetEnvironment("XDG_DATA_HOME", "");
    EXPECT_EQ(Platform::UserDataBase(), std::filesystem::path("/home/a/.local/share"));
    Platform::SetEnvironment("XDG_DATA_HOME", "rel/data");
    EXPECT_EQ(Platform::UserDataBase(), std::filesystem::path("/home/a/.local/share"));
    Platform::SetEnvironment("HOME", "relative-home");
    EXPECT_TRUE(Platform::UserDataBase().empty());
}

} // namespace
