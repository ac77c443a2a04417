// Test entry: a folder of its own for this process (support/test_environment.h), one platform
// Application for the whole binary (headless under QT_QPA_PLATFORM=offscreen), then every
// registered test.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/window/application.h"
#include "support/test_environment.h"

// Under AddressSanitizer the web engine's own library frees memory with a mismatched delete
// (not our code); ASAN_OPTIONS from the environment still add to or override these.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0:new_delete_type_mismatch=0";
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tunova::testing::SetUpTestEnvironment();
    // The web engine, whoever starts the tests: no sandbox (tests may run as root, which the
    // engine's sandbox refuses) and no GPU. Read when the engine starts.
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
    int result = 0;
    {
        plat::Application app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    tunova::testing::TearDownTestEnvironment();
    return result;
}
