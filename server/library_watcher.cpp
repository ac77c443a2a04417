#include "server/library_watcher.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tunova::server {

namespace {

constexpr std::uint32_t kEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE |
                                  IN_CREATE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ATTRIB;

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point when) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(when - Clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

}  // namespace

LibraryWatcher::LibraryWatcher(LibraryWatcherOptions options) : options_(std::move(options)) {
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        wake_[0] = wake_[1] = -1;
    }
    inotify_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (inotify_ < 0) {
        FallBack(std::string("inotify is not available: ") + std::strerror(errno));
    } else {
        WatchTree(options_.root);
    }
    thread_ = std::thread([this] { Run(); });
}

LibraryWatcher::~LibraryWatcher() {
    stopping_ = true;
    if (wake_[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t ignored = write(wake_[1], &byte, 1);
    }
    thread_.join();
    for (const int fd : {inotify_, wake_[0], wake_[1]}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void LibraryWatcher::Log(const std::string& line) const {
    if (options_.log) {
        options_.log(line);
    } else {
        std::fprintf(stderr, "tunova-server: %s\n", line.c_str());
    }
}

void LibraryWatcher::Poke() {
    poked_ = true;
    if (wake_[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t ignored = write(wake_[1], &byte, 1);
    }
}

void LibraryWatcher::FallBack(const std::string& why) {
    if (watching_.exchange(false)) {
        Log("library " + options_.root + ": " + why + "; rescanning every " +
            std::to_string(options_.fallbackPeriodMs / 1000) + " s instead of watching");
    }
}

// Watches `folder` and every folder below it that is not hidden.
void LibraryWatcher::WatchTree(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> pending = {folder};
    while (!pending.empty() && watching_) {
        const std::string next = pending.back();
        pending.pop_back();
        const bool full =
            options_.maxWatches > 0 && static_cast<int>(folders_.size()) >= options_.maxWatches;
        const int wd = full ? -1 : inotify_add_watch(inotify_, next.c_str(), kEvents | IN_ONLYDIR);
        if (wd < 0) {
            if (full || errno == ENOSPC) {
                FallBack(
                    "the kernel's inotify watch limit is reached "
                    "(sysctl fs.inotify.max_user_watches)");
            }
            continue;  // a folder that went away meanwhile is simply not watched
        }
        folders_[wd] = next;
        std::error_code failure;
        for (const auto& entry : fs::directory_iterator(next, failure)) {
            std::error_code ignored;
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored) &&
                entry.path().filename().string().front() != '.') {
                pending.push_back(entry.path().string());
            }
        }
    }
}

void LibraryWatcher::Run() {
    bool changed = false;
    Clock::time_point firstChange{};
    Clock::time_point lastChange{};
    Clock::time_point nextPeriodic =
        Clock::now() + std::chrono::milliseconds(options_.fallbackPeriodMs);
    alignas(inotify_event) char buffer[64 * 1024];
    while (!stopping_) {
        int timeout = -1;
        if (changed) {
            timeout = std::min(
                MillisecondsUntil(lastChange + std::chrono::milliseconds(options_.settleMs)),
                MillisecondsUntil(firstChange + std::chrono::milliseconds(options_.burstMs)));
        } else if (!watching_) {
            timeout = MillisecondsUntil(nextPeriodic);
        }
        pollfd fds[2] = {{wake_[0], POLLIN, 0}, {inotify_, POLLIN, 0}};
        const int ready = poll(fds, inotify_ >= 0 ? 2 : 1, timeout);
        if (stopping_) {
            return;
        }
        if (ready < 0 && errno != EINTR) {
            FallBack(std::string("cannot wait for changes: ") + std::strerror(errno));
        }
        const auto noteChange = [&] {
            const auto now = Clock::now();
            if (!changed) {
                firstChange = now;
            }
            changed = true;
            lastChange = now;
        };
        if (ready > 0 && (fds[0].revents & POLLIN) != 0) {
            char drain[64];
            while (read(wake_[0], drain, sizeof drain) > 0) {
            }
            if (poked_.exchange(false)) {
                noteChange();
            }
        }
        if (ready > 0 && inotify_ >= 0 && (fds[1].revents & POLLIN) != 0) {
            ssize_t got = 0;
            while ((got = read(inotify_, buffer, sizeof buffer)) > 0) {
                for (char* at = buffer; at < buffer + got;) {
                    const auto* event = reinterpret_cast<const inotify_event*>(at);
                    at += sizeof(inotify_event) + event->len;
                    const std::string name = event->len > 0 ? event->name : "";
                    if (event->mask & IN_Q_OVERFLOW) {
                        noteChange();  // events were lost: the rescan finds what changed
                        continue;
                    }
                    if (event->mask & IN_IGNORED) {
                        folders_.erase(event->wd);
                        continue;
                    }
                    const auto folder = folders_.find(event->wd);
                    if ((event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) != 0 &&
                        folder != folders_.end() && folder->second == options_.root) {
                        FallBack("the library folder is gone");
                        noteChange();
                        continue;
                    }
                    if (!name.empty() && name.front() == '.') {
                        continue;  // hidden files, our own temporary names among them
                    }
                    if ((event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)) &&
                        folder != folders_.end()) {
                        WatchTree(folder->second + "/" + name);
                    }
                    noteChange();
                }
            }
        }
        const auto now = Clock::now();
        const bool settled =
            changed && (now >= lastChange + std::chrono::milliseconds(options_.settleMs) ||
                        now >= firstChange + std::chrono::milliseconds(options_.burstMs));
        const bool periodic = !watching_ && now >= nextPeriodic;
        if (settled || periodic) {
            changed = false;
            nextPeriodic = now + std::chrono::milliseconds(options_.fallbackPeriodMs);
            ++rescans_;
            options_.rescan();
        }
    }
}

}  // namespace tunova::server
