// Requests over the command socket: the handler table of this process, the serving side of a
// connection the socket's server hands over, and the sending side.
#include "platform/desktop/remote_request.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QObject>
#include <QTimer>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <map>
#include <memory>

#include "platform/core/log.h"
#include "platform/window/remote_request_impl.h"
#include "platform/window/window_registry.h"

namespace plat {
namespace {

constexpr char kRequestWord[] = "request ";
constexpr char kAnswerWord[] = "answer ";
constexpr qint64 kMaxHeadBytes = 64;
// A sender that stops halfway through its argument is cut off after this long.
constexpr int kArgumentWaitMs = 10'000;

std::map<std::string, RequestHandler, std::less<>>& Handlers() {
    static std::map<std::string, RequestHandler, std::less<>> handlers;
    return handlers;
}

// Reads a decimal length of at most `limit`; false for anything else.
bool ParseLength(std::string_view text, std::size_t limit, std::size_t& length) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    return error == std::errc() && end == text.data() + text.size() && length <= limit;
}

std::string_view ViewOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Splits "request NAME LENGTH\n" into its name and length; false when it is not one.
bool ParseHead(const QByteArray& head, std::string_view& name, std::size_t& length) {
    std::string_view line = ViewOf(head);
    if (!line.starts_with(kRequestWord) || !line.ends_with('\n')) {
        return false;
    }
    line.remove_prefix(sizeof kRequestWord - 1);
    line.remove_suffix(1);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) {
        return false;
    }
    name = line.substr(0, space);
    return IsRequestName(name) &&
           ParseLength(line.substr(space + 1), kMaxRequestArgumentBytes, length);
}

std::optional<std::string> Answer(std::string_view name, std::string_view argument) {
    const auto found = Handlers().find(name);
    if (found == Handlers().end()) {
        return std::nullopt;
    }
    // A copy: the handler may replace itself while it runs.
    const RequestHandler handler = found->second;
    std::optional<std::string> answer = handler(argument);
    if (answer && answer->size() > kMaxRequestAnswerBytes) {
        LogError("request", "answer to " + std::string(name) + " too long; refused");
        return std::nullopt;
    }
    return answer;
}

void WriteAnswer(QLocalSocket* socket, const std::optional<std::string>& answer) {
    if (answer) {
        socket->write(QByteArray(kAnswerWord) + QByteArray::number(qulonglong(answer->size())) +
                      '\n');
        socket->write(answer->data(), static_cast<qint64>(answer->size()));
    } else {
        socket->write("0\n");
    }
    socket->flush();
    socket->disconnectFromServer();
}

// The sending side on a plain local socket: it needs no event loop, so a start that only hands
// a command over never sets up the toolkit. Every wait is bounded by the caller's time limit.
class ClientSocket {
  public:
    ClientSocket() = default;
    ~ClientSocket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ClientSocket(const ClientSocket&) = delete;
    ClientSocket& operator=(const ClientSocket&) = delete;

    bool Connect(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof address.sun_path) {
            return false;
        }
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        return fd_ >= 0 &&
               ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    bool WriteAll(std::string_view bytes, int timeoutMs) {
        while (!bytes.empty()) {
            if (!Wait(POLLOUT, timeoutMs)) {
                return false;
            }
            const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent < 0 && errno != EINTR && errno != EAGAIN) {
                return false;
            }
            bytes.remove_prefix(sent > 0 ? static_cast<std::size_t>(sent) : 0);
        }
        return true;
    }
    // Reads up to and including the first line end; false past `limit` bytes without one.
    bool ReadLine(std::string& line, std::size_t limit, int timeoutMs) {
        while (true) {
            if (const std::size_t end = buffer_.find('\n'); end != std::string::npos) {
                line = buffer_.substr(0, end + 1);
                buffer_.erase(0, end + 1);
                return true;
            }
            if (buffer_.size() > limit || !Fill(timeoutMs)) {
                return false;
            }
        }
    }
    bool ReadExactly(std::string& bytes, std::size_t count, int timeoutMs) {
        while (buffer_.size() < count) {
            if (!Fill(timeoutMs)) {
                return false;
            }
        }
        bytes = buffer_.substr(0, count);
        buffer_.erase(0, count);
        return true;
    }

  private:
    bool Wait(short events, int timeoutMs) {
        pollfd entry{fd_, events, 0};
        int ready = 0;
        do {
            ready = ::poll(&entry, 1, timeoutMs);
        } while (ready < 0 && errno == EINTR);
        return ready > 0;
    }
    // Appends what arrives next; false at the end of the stream, on an error or in silence.
    bool Fill(int timeoutMs) {
        char chunk[16 * 1024];
        while (true) {
            if (!Wait(POLLIN, timeoutMs)) {
                return false;
            }
            const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
            if (got > 0) {
                buffer_.append(chunk, static_cast<std::size_t>(got));
                return true;
            }
            if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
                return false;
            }
        }
    }

    int fd_ = -1;
    std::string buffer_;
};

}  // namespace

bool IsRequestName(std::string_view name) {
    if (name.empty() || name.size() > kMaxRequestNameBytes) {
        return false;
    }
    for (const char c : name) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) {
            return false;
        }
    }
    return true;
}

void SetRequestHandler(std::string_view name, RequestHandler handler) {
    if (!IsRequestName(name)) {
        return;
    }
    if (handler) {
        Handlers()[std::string(name)] = std::move(handler);
    } else if (const auto found = Handlers().find(name); found != Handlers().end()) {
        Handlers().erase(found);
    }
}

namespace {

void ServeRequest(QLocalSocket* socket, const QByteArray& head) {
    std::string_view name;
    std::size_t length = 0;
    if (!ParseHead(head, name, length)) {
        WriteAnswer(socket, std::nullopt);
        return;
    }
    auto pending = std::make_shared<std::pair<std::string, std::size_t>>(std::string(name), length);
    auto serve = [socket, pending] {
        if (socket->bytesAvailable() < static_cast<qint64>(pending->second)) {
            return;  // the rest of the argument is still on its way
        }
        const QByteArray argument = socket->read(static_cast<qint64>(pending->second));
        QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
        WriteAnswer(socket, Answer(pending->first, ViewOf(argument)));
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, serve);
    QTimer::singleShot(kArgumentWaitMs, socket, [socket] { socket->abort(); });
    serve();
}

// A connection of the command socket whose first line opens a request is served here.
bool TakeRequest(QLocalSocket* socket, const QByteArray& line) {
    if (!line.startsWith(kRequestWord)) {
        return false;
    }
    QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
    ServeRequest(socket, line);
    return true;
}

[[maybe_unused]] const bool g_takingRequests = [] {
    SetConnectionTaker(&TakeRequest);
    return true;
}();

}  // namespace

RequestResult SendRequest(std::int64_t processId, std::string_view name, std::string_view argument,
                          int timeoutMs) {
    RequestResult result;
    if (!IsRequestName(name) || argument.size() > kMaxRequestArgumentBytes) {
        result.status = RequestStatus::kRefused;
        return result;
    }
    ClientSocket socket;
    if (!socket.Connect(CommandSocketPath(processId))) {
        return result;
    }
    const std::string head = std::string(kRequestWord) + std::string(name) + ' ' +
                             std::to_string(argument.size()) + '\n';
    if (!socket.WriteAll(head, timeoutMs) || !socket.WriteAll(argument, timeoutMs)) {
        return result;
    }
    std::string line;
    if (!socket.ReadLine(line, kMaxHeadBytes, timeoutMs)) {
        return result;
    }
    if (line == "0\n") {
        result.status = RequestStatus::kRefused;
        return result;
    }
    std::string_view text = line;
    std::size_t length = 0;
    if (!text.starts_with(kAnswerWord) || !text.ends_with('\n') ||
        !ParseLength(text.substr(sizeof kAnswerWord - 1, text.size() - sizeof kAnswerWord),
                     kMaxRequestAnswerBytes, length) ||
        !socket.ReadExactly(result.answer, length, timeoutMs)) {
        result.answer.clear();
        return result;
    }
    result.status = RequestStatus::kAnswered;
    return result;
}

}  // namespace plat
