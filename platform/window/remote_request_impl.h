// Platform-internal: the command socket's other users. The socket's server
// (window_registry.cpp) answers window commands itself; a connection whose first line is not
// one of them is offered first to the taker the requests' side (platform/desktop/
// remote_request.cpp) sets.
#pragma once

#include <QByteArray>

class QLocalSocket;

namespace plat {

// Takes over `socket`, whose first line is `line`, and returns true; or leaves it (false).
using ConnectionTaker = bool (*)(QLocalSocket* socket, const QByteArray& line);
void SetConnectionTaker(ConnectionTaker taker);

}  // namespace plat
