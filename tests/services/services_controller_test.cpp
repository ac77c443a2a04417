// The start-up budget: the probe, the day's count and the version check share one allowance of
// network time, so silent servers cannot add their deadlines up.
#include "services/services_controller.h"

#include <gtest/gtest.h>

#include "platform/testing/testing.h"
#include "platform/window/dialog.h"
#include "platform/window/window.h"
#include "services/registry_keys.h"
#include "services/services_fixture.h"
#include "support/loopback_server.h"
#include "support/raw_listener.h"

namespace tunova {
namespace {

using ServicesControllerTest = testing::ServicesTest;

TEST_F(ServicesControllerTest, SilentServersShareOneStartUpBudget) {
    testing::SkippingClock skipping;
    plat::InstallClock(&skipping);
    Store(kTunovaKey, kValueVersion, "1");
    testing::LoopbackServer update;  // answers the probe, never the version
    update.SetHandler([](const testing::ServerRequest& request) {
        testing::ServerReply reply;
        if (request.target == "/update/player_ver.php") {
            reply.kind = testing::ServerReply::Kind::kHold;
        }
        return reply;
    });
    testing::RawListener web(testing::RawListener::Mode::kSilent);
    HostConfig hosts;
    hosts.updateHost = update.Host();
    hosts.webHost = web.Host();
    NetworkTimings timings;
    timings.connectTimeoutMs = 300;
    timings.attemptTimeoutMs = 300;
    timings.startupBudgetMs = 1000;
    plat::Window owner;
    ASSERT_TRUE(owner.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 10, 10), plat::kStylePopup));
    ServicesController services(owner, testing::TestMachine(skipping), hosts, timings);

    int notices = 0;
    plat::testing::InterceptMessageBoxes([&](const plat::testing::ShownMessageBox&) {
        ++notices;
        return plat::kIdOk;
    });
    const testing::Stopwatch stopwatch;
    ASSERT_TRUE(services.ProbeUpdateServer(false));
    services.SendUsageCount("counter");
    EXPECT_EQ(web.Accepted(), 1);
    services.CheckVersion();  // the version gets what the count left: about 600 ms
    update.Release();
    // About one budget in all (the last attempt may end a pause after it), not 300 ms for the
    // count plus a whole loop deadline for the version.
    EXPECT_LE(skipping.TickCount(), 1300u);
    EXPECT_LT(stopwatch.ElapsedMs(), 3000);
    std::size_t versionRequests = 0;
    for (const testing::ServerRequest& request : update.Requests()) {
        versionRequests += request.target == "/update/player_ver.php" ? 1 : 0;
    }
    EXPECT_GE(versionRequests, 1u);
    EXPECT_LE(versionRequests, 2u);
    EXPECT_EQ(Stored(kCountKey, kValueCountDay), "261208");
    EXPECT_EQ(notices, 0) << "no version answer: the installed one passes";
    plat::testing::InterceptMessageBoxes(nullptr);
    plat::InstallClock(&clock);
}

// A probe and a count that use the whole budget leave the version check no time: it is not passed
// silently but asked once the window shows, with its own time limits.
TEST_F(ServicesControllerTest, AVersionCheckTheBudgetSkippedRunsOnceTheWindowShows) {
    testing::SkippingClock skipping;
    plat::InstallClock(&skipping);
    Store(kTunovaKey, kValueVersion, "1");
    testing::LoopbackServer update;
    update.SetHandler([](const testing::ServerRequest& request) {
        testing::ServerReply reply;
        reply.body = request.target == "/update/player_ver.php" ? "2" : "ok";
        return reply;
    });
    testing::RawListener web(testing::RawListener::Mode::kSilent);
    HostConfig hosts;
    hosts.updateHost = update.Host();
    hosts.webHost = web.Host();
    NetworkTimings timings;
    timings.connectTimeoutMs = 300;
    timings.attemptTimeoutMs = 300;
    timings.startupBudgetMs = 300;  // the count's one attempt of 300 ms uses it up
    plat::Window owner;
    ASSERT_TRUE(owner.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 10, 10), plat::kStylePopup));
    ServicesController services(owner, testing::TestMachine(skipping), hosts, timings);
    int notices = 0;
    plat::testing::InterceptMessageBoxes([&](const plat::testing::ShownMessageBox&) {
        ++notices;
        return plat::kIdOk;
    });
    const auto versionRequests = [&] {
        std::size_t count = 0;
        for (const testing::ServerRequest& request : update.Requests()) {
            count += request.target == "/update/player_ver.php" ? 1 : 0;
        }
        return count;
    };

    ASSERT_TRUE(services.ProbeUpdateServer(false));
    services.SendUsageCount("counter");  // the silent web host takes the rest of the budget
    EXPECT_EQ(services.StartupBudgetLeftMs(), 0u);
    services.CheckVersion();
    EXPECT_EQ(versionRequests(), 0u);
    EXPECT_EQ(notices, 0);
    services.EndStartup();
    EXPECT_EQ(versionRequests(), 1u);
    EXPECT_EQ(notices, 1) << "the server's version 2 is newer than the installed 1";
    plat::testing::InterceptMessageBoxes(nullptr);
    plat::InstallClock(&clock);
}

}  // namespace
}  // namespace tunova
