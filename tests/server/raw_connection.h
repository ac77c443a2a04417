// A plain TCP connection for speaking HTTP by hand: half requests, trickled bytes, idle
// connections. Every wait has a time bound.
#pragma once

#include <cstddef>
#include <string>

namespace tunova::server::testing {

class RawConnection {
  public:
    // Connects to 127.0.0.1:`port` from `source` (any 127.x.y.z address stands for another
    // client on this machine). Check connected().
    RawConnection(int port, const std::string& source = "127.0.0.1");
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return fd_ >= 0; }
    // Sends all of `bytes`; false when the server has closed the connection.
    bool Send(const std::string& bytes);
    // Tells the server this side will send nothing more (a half close).
    void FinishSending();
    // What arrives until the server closes the connection or `timeoutMs` passes.
    std::string ReadUntilClosed(int timeoutMs);
    // What arrives until `bytes` holds one whole answer (head and Content-Length body), the
    // connection closes, or `timeoutMs` passes.
    std::string ReadAnswer(int timeoutMs);
    // What arrives until it holds `count` bytes or more, the connection closes, or `timeoutMs`
    // passes.
    std::string ReadAtLeast(std::size_t count, int timeoutMs);
    // Closes the connection: normally, or by a reset (SO_LINGER 0) when `reset`.
    void Close(bool reset);
    // True when the server closed the connection within `timeoutMs`.
    bool ClosedWithin(int timeoutMs);
    // True when the server closed the connection (or sent bytes) already.
    bool Closed() const { return closed_; }

  private:
    // Reads what is there within `timeoutMs`; false on time-out.
    bool ReadSome(int timeoutMs, std::string& into);
    int fd_ = -1;
    bool closed_ = false;
};

// Whether this machine lets a client use 127.0.0.2 as its own address.
bool SecondLoopbackAddressWorks();

}  // namespace tunova::server::testing
