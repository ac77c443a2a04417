#include "support/test_environment.h"
#include "support/test_paths.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tunova::testing {
namespace {

namespace fs = std::filesystem;

std::string g_home;

void SetFolder(const char* variable, const fs::path& folder) {
    fs::create_directories(folder);
    ::setenv(variable, folder.c_str(), 1);
}

// The player page and the skin lie in the build's run folder; the data folder links them.
void LinkRunFile(const fs::path& dataDir, const char* name) {
    const fs::path source = fs::path(tunova::testing::RunDir()) / name;
    std::error_code error;
    if (fs::exists(source, error)) {
        fs::create_symlink(source, dataDir / name, error);
    }
}

}  // namespace

void SetUpTestEnvironment() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/tunova-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("tunova tests: no temporary folder");
        std::exit(1);
    }
    g_home = pattern;
    const fs::path home = g_home;
    SetFolder("HOME", home);
    SetFolder("XDG_CONFIG_HOME", home / "config");
    SetFolder("XDG_DATA_HOME", home / "share");
    SetFolder("XDG_STATE_HOME", home / "state");
    SetFolder("XDG_CACHE_HOME", home / "cache");
    SetFolder("XDG_RUNTIME_DIR", home / "runtime");
    ::chmod((home / "runtime").c_str(), 0700);
    // No session bus unless a test starts its own: players never join the desktop's.
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    const fs::path data = home / "data";
    SetFolder("TUNOVA_DATA_DIR", data);
    LinkRunFile(data, "you.html");
    LinkRunFile(data, "skin");
    UseHost(kNoHost);
}

void TearDownTestEnvironment() {
    const char* keep = std::getenv("TUNOVA_KEEP_TEST_HOME");
    if (g_home.empty() || (keep != nullptr && std::string(keep) == "1")) {
        return;
    }
    std::error_code error;
    fs::remove_all(g_home, error);
}

const std::string& TestHome() {
    return g_home;
}

std::string TestDataDir() {
    return g_home + "/data";
}

void UseHost(const std::string& host) {
    ::setenv("TUNOVA_HOST", host.c_str(), 1);
}

}  // namespace tunova::testing
