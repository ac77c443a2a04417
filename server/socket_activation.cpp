#include "server/socket_activation.h"

#include <sys/socket.h>
#include <systemd/sd-daemon.h>

#include <cstring>

namespace tunova::server {

InheritedSocket SystemdListenSocket() {
    InheritedSocket inherited;
    const int count = sd_listen_fds(1);
    if (count < 0) {
        inherited.error = std::string("systemd's sockets unreadable: ") + std::strerror(-count);
    } else if (count > 1) {
        inherited.error = "systemd passed " + std::to_string(count) + " sockets; expected one";
    } else if (count == 1) {
        const int fd = SD_LISTEN_FDS_START;
        if (sd_is_socket(fd, AF_UNSPEC, SOCK_STREAM, 1) <= 0) {
            inherited.error = "the socket systemd passed is not a listening stream socket";
        } else {
            inherited.fd = fd;
        }
    }
    return inherited;
}

}  // namespace tunova::server
