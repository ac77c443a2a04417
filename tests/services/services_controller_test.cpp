// The start-up budget: the probe, the day's count and the version check share one allowance of
// network time, so silent servers cannot add their deadlines up.
#include "services/services_controller.h"

#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/testing.h"
#include "platform/window.h"
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
    ServicesController services(owner, hosts, timings);

    int notices = 0;
    plat::testing::InterceptMessageBoxes([&](const plat::testing::ShownMessageBox&) {
        ++notices;
        return plat::kIdOk;
    });
    const testing::Stopwatch stopwatch;
    ASSERT_TRUE(services.ProbeUpdateServer(""));
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

}  // namespace
}  // namespace tunova
