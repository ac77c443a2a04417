#include "server/media_probe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

namespace tunova::server {

namespace {

// Runs `argv` with its output captured; the exit status lands in `status`.
bool RunCapturing(std::vector<std::string> argv, std::string& output, int& status,
                  std::string& error) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> args;
    for (auto& arg : argv) {
        args.push_back(arg.data());
    }
    args.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        error = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
        return false;
    }
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) != 0) {
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (output.size() < 65536) {
            output.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(pipeEnds[0]);
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace

ProbeResult ProbeWithFfprobe(const std::string& path) {
    ProbeResult result;
    std::string output;
    int status = 0;
    if (!RunCapturing(
            {"ffprobe", "-v", "error", "-show_entries", "format=duration:format_tags=title", "-of",
             "default=noprint_wrappers=1", "--", path},
            output, status, result.error)) {
        return result;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.error = "ffprobe could not read the file";
        return result;
    }
    bool haveDuration = false;
    std::size_t begin = 0;
    while (begin < output.size()) {
        std::size_t end = output.find('\n', begin);
        if (end == std::string::npos) {
            end = output.size();
        }
        const std::string line = output.substr(begin, end - begin);
        begin = end + 1;
        if (line.rfind("duration=", 0) == 0) {
            char* parsedEnd = nullptr;
            const double seconds = std::strtod(line.c_str() + 9, &parsedEnd);
            if (parsedEnd != line.c_str() + 9 && seconds >= 0) {
                result.seconds = seconds;
                haveDuration = true;
            }
        } else if (line.rfind("TAG:title=", 0) == 0) {
            result.title = line.substr(10);
        }
    }
    if (!haveDuration) {
        result.error = "no duration";
    }
    return result;
}

}  // namespace tunova::server
