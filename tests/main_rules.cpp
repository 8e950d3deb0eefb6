#include "support/TestEnvironment.h"
#include <gtest/gtest.h>

// The Qt-free layers are tested without any Qt object.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    SetUpTestEnvironment();
    return RUN_ALL_TESTS();
}
