#include "server/media_converter.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

extern char** environ;

namespace tunova::server {

namespace fs = std::filesystem;

std::string CopyNameFor(const std::string& id, std::int64_t size, std::int64_t mtimeNanos,
                        const std::string& container) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::int64_t value : {size, mtimeNanos}) {
        for (int i = 0; i < 8; ++i) {
            hash =
                (hash ^ ((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF)) * 1099511628211ull;
        }
    }
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "-%016llx.", static_cast<unsigned long long>(hash));
    return id + suffix + container;
}

MediaConverter::MediaConverter(MediaConverterOptions options) : options_(std::move(options)) {
    std::error_code ignored;
    fs::create_directories(options_.cacheFolder, ignored);
    // Temporary files of a process that was killed mid-job.
    for (const auto& entry : fs::directory_iterator(options_.cacheFolder, ignored)) {
        if (entry.path().filename().string().front() == '.') {
            fs::remove(entry.path(), ignored);
        }
    }
    worker_ = std::thread([this] { Work(); });
}

MediaConverter::~MediaConverter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        if (child_ > 0) {
            kill(child_, SIGTERM);
        }
    }
    wake_.notify_all();
    worker_.join();
}

void MediaConverter::Log(const std::string& line) const {
    if (options_.log) {
        options_.log(line);
    } else {
        std::fprintf(stderr, "tunova-server: %s\n", line.c_str());
    }
}

void MediaConverter::Request(const ConversionJob& job) {
    if (HasCopy(job.copyName)) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (!known_.insert(job.copyName).second) {
            return;
        }
        if (job.route == PlaybackRoute::Remux) {
            queue_.push_front(job);
        } else {
            queue_.push_back(job);
        }
    }
    wake_.notify_all();
}

bool MediaConverter::HasCopy(const std::string& copyName) const {
    struct stat info {};
    return stat(CopyPath(copyName).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string MediaConverter::CopyPath(const std::string& copyName) const {
    return options_.cacheFolder + "/" + copyName;
}

bool MediaConverter::Idle() {
    std::lock_guard lock(mutex_);
    return queue_.empty() && !running_;
}

int MediaConverter::RemoveUnlisted(const std::set<std::string>& listed, fs::file_time_type before) {
    std::lock_guard lock(mutex_);
    int removed = 0;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(options_.cacheFolder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.front() == '.' || listed.count(name) || known_.count(name) ||
            !entry.is_regular_file(ignored) || entry.last_write_time(ignored) >= before) {
            continue;
        }
        std::error_code failure;
        removed += fs::remove(entry.path(), failure) && !failure ? 1 : 0;
    }
    return removed;
}

std::int64_t MediaConverter::CacheBytes() const {
    std::int64_t total = 0;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(options_.cacheFolder, ignored)) {
        const auto size = entry.file_size(ignored);
        total += ignored ? 0 : static_cast<std::int64_t>(size);
    }
    return total;
}

void MediaConverter::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) {
            return;
        }
        const ConversionJob job = queue_.front();
        queue_.pop_front();
        running_ = true;
        lock.unlock();
        const bool made = Convert(job);
        if (made && options_.converted) {
            options_.converted();
        }
        lock.lock();
        running_ = false;
        if (made) {
            known_.erase(job.copyName);
        }
    }
}

bool MediaConverter::Convert(const ConversionJob& job) {
    const std::string what = job.route == PlaybackRoute::Remux ? "remux" : "transcode";
    std::int64_t room = 0;
    if (options_.cacheLimitBytes > 0) {
        room = options_.cacheLimitBytes - CacheBytes();
        if (room <= 0) {
            Log("media cache " + options_.cacheFolder +
                " is full (--media-cache-limit): " + job.source + " not converted");
            return false;
        }
    }
    const std::string container = fs::path(job.copyName).extension().string().substr(1);
    const std::string temporary = options_.cacheFolder + "/." + job.copyName + ".part";
    std::vector<std::string> argv = options_.command;
    for (const char* arg : {"-nostdin", "-v", "error", "-y", "-i"}) {
        argv.emplace_back(arg);
    }
    argv.push_back(job.source);
    for (const char* arg : {"-map", "0:v:0?", "-map", "0:a:0?", "-sn", "-dn"}) {
        argv.emplace_back(arg);
    }
    if (job.route == PlaybackRoute::Remux) {
        argv.insert(argv.end(), {"-c", "copy"});
    } else {
        argv.insert(argv.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "23", "-pix_fmt",
                                 "yuv420p", "-c:a", "aac", "-b:a", "160k"});
    }
    if (container == "mp4") {
        argv.insert(argv.end(), {"-movflags", "+faststart"});
    }
    if (room > 0) {
        argv.insert(argv.end(), {"-fs", std::to_string(room)});
    }
    argv.insert(argv.end(), {"-f", container, temporary});

    std::vector<char*> args;
    for (auto& arg : argv) {
        args.push_back(arg.data());
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    int spawned = 0;
    {
        std::lock_guard lock(mutex_);
        spawned = stopping_
                      ? ECANCELED
                      : posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
        child_ = spawned == 0 ? child : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned == 0) {
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        std::lock_guard lock(mutex_);
        child_ = -1;
    }
    std::error_code failure;
    const auto size = fs::file_size(temporary, failure);
    const bool complete = spawned == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
                          !failure && size > 0 &&
                          (room == 0 || static_cast<std::int64_t>(size) < room);
    if (complete) {
        fs::rename(temporary, CopyPath(job.copyName), failure);
        if (!failure) {
            // Put in place now: a scan that began before cannot take it for an old copy.
            fs::last_write_time(CopyPath(job.copyName), fs::file_time_type::clock::now(), failure);
            Log(what + " of " + job.source + " ready: " + job.copyName);
            return true;
        }
    }
    std::error_code ignored;
    fs::remove(temporary, ignored);
    Log(what + " of " + job.source + " failed" +
        (room > 0 && !failure && size >= static_cast<std::uintmax_t>(room)
             ? ": the media cache is full (--media-cache-limit)"
             : "") +
        "; it is not listed");
    return false;
}

}  // namespace tunova::server
