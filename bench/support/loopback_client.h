// A TCP connection to a server on this machine, from a chosen loopback address: any 127.x.y.z
// address stands for another client, so per-address limits can be tried from one process.
#pragma once

#include <string>

namespace tunova::support {

// A connected, blocking socket from `source` to 127.0.0.1:`port`; -1 when it cannot be bound or
// connected. The caller closes it.
int ConnectFrom(int port, const std::string& source);

}  // namespace tunova::support
