// The usage count: partner id, hardware address, the request's text and once a day.
#include "services/usage_counter.h"

#include <gtest/gtest.h>

#include <vector>

#include "services/registry_keys.h"
#include "services/services_fixture.h"
#include "support/loopback_server.h"
#include "support/raw_listener.h"

namespace tunova {
namespace {

using UsageCounterTest = testing::ServicesTest;

plat::NetworkAdapter Adapter(const char* name, std::vector<std::uint8_t> address,
                             bool loopback = false) {
    return {name, loopback, std::move(address), {}};
}

TEST_F(UsageCounterTest, ThePartnerIdComesFromTheStoreOrIsTunova) {
    EXPECT_EQ(ReadPartnerId(settings), "tunova");
    Store(kTunovaKey, kValuePartnerId, "partner7");
    EXPECT_EQ(ReadPartnerId(settings), "partner7");
    Store(kTunovaKey, kValuePartnerId, std::string(260, 'p'));  // too long for its reader
    EXPECT_EQ(ReadPartnerId(settings), "tunova");
}

TEST_F(UsageCounterTest, TheAddressIsTheFirstRealSixByteOne) {
    const std::vector<plat::NetworkAdapter> adapters = {
        Adapter("lo", {0, 0, 0, 0, 0, 0}, true),
        Adapter("lo2", {1, 2, 3, 4, 5, 6}, true),
        Adapter("tun0", {}),
        Adapter("dummy", {0, 0, 0, 0, 0, 0}),
        Adapter("ib0", std::vector<std::uint8_t>(20, 0xAB)),
        Adapter("eth0", {0x02, 0xfc, 0x00, 0x0a, 0xbc, 0xff}),
        Adapter("eth1", {9, 9, 9, 9, 9, 9}),
    };
    EXPECT_EQ(FormatMacAddress(adapters), "02-FC-00-0A-BC-FF");
    EXPECT_EQ(FormatMacAddress({adapters.begin(), adapters.begin() + 5}), "");
    EXPECT_EQ(FormatMacAddress({}), "");
    const std::string mine = ReadMacAddress();
    EXPECT_TRUE(mine.empty() || mine.size() == 17) << mine;
}

TEST_F(UsageCounterTest, HostilePartnerIdsArePercentEncodedAfterTheMarkersGo) {
    const std::string prefix = "/web/counter/insert.php?in_pcode=21&in_pid=";
    const std::string mac = "02-FC-00-00-00-01";
    const std::string suffix = "&in_kind=6&in_mac=" + mac;
    EXPECT_EQ(CounterPath("tunova", mac), prefix + "tunova" + suffix);
    EXPECT_EQ(CounterPath("Part_ner-1.x~", mac), prefix + "Part_ner-1.x~" + suffix);
    EXPECT_EQ(CounterPath("a b&in_kind=9#x", mac), prefix + "a%20b%26in_kind%3D9%23x" + suffix);
    EXPECT_EQ(CounterPath("100%+/?", ""), prefix + "100%25%2B%2F%3F&in_kind=6&in_mac=");
    // Korean text is sent as UTF-8, like every query of the program.
    EXPECT_EQ(CounterPath("투노바", mac), prefix + "%ED%88%AC%EB%85%B8%EB%B0%94" + suffix);
    EXPECT_EQ(CounterPath("shop-my", mac), prefix + "shop" + suffix);
    EXPECT_EQ(CounterPath("xbmp/y-my-my", mac), prefix + "xy" + suffix);
    EXPECT_EQ(CounterPath("bbmp/mp/", mac), prefix + suffix);
    EXPECT_EQ(CounterPath("a\r\nb\x01", mac), prefix + "a%0D%0Ab%01" + suffix);
}

TEST_F(UsageCounterTest, OneCountADayAndTheDayIsRecordedEvenWhenSendingFails) {
    testing::LoopbackServer server;
    server.Serve("ok\n");
    EXPECT_EQ(CounterDay(clock), "261208");
    EXPECT_TRUE(SendUsageCount(Machine(), "p 1", "02-FC-00-00-00-01", server.Host()));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(
        server.Requests()[0].target,
        "/web/counter/insert.php?in_pcode=21&in_pid=p%201&in_kind=6&in_mac=02-FC-00-00-00-01");
    EXPECT_EQ(Stored(kCountKey, kValueCountDay), "261208");
    EXPECT_EQ(clock.TickCount(), 100u);  // the pause after recording

    EXPECT_FALSE(SendUsageCount(Machine(), "p", "", server.Host()));  // the same day: nothing
    clock.SetNow({2026, 12, 9, 0, 0, 1});
    EXPECT_TRUE(SendUsageCount(Machine(), "p", "", server.Host()));
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(Stored(kCountKey, kValueCountDay), "261209");

    // A day stored with leading zeros or trailing text is compared as a number.
    Store(kCountKey, kValueCountDay, "0261209x");
    EXPECT_FALSE(SendUsageCount(Machine(), "p", "", server.Host()));

    // No server: the day is still recorded, so the count is not retried that day.
    clock.SetNow({2027, 1, 2, 8, 0, 0});
    EXPECT_TRUE(SendUsageCount(Machine(), "p", "", testing::RefusedHost()));
    EXPECT_EQ(Stored(kCountKey, kValueCountDay), "270102");
    EXPECT_FALSE(SendUsageCount(Machine(), "p", "", server.Host()));
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(UsageCounterTest, TheFirstCountEverStoresOneWhileItSends) {
    testing::LoopbackServer server;
    std::optional<std::string> storedDuringRequest;
    server.SetHandler([&](const testing::ServerRequest&) {
        storedDuringRequest = Stored(kCountKey, kValueCountDay);
        testing::ServerReply reply;
        reply.body = "ok\n";
        return reply;
    });
    clock.SetNow({2001, 1, 1, 0, 0, 0});  // "010101" reads as 10101, never 1
    EXPECT_TRUE(SendUsageCount(Machine(), "p", "", server.Host()));
    EXPECT_EQ(storedDuringRequest, "1");
    EXPECT_EQ(Stored(kCountKey, kValueCountDay), "010101");
    // A server that breaks the connection gets one attempt, no retry.
    clock.SetNow({2001, 1, 2, 0, 0, 0});
    testing::RawListener breaking(testing::RawListener::Mode::kCloseAtOnce);
    EXPECT_TRUE(SendUsageCount(Machine(), "p", "", breaking.Host()));
    EXPECT_EQ(breaking.Accepted(), 1);
}

TEST_F(UsageCounterTest, WithNoTimeLeftTheCountIsNotSentButTheDayIsRecorded) {
    testing::LoopbackServer server;
    server.Serve("ok\n");
    NetworkTimings noTime;
    noTime.deadlineMs = 0;
    EXPECT_TRUE(SendUsageCount(Machine(), "p", "", server.Host(), noTime));
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_EQ(Stored(kCountKey, kValueCountDay), "261208");
}

TEST_F(UsageCounterTest, AnAutostartCommandLineIsRecognised) {
    EXPECT_TRUE(StartedByAutostart({"/run"}));
    EXPECT_TRUE(StartedByAutostart({"--search", "x", "/run"}));
    // A word that merely holds "run" is a start by the user.
    EXPECT_FALSE(StartedByAutostart({"--search", "running"}));
    EXPECT_FALSE(StartedByAutostart({"--rerun"}));
    EXPECT_FALSE(StartedByAutostart({"/run/user/1000/x.m3u"}));
    EXPECT_FALSE(StartedByAutostart({}));
    EXPECT_FALSE(StartedByAutostart({"/RUN"}));
}

}  // namespace
}  // namespace tunova
