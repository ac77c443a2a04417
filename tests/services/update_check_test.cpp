// The update flow against real servers on loopback: the probe, the version fetch and check, the
// updater beside the player, and the web links.
#include "services/update_check.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <vector>

#include "platform/controls/web_link.h"
#include "platform/core/files.h"
#include "services/registry_keys.h"
#include "services/services_fixture.h"
#include "support/loopback_server.h"
#include "support/raw_listener.h"

namespace tunova {
namespace {

using testing::LoopbackServer;
using testing::RawListener;
using testing::ServerReply;
using testing::ServerRequest;

class UpdateCheckTest : public testing::ServicesTest {
  protected:
    // Every request answers `status` with `body`.
    void Answer(int status, std::string body) {
        server.SetHandler([status, body](const ServerRequest&) {
            ServerReply reply;
            reply.status = status;
            reply.body = body;
            reply.contentType = "text/plain";
            return reply;
        });
    }

    LoopbackServer server;
};

TEST_F(UpdateCheckTest, TheProbePassesOnAnyAnswerAtTheFirstAttempt) {
    for (int status : {200, 404, 500}) {
        Answer(status, "x");
        const std::size_t before = server.Requests().size();
        EXPECT_TRUE(CheckServerReachable(Machine(), false, server.Host())) << status;
        ASSERT_EQ(server.Requests().size(), before + 1);
        EXPECT_EQ(server.Requests().back().target, "/update/update_tunova.php");
        EXPECT_EQ(server.Requests().back().userAgent, "total");
    }
    EXPECT_EQ(clock.TickCount(), 0u);  // no pause when the first attempt is answered
}

TEST_F(UpdateCheckTest, TheProbeTriesElevenTimesOrOnceWhenStartedByAutostart) {
    EXPECT_FALSE(CheckServerReachable(Machine(), false, testing::RefusedHost()));
    EXPECT_EQ(clock.TickCount(), 1100u);  // 11 failures, 100 ms after each
    EXPECT_FALSE(CheckServerReachable(Machine(), true, testing::RefusedHost()));
    EXPECT_EQ(clock.TickCount(), 1200u);

    RawListener breaking(RawListener::Mode::kCloseAtOnce);
    EXPECT_FALSE(CheckServerReachable(Machine(), true, breaking.Host()));
    EXPECT_EQ(breaking.Accepted(), 1);
    EXPECT_FALSE(CheckServerReachable(Machine(), false, breaking.Host()));
    EXPECT_EQ(breaking.Accepted(), 12);
}

TEST_F(UpdateCheckTest, AServerThatNeverAnswersCostsOneDeadlineNotEveryAttempt) {
    testing::SkippingClock skipping;
    plat::InstallClock(&skipping);
    RawListener silent(RawListener::Mode::kSilent);
    NetworkTimings quick;
    quick.attemptTimeoutMs = 300;
    quick.deadlineMs = 1000;
    const testing::Stopwatch stopwatch;
    EXPECT_FALSE(CheckServerReachable(testing::TestMachine(skipping), false, silent.Host(), quick));
    EXPECT_EQ(FetchUrlText(testing::TestMachine(skipping), silent.Host(), "/update/player_ver.php",
                           quick),
              "false");
    // Each loop stops at its deadline: about three or four timed-out attempts, not 11 or 62.
    EXPECT_LE(silent.Accepted(), 10);
    EXPECT_GE(silent.Accepted(), 4);
    EXPECT_LT(stopwatch.ElapsedMs(), 4000);
    plat::InstallClock(&clock);
}

TEST_F(UpdateCheckTest, FetchingTriesSixtyTwoTimesThenGivesFalse) {
    EXPECT_EQ(FetchUrlText(Machine(), testing::RefusedHost(), "/update/player_ver.php"), "false");
    EXPECT_EQ(clock.TickCount(), 6200u);
    RawListener breaking(RawListener::Mode::kCloseAtOnce);
    EXPECT_EQ(FetchServerVersion(Machine(), breaking.Host()), -1);
    EXPECT_EQ(breaking.Accepted(), 62);
}

TEST_F(UpdateCheckTest, VersionAnswersAreReadWithinTheirBounds) {
    struct Case {
        int status;
        std::string body;
        int version;
    };
    const std::vector<Case> cases = {
        {200, "3", 3},
        {200, " 12\r\n", 12},
        {200, "1e99", 1},
        {200, "abc", 0},
        {200, "", 0},
        {200, "99999999999999999999", INT_MAX},
        {200, "false", -1},
        {200, std::string(100, '7'), INT_MAX},   // 100 bytes: still an answer
        {200, "5" + std::string(100, ' '), -1},  // 101 bytes: "false"
        {200, std::string(1 << 20, '5'), -1},    // a huge answer is not read
        {404, "404 Not Found", -1},              // an error page is not a version
        {500, "7", -1},
    };
    for (const Case& c : cases) {
        Answer(c.status, c.body);
        const std::size_t before = server.Requests().size();
        EXPECT_EQ(FetchServerVersion(Machine(), server.Host()), c.version)
            << c.status << " " << c.body.size();
        EXPECT_EQ(server.Requests().size(), before + 1);  // an answer is never asked again
        EXPECT_EQ(server.Requests().back().target, "/update/player_ver.php");
    }
    EXPECT_EQ(clock.TickCount(), 0u);
}

TEST_F(UpdateCheckTest, TheInstalledVersionMustReachTheServers) {
    struct Case {
        const char* installed;  // null: absent
        int server;
        bool current;
    };
    const std::vector<Case> cases = {
        {"3.0", 3, true},     {"2.9", 3, false}, {nullptr, -1, false}, {"0", -1, true},
        {"0.5", 0, true},     {"1e99", 5, true}, {"nan", 0, true},     {"nan", 1, false},
        {"-1e99", -1, false}, {"x", 0, true},    {"4", 3, true},
    };
    for (const Case& c : cases) {
        ClearStore();
        Store(kTunovaKey, kValueVersionUp, "1");
        if (c.installed != nullptr) {
            Store(kTunovaKey, kValueVersion, c.installed);
        }
        EXPECT_EQ(IsInstalledVersionCurrent(settings, c.server), c.current)
            << (c.installed ? c.installed : "(absent)") << " vs " << c.server;
        EXPECT_EQ(Stored(kTunovaKey, kValueVersionUp).has_value(), c.current);
    }
    // A stored version too long for its 200-byte reader is absent.
    Store(kTunovaKey, kValueVersion, std::string(200, '9'));
    EXPECT_FALSE(IsInstalledVersionCurrent(settings, -1));
    Store(kTunovaKey, kValueVersion, std::string(199, '9'));
    EXPECT_TRUE(IsInstalledVersionCurrent(settings, INT_MAX));
}

TEST_F(UpdateCheckTest, TheNoticeNamesTheHomePage) {
    EXPECT_EQ(VersionNoticeText("example.org:81"),
              "투노바 플레이어를 최신버전으로 설치 / 업데이트해 주세요\r\n"
              "투노바 홈페이지 http://example.org:81/");
    std::vector<std::string> opened;
    plat::testing::InterceptBrowser([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    EXPECT_TRUE(OpenHomePage("example.org:81"));
    EXPECT_TRUE(OpenQnaBoard("example.org:81"));
    plat::testing::InterceptBrowser(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{
                          "http://example.org:81/",
                          "http://example.org:81/web/bbs/board.php?bo_table=freeboard"}));
}

class UpdaterLaunchTest : public testing::ServicesTest {
  protected:
    void SetUp() override {
        ServicesTest::SetUp();
        char pattern[] = "/tmp/tunova-updater-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        plat::ReplaceFile(folder_ + "/release", "");
        std::system(("rm -rf '" + folder_ + "'").c_str());
        ServicesTest::TearDown();
    }
    std::string WriteUpdater(const std::string& body, mode_t mode) {
        const std::string path = folder_ + "/tnu_update.exe";
        EXPECT_TRUE(plat::ReplaceFile(path, "#!/bin/sh\n" + body + "\n"));
        ::chmod(path.c_str(), mode);
        return path;
    }
    bool Ran() const { return plat::FileExists(folder_ + "/ran"); }

    std::string folder_;
};

TEST_F(UpdaterLaunchTest, OnlyASafeUpdaterIsStartedAndAnyOtherCountsAsMissing) {
    EXPECT_EQ(LaunchUpdater(folder_).error, plat::LaunchError::kMissing);
    const std::string body = "touch '" + folder_ + "/ran'";
    WriteUpdater(body, 0644);
    EXPECT_EQ(LaunchUpdater(folder_).error, plat::LaunchError::kUnsafe);
    WriteUpdater(body, 0775);
    EXPECT_EQ(LaunchUpdater(folder_).error, plat::LaunchError::kUnsafe);
    EXPECT_FALSE(Ran());
    EXPECT_FALSE(IsUpdaterRunning());
}

TEST_F(UpdaterLaunchTest, AGoodUpdaterRunsAndIsSeenUntilItEnds) {
    WriteUpdater("touch '" + folder_ + "/ran'\nwhile [ ! -e '" + folder_ +
                     "/release' ]; do sleep 0.02; done\n:",
                 0755);
    ASSERT_TRUE(LaunchUpdater(folder_));
    ASSERT_TRUE(testing::PumpUntil([&] { return Ran(); }, 10'000));
    EXPECT_TRUE(IsUpdaterRunning());
    ASSERT_TRUE(plat::ReplaceFile(folder_ + "/release", ""));
    EXPECT_TRUE(testing::PumpUntil([] { return !IsUpdaterRunning(); }, 10'000));
}

}  // namespace
}  // namespace tunova
