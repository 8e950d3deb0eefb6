// Termination signals reach the event loop through the watcher's pipe: each
// of SIGTERM, SIGHUP and SIGINT ends once, also from inside a modal box.
#include "app/Termination.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <csignal>

namespace {

TEST(TerminationWatcher, EachSignalEndsOnceHoweverManyFollow)
{
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        int ends = 0;
        TerminationWatcher watcher([&] { ++ends; });
        ASSERT_TRUE(watcher.Installed());
        EXPECT_FALSE(watcher.Ended());
        // Two in a row, as a desktop sends SIGTERM and then SIGHUP.
        ASSERT_EQ(::raise(signal), 0);
        ASSERT_EQ(::raise(SIGHUP), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ends > 0; }, 5000));
        QTest::qWait(50);
        EXPECT_EQ(ends, 1);
        EXPECT_TRUE(watcher.Ended());
        watcher.RequestEnd(); // the session's end after a signal
        EXPECT_EQ(ends, 1);
    }
}

TEST(TerminationWatcher, SignalArrivesWhileAModalBoxIsOpen)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("t"), QStringLiteral("open"), QMessageBox::Ok);
    int ends = 0;
    bool boxWasOpen = false;
    TerminationWatcher watcher([&] {
        ++ends;
        boxWasOpen = box.isVisible();
        box.reject();
    });
    QTimer::singleShot(0, [] { ::raise(SIGTERM); });
    // Only a safety net: the watcher closes the box long before.
    QTimer::singleShot(10000, &box, &QMessageBox::reject);
    box.exec();
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(boxWasOpen);
}

TEST(TerminationWatcher, HandlersAreGivenBackAndOnlyOneWatcherRuns)
{
    struct sigaction before {};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &before), 0);
    {
        TerminationWatcher first([] {});
        ASSERT_TRUE(first.Installed());
        struct sigaction during {};
        ::sigaction(SIGTERM, nullptr, &during);
        EXPECT_NE(during.sa_handler, before.sa_handler);
        // A second one would take the pipe from the first.
        TerminationWatcher second([] {});
        EXPECT_FALSE(second.Installed());
    }
    struct sigaction after {};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &after), 0);
    EXPECT_EQ(after.sa_handler, before.sa_handler);

    // And a new watcher can be made afterwards.
    int ends = 0;
    TerminationWatcher again([&] { ++ends; });
    EXPECT_TRUE(again.Installed());
    ::raise(SIGINT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ends == 1; }, 5000));
}

} // namespace
