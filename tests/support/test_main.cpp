// Test entry: a folder of its own for this process (support/test_environment.h), one platform
// Application for the whole binary (headless under QT_QPA_PLATFORM=offscreen), then every
// registered test.
#include <gtest/gtest.h>

#include "platform/application.h"
#include "support/test_environment.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tunova::testing::SetUpTestEnvironment();
    int result = 0;
    {
        plat::Application app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    tunova::testing::TearDownTestEnvironment();
    return result;
}
