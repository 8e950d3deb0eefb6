#include "support/TestEnvironment.h"
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    SetUpTestEnvironment();
    // Picture tests draw with Qt's image classes; a core application gives
    // them the plugin paths without a display.
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
