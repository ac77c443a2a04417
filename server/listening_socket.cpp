#include "server/listening_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tunova::server {

int OpenListeningSocket(const std::string& host, int port, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        error = host + ": " + gai_strerror(rc);
        return -1;
    }
    int listening = -1;
    for (addrinfo* at = found; at != nullptr && listening < 0; at = at->ai_next) {
        const int fd = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
        if (fd < 0) {
            error = std::strerror(errno);
            continue;
        }
        const int yes = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (bind(fd, at->ai_addr, at->ai_addrlen) != 0 || listen(fd, 1024) != 0) {
            error = std::strerror(errno);
            close(fd);
            continue;
        }
        listening = fd;
    }
    freeaddrinfo(found);
    return listening;
}

int ListeningPort(int socket) {
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
        return -1;
    }
    if (bound.ss_family == AF_INET) {
        return ntohs(reinterpret_cast<const sockaddr_in&>(bound).sin_port);
    }
    if (bound.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6&>(bound).sin6_port);
    }
    return -1;
}

}  // namespace tunova::server
