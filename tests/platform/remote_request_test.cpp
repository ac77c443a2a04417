// Requests between processes over the command socket: answers of any bytes, refusals, and
// senders that misbehave without holding up the next one.
#include "platform/desktop/remote_request.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <future>
#include <string>

#include "platform/core/system.h"
#include "platform/window/application.h"
#include "platform/window/window.h"
#include "platform/window/window_registry.h"

namespace plat {
namespace {

// Sends from another thread (this one serves the socket) and pumps events until the answer.
RequestResult SendPumping(std::string_view name, std::string_view argument) {
    auto answer = std::async(std::launch::async, [name, argument] {
        return SendRequest(CurrentProcessId(), name, argument, 5000);
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready &&
           std::chrono::steady_clock::now() < deadline) {
        Application::ProcessEvents();
    }
    return answer.get();
}

// A raw connection to this process's command socket.
int ConnectRaw() {
    const std::string path = CommandSocketPath(CurrentProcessId());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

class RemoteRequestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The socket opens with the first published window.
        ASSERT_TRUE(window.Create(nullptr, 0, Rect::FromXYWH(0, 0, 50, 50)));
        window.SetText("remote request test");
    }
    void TearDown() override {
        SetRequestHandler("echo", {});
        SetRequestHandler("refuse", {});
    }
    Window window;
};

TEST_F(RemoteRequestTest, AnyBytesGoThereAndBackWhole) {
    std::string seen;
    SetRequestHandler("echo", [&](std::string_view argument) -> std::optional<std::string> {
        seen = argument;
        return "answer to " + std::string(argument);
    });
    // Line ends, zero bytes and a lone "0\n" inside the argument are only bytes.
    const std::string binary("a\nrequest x 1\n\0\n0\n", 18);
    RequestResult result = SendPumping("echo", binary);
    ASSERT_TRUE(result);
    EXPECT_EQ(seen, binary);
    EXPECT_EQ(result.answer, "answer to " + binary);

    // The largest argument, and an answer of megabytes.
    const std::string large(kMaxRequestArgumentBytes, 'x');
    SetRequestHandler("echo", [](std::string_view argument) -> std::optional<std::string> {
        return std::string(argument) + std::string(3 * 1024 * 1024, 'y');
    });
    result = SendPumping("echo", large);
    ASSERT_TRUE(result);
    EXPECT_EQ(result.answer.size(), large.size() + 3 * 1024 * 1024);

    // An empty argument and an empty answer.
    SetRequestHandler("echo", [](std::string_view) -> std::optional<std::string> { return ""; });
    result = SendPumping("echo", "");
    EXPECT_EQ(result.status, RequestStatus::kAnswered);
    EXPECT_EQ(result.answer, "");
}

TEST_F(RemoteRequestTest, RefusalsAreToldApartFromAnAbsentProcess) {
    SetRequestHandler("refuse", [](std::string_view) { return std::optional<std::string>(); });
    EXPECT_EQ(SendPumping("refuse", "x").status, RequestStatus::kRefused);
    EXPECT_EQ(SendPumping("nobody-serves-this", "x").status, RequestStatus::kRefused);
    SetRequestHandler("refuse", {});  // no longer served
    EXPECT_EQ(SendPumping("refuse", "x").status, RequestStatus::kRefused);

    // Refused before anything is sent: names outside a-z 0-9 '-', and arguments over the limit.
    for (const char* name : {"", "Upper", "with space", "a/b", "x\n0"}) {
        EXPECT_EQ(SendRequest(CurrentProcessId(), name, "").status, RequestStatus::kRefused)
            << name;
    }
    EXPECT_EQ(
        SendRequest(CurrentProcessId(), std::string(kMaxRequestNameBytes + 1, 'a'), "").status,
        RequestStatus::kRefused);
    EXPECT_EQ(
        SendRequest(CurrentProcessId(), "echo", std::string(kMaxRequestArgumentBytes + 1, 'x'))
            .status,
        RequestStatus::kRefused);
    SetRequestHandler("Bad Name", [](std::string_view) { return std::optional<std::string>(""); });
    EXPECT_EQ(SendPumping("bad-name", "").status, RequestStatus::kRefused);

    // A process without a socket (this test's parent shell has none of ours).
    EXPECT_EQ(SendRequest(::getppid(), "echo", "x", 1000).status, RequestStatus::kUnreachable);
}

TEST_F(RemoteRequestTest, BrokenAndStalledSendersNeitherCrashNorHoldUpTheNext) {
    int calls = 0;
    SetRequestHandler("echo", [&](std::string_view argument) -> std::optional<std::string> {
        ++calls;
        return std::string(argument);
    });
    // A length past the limit, a length that is not a number, and a head without a length.
    for (const char* head : {"request echo 99999999999\n", "request echo 12x\n",
                             "request echo -1\n", "request echo\n"}) {
        const int fd = ConnectRaw();
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::send(fd, head, std::strlen(head), 0), static_cast<ssize_t>(std::strlen(head)));
        std::string reply;
        char buffer[64];
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (reply.find('\n') == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            Application::ProcessEvents();
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (got > 0) {
                reply.append(buffer, static_cast<std::size_t>(got));
            }
        }
        ::close(fd);
        EXPECT_EQ(reply, "0\n") << head;
    }
    // A sender that promises 100 bytes and sends 3 does not hold up the one after it.
    const int stalled = ConnectRaw();
    ASSERT_GE(stalled, 0);
    ASSERT_EQ(::send(stalled, "request echo 100\nabc", 20, 0), 20);
    const RequestResult next = SendPumping("echo", "next");
    ::close(stalled);
    ASSERT_TRUE(next);
    EXPECT_EQ(next.answer, "next");
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace plat
