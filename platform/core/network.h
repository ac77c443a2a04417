// Network adapters in place of the system's adapter list.
//
// Mapping on Linux: getifaddrs(). Each interface appears once, in the order the system lists
// them (by interface index), with its link-layer (hardware) address from its packet-socket
// entry and its IPv4 addresses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

struct NetworkAdapter {
    std::string name;  // "eth0", "wlp2s0", "lo"
    bool loopback = false;
    std::vector<std::uint8_t> hardwareAddress;  // as long as the link layer says (6 for Ethernet)
    std::vector<std::string> ipv4Addresses;     // dotted text
};

// Every interface of this machine; empty when the list cannot be had.
std::vector<NetworkAdapter> ListNetworkAdapters();

}  // namespace plat
