// The adapter list and web links in the default browser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/web_link.h"
#include "platform/core/network.h"

namespace plat {
namespace {

TEST(NetworkTest, TheAdapterListHoldsTheLoopbackWithItsAddress) {
    const std::vector<NetworkAdapter> adapters = ListNetworkAdapters();
    ASSERT_FALSE(adapters.empty());
    bool sawLoopback = false;
    for (const NetworkAdapter& adapter : adapters) {
        EXPECT_FALSE(adapter.name.empty());
        EXPECT_LE(adapter.hardwareAddress.size(), 8u);
        if (adapter.loopback) {
            sawLoopback = true;
            EXPECT_EQ(adapter.ipv4Addresses, std::vector<std::string>{"127.0.0.1"});
        }
        for (const NetworkAdapter& other : adapters) {
            EXPECT_TRUE(&other == &adapter || other.name != adapter.name);  // one record each
        }
    }
    EXPECT_TRUE(sawLoopback);
}

TEST(WebLinkTest, AddressesGoToTheBrowserAndOnlyWebAddresses) {
    std::vector<std::string> opened;
    testing::InterceptBrowser([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    EXPECT_TRUE(OpenInBrowser("http://127.0.0.1:8080/"));
    EXPECT_TRUE(OpenInBrowser("https://example.org/web/bbs/board.php?bo_table=freeboard"));
    EXPECT_FALSE(OpenInBrowser("file:///etc/passwd"));
    EXPECT_FALSE(OpenInBrowser("/usr/bin/xterm"));
    EXPECT_FALSE(OpenInBrowser(""));
    testing::InterceptBrowser(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{
                          "http://127.0.0.1:8080/",
                          "https://example.org/web/bbs/board.php?bo_table=freeboard"}));
}

}  // namespace
}  // namespace plat
