// Which hosts the player talks to: "tunova.conf" of the data folder, then TUNOVA_HOST; and the
// test folders every test process runs in.
#include "services/host_config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/core/data_dir.h"
#include "support/test_environment.h"

namespace tunova {
namespace {

namespace fs = std::filesystem;

class HostConfigTest : public ::testing::Test {
  protected:
    void TearDown() override {
        fs::remove(plat::DataFile("tunova.conf"));
        testing::UseHost(testing::kNoHost);
    }
    static void WriteConf(const std::string& text) {
        std::ofstream(plat::DataFile("tunova.conf")) << text;
    }
};

TEST_F(HostConfigTest, TheDataFolderFileSetsEachHostAndKeepsDefaultsForTheRest) {
    ::unsetenv("TUNOVA_HOST");
    WriteConf(
        "# local server\n"
        "feed_host = 10.0.0.1:81\n"
        "web_host=\n"
        "garbage line\n"
        "update_host=up.example:9\r\n");
    const HostConfig hosts = LoadHosts();
    EXPECT_EQ(hosts.feedHost, "10.0.0.1:81");
    EXPECT_EQ(hosts.updateHost, "up.example:9");
    EXPECT_EQ(hosts.webHost, "127.0.0.1:8080") << "an empty value keeps the default";
    EXPECT_EQ(hosts.playerEngine, "page");
    EXPECT_EQ(hosts.mpvRender, "auto");
    WriteConf("player_engine = mpv\nmpv_render=opengl\n");
    EXPECT_EQ(LoadHosts().playerEngine, "mpv");
    EXPECT_EQ(LoadHosts().mpvRender, "opengl");
}

TEST_F(HostConfigTest, TunovaHostReplacesEveryHostOfTheFile) {
    WriteConf("feed_host=10.0.0.1:81\n");
    testing::UseHost("127.0.0.1:4321");
    const HostConfig hosts = LoadHosts();
    EXPECT_EQ(hosts.feedHost, "127.0.0.1:4321");
    EXPECT_EQ(hosts.updateHost, "127.0.0.1:4321");
    EXPECT_EQ(hosts.webHost, "127.0.0.1:4321");
}

TEST(TestEnvironment, EveryFolderAPlayerWritesToIsInsideThisProcessesTemporaryFolder) {
    const std::string home = testing::TestHome();
    ASSERT_FALSE(home.empty());
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME",
                                 "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "TUNOVA_DATA_DIR"}) {
        const char* value = std::getenv(variable);
        ASSERT_NE(value, nullptr) << variable;
        EXPECT_TRUE(std::string(value).starts_with(home)) << variable << "=" << value;
        EXPECT_TRUE(fs::is_directory(value)) << variable;
    }
    EXPECT_EQ(plat::DataDir(), testing::TestDataDir());
    EXPECT_TRUE(fs::exists(plat::DataFile("you.html"))) << "the build's page is linked in";
    EXPECT_EQ(LoadHosts().feedHost, testing::kNoHost) << "no host until the test starts one";
}

}  // namespace
}  // namespace tunova
