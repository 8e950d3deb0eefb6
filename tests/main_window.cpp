#include "app/AppSupport.h"
#include "window/MessageBox.h"
#include "support/TestEnvironment.h"
#include "support/ShownMessages.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    SetUpTestEnvironment();
    // The program's own application object, so its error handling is tested.
    MiretoApplication app(argc, argv);
    // No test may ever wait on a modal box.
    ShownMessages::Record(true);
    return RUN_ALL_TESTS();
}
