// Every test process runs in a folder of its own. Before the first test, the test main points
// HOME and the XDG folders (XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_STATE_HOME, XDG_CACHE_HOME,
// XDG_RUNTIME_DIR) at a fresh temporary folder, sets TUNOVA_DATA_DIR to a data folder inside
// it (with the player page and the skin of the build linked in) and TUNOVA_HOST to an address
// where nothing listens. Players the test starts inherit all of it, so no test touches the
// user's files, shares a data file with another test process, or reaches a host it did not
// start. The folder is removed when the process ends (TUNOVA_KEEP_TEST_HOME=1 keeps it).
#pragma once

#include <string>

namespace tunova::testing {

// The address every service points at until a test says otherwise: nothing ever listens on
// port 0, so a request fails at once.
inline constexpr char kNoHost[] = "127.0.0.1:0";

// Creates the folders and sets the environment; called once by the test main.
void SetUpTestEnvironment();
// Removes the folder (unless kept); called once by the test main after the last test.
void TearDownTestEnvironment();

// The process's temporary folder (HOME) and its data folder (TUNOVA_DATA_DIR).
const std::string& TestHome();
std::string TestDataDir();

// Points this process and the players it starts at `host` ("127.0.0.1:PORT") for every service;
// UseHost(kNoHost) points them nowhere again.
void UseHost(const std::string& host);

}  // namespace tunova::testing
