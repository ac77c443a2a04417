// The listening socket systemd hands over when it starts the server for the first connection to
// its socket unit (socket activation, as tunova-server.socket and systemd-socket-activate do).
#pragma once

#include <string>

namespace tunova::server {

struct InheritedSocket {
    int fd = -1;        // the listening socket, -1 when none was handed over
    std::string error;  // why a handed-over socket cannot be used; empty otherwise
    explicit operator bool() const { return error.empty(); }
};

// The one listening stream socket systemd passed to this process (LISTEN_FDS and LISTEN_PID,
// which are cleared so that children do not take it too). fd -1 without an error when the
// server was started otherwise; an error when more than one socket, or one that is not a
// listening stream socket, was passed.
InheritedSocket SystemdListenSocket();

}  // namespace tunova::server
