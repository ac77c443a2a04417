#include "support/test_paths.h"

namespace tunova::testing {

std::string RunDir() {
    return TUNOVA_RUN_DIR;
}

std::string TestsSource() {
    return TUNOVA_TESTS_SOURCE;
}

}  // namespace tunova::testing
