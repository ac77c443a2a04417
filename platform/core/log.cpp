#include "platform/core/log.h"

#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/core/codepage.h"

namespace plat {
namespace {

constexpr int kUnread = -1;
std::atomic<int> g_logLevel{kUnread};
std::atomic<int> g_trace{kUnread};

int ReadLogLevel() {
    const char* value = std::getenv("TUNOVA_LOG");
    if (value == nullptr) {
        return 0;
    }
    if (std::strcmp(value, "error") == 0) {
        return static_cast<int>(LogLevel::kError);
    }
    if (std::strcmp(value, "info") == 0) {
        return static_cast<int>(LogLevel::kInfo);
    }
    if (std::strcmp(value, "debug") == 0) {
        return static_cast<int>(LogLevel::kDebug);
    }
    return 0;
}

int Setting(std::atomic<int>& cached, int (*read)()) {
    int value = cached.load(std::memory_order_relaxed);
    if (value == kUnread) {
        value = read();
        cached.store(value, std::memory_order_relaxed);
    }
    return value;
}

int ReadTrace() {
    const char* value = std::getenv("TUNOVA_TRACE");
    return value != nullptr && std::strcmp(value, "1") == 0 ? 1 : 0;
}

const char* LevelName(LogLevel level) {
    switch (level) {
        case LogLevel::kError:
            return "error";
        case LogLevel::kInfo:
            return "info";
        case LogLevel::kDebug:
            return "debug";
    }
    return "?";
}

// One write(2) per line keeps lines whole between threads and processes.
void WriteLine(std::string line) {
    line += '\n';
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, data, left);
        if (n <= 0) {
            return;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
}

}  // namespace

bool LogEnabled(LogLevel level) {
    return Setting(g_logLevel, ReadLogLevel) >= static_cast<int>(level);
}

void Log(LogLevel level, std::string_view area, std::string_view message) {
    if (!LogEnabled(level)) {
        return;
    }
    std::string text = Cp949ToUtf8(message);
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    std::string line = "tunova ";
    line += LevelName(level);
    line += ' ';
    line += area;
    line += ": ";
    line += text;
    WriteLine(std::move(line));
}

bool TraceEnabled() {
    return Setting(g_trace, ReadTrace) == 1;
}

void Trace(std::string_view moment) {
    if (!TraceEnabled()) {
        return;
    }
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    char stamp[48];
    std::snprintf(stamp, sizeof(stamp), "tunova-trace %lld.%06ld ",
                  static_cast<long long>(now.tv_sec), now.tv_nsec / 1000);
    std::string line = stamp;
    line += moment;
    WriteLine(std::move(line));
}

void ReloadLogSettings() {
    g_logLevel.store(kUnread);
    g_trace.store(kUnread);
}

}  // namespace plat
