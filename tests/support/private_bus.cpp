#include "support/private_bus.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/window/application.h"
#include "support/test_environment.h"

namespace tunova::testing {
namespace {

long long MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string FreshPath(const char* what) {
    static std::atomic<int> counter{0};
    return TestHome() + "/" + what + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(++counter);
}

// Starts `argv` with standard output and error in files; -1 on failure. The child is ended with
// this process, so a test that crashes leaves no bus or monitor behind.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& out, const std::string& err) {
    std::vector<char*> args;
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    // Only async-signal-safe calls between fork and exec.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) {
        ::_exit(127);
    }
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0) {
        ::_exit(127);
    }
    ::execvp(args[0], args.data());
    ::_exit(127);
}

void Stop(pid_t pid) {
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
}

}  // namespace

PrivateBus::PrivateBus() {
    const std::string out = FreshPath("bus-address");
    pid_ = Spawn({"dbus-daemon", "--session", "--nofork", "--print-address"}, out, out + ".err");
    if (pid_ <= 0) {
        return;
    }
    const long long end = MonotonicMs() + 10'000;
    while (MonotonicMs() < end) {
        const std::string text = ReadAll(out);
        if (const std::size_t line = text.find('\n'); line != std::string::npos) {
            address_ = text.substr(0, line);
            ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
            return;
        }
        usleep(20 * 1000);
    }
}

PrivateBus::~PrivateBus() {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    Stop(pid_);
}

CommandRun RunPumping(const std::vector<std::string>& argv, long long limitMs) {
    CommandRun run;
    const std::string out = FreshPath("run-out");
    const std::string err = FreshPath("run-err");
    const pid_t pid = Spawn(argv, out, err);
    if (pid <= 0) {
        return run;
    }
    const long long end = MonotonicMs() + limitMs;
    int status = 0;
    while (MonotonicMs() < end) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            run.ended = true;
            break;
        }
        plat::Application::ProcessEvents();
        usleep(5 * 1000);
    }
    if (!run.ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = ReadAll(out);
    run.errors = ReadAll(err);
    return run;
}

CommandRun CallOnBus(const std::string& busName, const std::string& member,
                     const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"dbus-send",
                                     "--session",
                                     "--print-reply",
                                     "--reply-timeout=10000",
                                     "--dest=" + busName,
                                     "/org/mpris/MediaPlayer2",
                                     member};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunPumping(argv);
}

BusMonitor::BusMonitor(const std::string& matchRule) : path_(FreshPath("bus-monitor")) {
    pid_ = Spawn({"dbus-monitor", "--session", matchRule}, path_, path_ + ".err");
    // Once dbus-monitor watches, it gives up its own bus name and prints that NameLost.
    if (pid_ > 0 && !WaitToSee("member=NameLost", 1, 10'000)) {
        Stop(pid_);
        pid_ = -1;
    }
}

BusMonitor::~BusMonitor() {
    Stop(pid_);
}

std::string BusMonitor::Seen() const {
    return ReadAll(path_);
}

bool BusMonitor::WaitToSee(const std::string& text, int count, long long limitMs) const {
    const long long end = MonotonicMs() + limitMs;
    while (true) {
        if (CountOf(Seen(), text) >= count) {
            return true;
        }
        if (MonotonicMs() >= end) {
            return false;
        }
        plat::Application::ProcessEvents();
        usleep(10 * 1000);
    }
}

int CountOf(const std::string& text, const std::string& needle) {
    int count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size())) {
        ++count;
    }
    return count;
}

}  // namespace tunova::testing
