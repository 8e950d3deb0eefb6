// The user's data folder on Windows is the roaming application data
// (%APPDATA%), so progress follows a domain profile.
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(UserDataBase, IsTheRoamingAppData)
{
    const std::filesystem::path base = Platform::UserDataBase();
    ASSERT_FALSE(base.empty());
    EXPECT_TRUE(base.is_absolute());
    EXPECT_TRUE(std::filesystem::is_directory(base));
    const wchar_t* appData = ::_wgetenv(L"APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_TRUE(std::filesystem::equivalent(base, std::filesystem::path(appData)));
    EXPECT_NE(Platform::Utf8Of(base).find("Roaming"), std::string::npos);
}

} // namespace
