// Where the build's run folder and the tests' source folders are. The absolute paths are
// compiled into test_paths.cpp alone, so the other test objects do not depend on where the
// checkout lies and a compiler cache serves them to every checkout.
#pragma once

#include <string>

namespace tunova::testing {

// The folder of the built programs and their data files (tunova, tunova-server, you.html, skin/).
std::string RunDir();
// The tests/ folder of the source tree.
std::string TestsSource();
#ifdef TUNOVA_SUITE_FOLDER
// The data/ folder of the suite this is compiled into (tests/SUITE/data).
inline std::string SuiteData() {
    return TestsSource() + "/" TUNOVA_SUITE_FOLDER "/data";
}
#endif

}  // namespace tunova::testing
