// The server's listening socket, made apart from the HTTP engine so that a socket opened by
// someone else (a service manager passing it on) can be served the same way.
#pragma once

#include <string>

namespace tunova::server {

// A listening TCP socket on `host` (an address or name) and `port` (0: a free one), or -1 with
// `error` set. The caller owns the descriptor.
int OpenListeningSocket(const std::string& host, int port, std::string& error);

// The port `socket` listens on, or -1 when it is not a bound socket.
int ListeningPort(int socket);

}  // namespace tunova::server
