// A start without flags: the user's videos folder as the library and the config file's keys.
#include "server/server_config.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "support/test_environment.h"

namespace tunova::server {
namespace {

class ServerConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = tunova::testing::TestHome() + "/config-test";
        std::filesystem::remove_all(home_);
        std::filesystem::create_directories(home_ + "/.config/tunova");
        // The test main sets both for every test process.
        for (auto [name, saved] :
             {std::pair{"HOME", &savedHome_}, std::pair{"XDG_CONFIG_HOME", &savedConfig_}}) {
            const char* value = getenv(name);
            *saved = value != nullptr ? value : "";
        }
        ASSERT_FALSE(savedHome_.empty() || savedConfig_.empty());
        setenv("HOME", home_.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override {
        setenv("HOME", savedHome_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", savedConfig_.c_str(), 1);
    }
    void Write(const std::string& relative, const std::string& text) {
        std::ofstream(home_ + "/" + relative) << text;
    }

    std::string home_;
    std::string savedHome_;
    std::string savedConfig_;
};

TEST_F(ServerConfigTest, TheLibraryIsTheVideosFolderTheUserDirsName) {
    EXPECT_EQ(UserVideosFolder(), home_ + "/Videos");  // no user-dirs.dirs
    Write(".config/user-dirs.dirs",
          "# written by xdg-user-dirs-update\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n"
          "XDG_VIDEOS_DIR=\"$HOME/My Videos/\"\n");
    EXPECT_EQ(UserVideosFolder(), home_ + "/My Videos");
    Write(".config/user-dirs.dirs", "XDG_VIDEOS_DIR=\"/srv/media\"\n");
    EXPECT_EQ(UserVideosFolder(), "/srv/media");
    // The home folder itself switches the folder off; a relative path is not a folder name.
    for (const char* line : {"XDG_VIDEOS_DIR=\"$HOME/\"\n", "XDG_VIDEOS_DIR=\"videos\"\n"}) {
        Write(".config/user-dirs.dirs", line);
        EXPECT_EQ(UserVideosFolder(), home_ + "/Videos") << line;
    }
    EXPECT_EQ(ServerConfigPath(), home_ + "/.config/tunova/server.conf");
    setenv("XDG_CONFIG_HOME", (home_ + "/elsewhere").c_str(), 1);
    EXPECT_EQ(ServerConfigPath(), home_ + "/elsewhere/tunova/server.conf");
}

TEST_F(ServerConfigTest, TheConfigFileSetsLibraryPortAndCacheSize) {
    const OptionsParse defaults = ReadServerConfig(ServerConfigPath());  // no file
    ASSERT_TRUE(defaults) << defaults.error;
    EXPECT_EQ(defaults.options.library, home_ + "/Videos");
    EXPECT_EQ(defaults.options.port, 8080);
    EXPECT_EQ(defaults.options.cacheEntries, 1024);

    Write(".config/tunova/server.conf",
          "# my server\n\n  library = ~/mv/k-pop  \nport=9090\r\ncache_entries = 0\n"
          "media_cache = ~/copies\nmedia_cache_limit = 2G\n");
    const OptionsParse read = ReadServerConfig(ServerConfigPath());
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.options.library, home_ + "/mv/k-pop");
    EXPECT_EQ(read.options.port, 9090);
    EXPECT_EQ(read.options.cacheEntries, 0);
    EXPECT_EQ(read.options.mediaCache, home_ + "/copies");
    EXPECT_EQ(read.options.mediaCacheLimit, std::int64_t{2} << 30);

    for (const auto& [text, error] : std::initializer_list<std::pair<const char*, const char*>>{
             {"port=9090\nprot=1\n", "server.conf:2: unknown key prot"},
             {"port=70000\n", "server.conf:1: port must be 0 to 65535"},
             {"cache_entries=-1\n", "server.conf:1: cache_entries must be 0 to 1000000"},
             {"library=\n", "server.conf:1: library needs a folder"},
             {"library ~/x\n", "server.conf:1: expected key = value"},
             {"media_cache_limit = 5X\n", "server.conf:1: media_cache_limit must be a size"}}) {
        Write(".config/tunova/server.conf", text);
        const OptionsParse bad = ReadServerConfig(ServerConfigPath());
        EXPECT_FALSE(bad) << text;
        EXPECT_NE(bad.error.find(error), std::string::npos) << bad.error;
    }
}

TEST(ServerOptionsTest, SizesTakeAUnitAndStayInRange) {
    std::int64_t bytes = -1;
    for (const auto& [text, expected] :
         std::initializer_list<std::pair<const char*, std::int64_t>>{{"0", 0},
                                                                     {"1500", 1500},
                                                                     {"500M", 500LL << 20},
                                                                     {"20g", 20LL << 30},
                                                                     {"1T", 1LL << 40}}) {
        EXPECT_TRUE(ReadByteSize(text, bytes)) << text;
        EXPECT_EQ(bytes, expected) << text;
    }
    for (const char* bad : {"", "-1", "5X", "5MB", "M", "2000T", "99999999999999999999"}) {
        EXPECT_FALSE(ReadByteSize(bad, bytes)) << bad;
    }
    const OptionsParse parse = ParseServerOptions(
        {"--media-cache", "/tmp/copies", "--media-cache-limit", "0", "--ingest-only"});
    ASSERT_TRUE(parse) << parse.error;
    EXPECT_EQ(parse.options.mediaCache, "/tmp/copies");
    EXPECT_EQ(parse.options.mediaCacheLimit, 0);
    EXPECT_FALSE(ParseServerOptions({"--media-cache-limit", "lots"}));
}

}  // namespace
}  // namespace tunova::server
