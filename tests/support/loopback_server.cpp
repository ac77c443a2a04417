// The loopback feed server and the real-time waits of the search tests. Compiled with UTF-8
// literals because httplib.h and <chrono> cannot be compiled as CP949.
#include "support/loopback_server.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/window/application.h"

namespace tunova::testing {

struct LoopbackServer::Impl {
    httplib::Server server;
    int port = 0;
    std::thread thread;
    mutable std::mutex mutex;
    std::condition_variable cv;
    Handler handler;
    bool released = false;
    std::vector<ServerRequest> requests;

    void Answer(const httplib::Request& request, httplib::Response& response) {
        ServerRequest seen;
        seen.target = request.target;
        seen.userAgent = request.get_header_value("User-Agent");
        if (request.has_param("start-index")) {
            seen.startIndex = std::atoi(request.get_param_value("start-index").c_str());
        }
        Handler current;
        {
            std::lock_guard lock(mutex);
            requests.push_back(seen);
            current = handler;
        }
        cv.notify_all();
        ServerReply reply;
        if (current) {
            reply = current(seen);
        } else {
            reply.status = 404;
        }
        if (reply.kind == ServerReply::Kind::kHold) {
            std::unique_lock lock(mutex);
            cv.wait_for(lock, std::chrono::seconds(10), [this] { return released; });
        }
        response.status = reply.status;
        if (reply.kind == ServerReply::Kind::kDropAfterHead) {
            auto body = std::make_shared<std::string>(reply.body);
            response.set_content_provider(
                body->size(), reply.contentType,
                [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                    sink.write(body->data(), std::min<std::size_t>(10, body->size()));
                    return false;
                });
            return;
        }
        response.set_content(reply.body, reply.contentType);
    }
};

LoopbackServer::LoopbackServer() : impl_(std::make_unique<Impl>()) {
    impl_->server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        impl_->Answer(request, response);
    });
    impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
    impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
}

LoopbackServer::~LoopbackServer() {
    Release();
    // stop() only takes effect once the accept loop runs.
    for (int i = 0; i < 1000 && !impl_->server.is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    impl_->server.stop();
    impl_->thread.join();
}

std::string LoopbackServer::Host() const {
    return "127.0.0.1:" + std::to_string(impl_->port);
}

void LoopbackServer::SetHandler(Handler handler) {
    std::lock_guard lock(impl_->mutex);
    impl_->handler = std::move(handler);
}

void LoopbackServer::Serve(std::string body) {
    SetHandler([body = std::move(body)](const ServerRequest&) {
        ServerReply reply;
        reply.body = body;
        return reply;
    });
}

void LoopbackServer::Release() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->released = true;
    }
    impl_->cv.notify_all();
}

bool LoopbackServer::WaitForRequests(std::size_t count) {
    std::unique_lock lock(impl_->mutex);
    return impl_->cv.wait_for(lock, std::chrono::seconds(5),
                              [&] { return impl_->requests.size() >= count; });
}

std::vector<ServerRequest> LoopbackServer::Requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

bool WaitUntil(const std::function<bool()>& done, long long timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

namespace {
long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

Stopwatch::Stopwatch() : startNs_(NowNs()) {}

long long Stopwatch::ElapsedMs() const {
    return (NowNs() - startNs_) / 1'000'000;
}

}  // namespace tunova::testing
