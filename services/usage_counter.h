// The daily usage count: the partner id, the network adapter's hardware address and one
// request a day to the counter on the vendor's web host.
#pragma once

#include <string>
#include <vector>

#include "platform/core/network.h"
#include "platform/desktop/machine_services.h"
#include "services/update_check.h"

namespace tunova {

// "pid" of the installation in `store`, or "tunova" when it is absent.
std::string ReadPartnerId(const plat::SettingsStore& store);

// The hardware address of the first adapter that is not a loopback and has a six-byte address
// other than all zeros, as "%02X-%02X-%02X-%02X-%02X-%02X"; empty when there is none.
std::string FormatMacAddress(const std::vector<plat::NetworkAdapter>& adapters);
// FormatMacAddress of this machine's adapters.
std::string ReadMacAddress();

// The counter's path and query for `partnerId` and `macText`: the markers "bmp/" and "-my" are
// removed from the id, the rest is sent in UTF-8 percent form (letters, digits, '-', '.', '_'
// and '~' as they are), and the address text is appended.
std::string CounterPath(const std::string& partnerId, const std::string& macText);

// Today's date as the counter stores it, "%y%m%d" on `clock`.
std::string CounterDay(const plat::Clock& clock);

// Unless today's count was recorded already, sends it to `webHost` (one attempt, the answer
// ignored, given at most the timings' attempt time and deadline; none when the deadline is 0)
// and records today in "count_exe", even when the request failed or had no time. Returns true
// when today's count was due. The caller skips this on an autostart start. The day, the store
// and the request are those of `machine`.
bool SendUsageCount(const plat::MachineServices& machine, const std::string& partnerId,
                    const std::string& macText, const std::string& webHost,
                    const NetworkTimings& timings = {});

}  // namespace tunova
