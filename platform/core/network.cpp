// The adapter list from getifaddrs(): one record per interface name.
#include "platform/core/network.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>

namespace plat {

std::vector<NetworkAdapter> ListNetworkAdapters() {
    std::vector<NetworkAdapter> adapters;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        return adapters;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_name == nullptr) {
            continue;
        }
        auto adapter = std::find_if(adapters.begin(), adapters.end(), [&](const NetworkAdapter& a) {
            return a.name == entry->ifa_name;
        });
        if (adapter == adapters.end()) {
            adapters.push_back({entry->ifa_name, (entry->ifa_flags & IFF_LOOPBACK) != 0, {}, {}});
            adapter = adapters.end() - 1;
        }
        if (entry->ifa_addr == nullptr) {
            continue;
        }
        if (entry->ifa_addr->sa_family == AF_PACKET) {
            const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
            const std::size_t length =
                std::min<std::size_t>(link->sll_halen, sizeof(link->sll_addr));
            adapter->hardwareAddress.assign(link->sll_addr, link->sll_addr + length);
        } else if (entry->ifa_addr->sa_family == AF_INET) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            char text[INET_ADDRSTRLEN] = {};
            if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof(text)) != nullptr) {
                adapter->ipv4Addresses.emplace_back(text);
            }
        }
    }
    ::freeifaddrs(list);
    return adapters;
}

}  // namespace plat
