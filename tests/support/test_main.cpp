// Test entry: one platform Application for the whole binary (headless under
// QT_QPA_PLATFORM=offscreen), then every registered test.
#include <gtest/gtest.h>

#include "platform/application.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    plat::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
