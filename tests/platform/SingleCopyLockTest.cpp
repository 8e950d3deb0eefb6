// The single-copy lock of a working folder: one holder at a time, held again
// once let go, the same folder met under another spelling, other folders
// never blocked; the same in this process as across processes (flock per
// open file, a named mutex per handle).
#include "platform/SingleCopyLock.h"

#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Lock = Platform::SingleCopyLock;

TEST(SingleCopyLock, OneHolderPerFolderAtATime)
{
    WorkFolder folder;
    auto first = std::make_unique<Lock>("UniqueName", folder.Path());
    ASSERT_EQ(first->Acquire(), Lock::Result::Held) << first->Problem();
    EXPECT_EQ(first->Acquire(), Lock::Result::Held); // asking again keeps it

    Lock second("UniqueName", folder.Path());
    EXPECT_EQ(second.Acquire(), Lock::Result::TakenByAnother);
    EXPECT_EQ(second.Where(), first->Where());
    // The same folder named another way is the same folder.
    Lock respelled("UniqueName", folder.Path() + "/.");
    EXPECT_EQ(respelled.Acquire(), Lock::Result::TakenByAnother);

    first.reset();
    Lock third("UniqueName", folder.Path());
    EXPECT_EQ(third.Acquire(), Lock::Result::Held) << third.Problem();
}

TEST(SingleCopyLock, OtherFoldersAndNamesDoNotMeet)
{
    WorkFolder one, two;
    Lock a("UniqueName", one.Path());
    Lock b("UniqueName", two.Path());
    Lock c("OtherName", one.Path());
    EXPECT_EQ(a.Acquire(), Lock::Result::Held) << a.Problem();
    EXPECT_EQ(b.Acquire(), Lock::Result::Held) << b.Problem();
    EXPECT_EQ(c.Acquire(), Lock::Result::Held) << c.Problem();
    EXPECT_NE(a.Where(), b.Where());
    EXPECT_NE(a.Where(), c.Where());
}

} // namespace
