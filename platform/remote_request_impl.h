// Platform-internal: the request side of a process's command socket. The socket's server
// (window_registry.cpp) hands over every connection whose first line begins with "request ".
#pragma once

#include <QByteArray>

class QLocalSocket;

namespace plat {

// True when `line` (the first line of a connection) opens a request.
bool IsRequestHead(const QByteArray& line);
// Reads the argument that follows `head` on `socket`, runs the handler and writes its answer,
// then closes the connection. Takes over the socket's readyRead.
void ServeRequest(QLocalSocket* socket, const QByteArray& head);

}  // namespace plat
