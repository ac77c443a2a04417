// Starting helper executables without a shell, and the /proc walk that finds processes by name.
#include "platform/core/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/core/files.h"

#ifndef CLOSE_RANGE_CLOEXEC
#define CLOSE_RANGE_CLOEXEC (1U << 2)
#endif

extern char** environ;

namespace plat {
namespace {

constexpr std::size_t kCommLength = 15;  // the kernel keeps this many bytes of a command name

LaunchResult Refusal(LaunchError error, std::string description) {
    return {error, std::move(description)};
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool OwnedByUserOrRoot(const struct stat& info) {
    return info.st_uid == ::getuid() || info.st_uid == 0;
}

// Reads a small /proc file; empty when it is gone.
std::string ReadProcFile(const std::string& path) {
    std::string text;
    ReadFile(path, text, 1u << 16);
    return text;
}

// The command name and state letter of /proc/PID/stat: "PID (NAME) S ...". The name may hold
// ')' itself, so it ends at the last one.
bool ParseStat(const std::string& stat, std::string& comm, char& state) {
    const std::size_t open = stat.find('(');
    const std::size_t close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open ||
        close + 2 >= stat.size()) {
        return false;
    }
    comm = stat.substr(open + 1, close - open - 1);
    state = stat[close + 2];
    return true;
}

// The whole name of a process whose command name `comm` the kernel may have cut: the file it
// was started from (its executable, or for a script the script named by argv[0] or argv[1])
// when that name begins with `comm`, else `comm` itself.
std::string WholeName(const std::string& procDir, const std::string& comm) {
    if (comm.size() < kCommLength) {
        return comm;
    }
    char target[PATH_MAX];
    const ssize_t n = ::readlink((procDir + "/exe").c_str(), target, sizeof(target) - 1);
    if (n > 0) {
        const std::string exe = BaseName(std::string(target, static_cast<std::size_t>(n)));
        if (exe.starts_with(comm)) {
            return exe;
        }
    }
    const std::string cmdline = ReadProcFile(procDir + "/cmdline");
    const std::string first = cmdline.c_str();
    const std::size_t second = first.size() + 1;
    for (const std::string& argument :
         {first, second < cmdline.size() ? std::string(cmdline.c_str() + second) : std::string()}) {
        if (BaseName(argument).starts_with(comm)) {
            return BaseName(argument);
        }
    }
    return comm;
}

}  // namespace

LaunchResult CheckSafeExecutable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return Refusal(LaunchError::kMissing, path + ": " + std::strerror(errno));
    }
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return Refusal(LaunchError::kMissing, path + ": " + std::strerror(errno));
    }
    const std::string file = resolved;
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return Refusal(LaunchError::kUnsafe, file + " is not a regular file");
    }
    if ((info.st_mode & 0111) == 0) {
        return Refusal(LaunchError::kUnsafe, file + " is not executable");
    }
    if (!OwnedByUserOrRoot(info)) {
        return Refusal(LaunchError::kUnsafe, file + " belongs to another user");
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return Refusal(LaunchError::kUnsafe, file + " is writable by group or others");
    }
    const std::string folder = file.substr(0, file.rfind('/') == 0 ? 1 : file.rfind('/'));
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0 || !OwnedByUserOrRoot(folderInfo) ||
        (folderInfo.st_mode & S_IWOTH) != 0) {
        return Refusal(LaunchError::kUnsafe, folder + " is open to others");
    }
    return {};
}

LaunchResult StartExecutable(const std::string& path) {
    if (LaunchResult safe = CheckSafeExecutable(path); !safe) {
        return safe;
    }
    // Everything the children need is prepared here: after fork only async-signal-safe calls.
    std::string program = path;
    char* argv[] = {program.data(), nullptr};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return Refusal(LaunchError::kStartFailed, std::string("pipe: ") + std::strerror(errno));
    }
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return Refusal(LaunchError::kStartFailed, std::string("fork: ") + std::strerror(error));
    }
    if (middle == 0) {
        ::setsid();
        const pid_t helper = ::fork();
        if (helper == 0) {
            sigset_t none;
            ::sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            struct sigaction standard {};
            standard.sa_handler = SIG_DFL;
            for (int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
                ::sigaction(signal, &standard, nullptr);
            }
            const int nullFd = ::open("/dev/null", O_RDONLY);
            if (nullFd > 0) {
                ::dup2(nullFd, 0);
                ::close(nullFd);
            }
            ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);  // no descriptor of ours leaks
            ::execve(program.c_str(), argv, environ);
            const int error = errno;
            [[maybe_unused]] ssize_t ignored = ::write(report[1], &error, sizeof(error));
            ::_exit(127);
        }
        ::_exit(helper < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int execError = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &execError, sizeof(execError));
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return Refusal(LaunchError::kStartFailed, "fork failed");
    }
    if (got == static_cast<ssize_t>(sizeof(execError))) {
        return Refusal(LaunchError::kStartFailed, path + ": " + std::strerror(execError));
    }
    return {};
}

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

bool IsProcessRunning(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        return false;
    }
    const std::string wantedComm = name.substr(0, kCommLength);
    bool found = false;
    while (const dirent* entry = ::readdir(proc)) {
        const char* id = entry->d_name;
        if (id[0] < '1' || id[0] > '9' || std::strspn(id, "0123456789") != std::strlen(id)) {
            continue;
        }
        const std::string procDir = std::string("/proc/") + id;
        std::string comm;
        char state = 0;
        if (!ParseStat(ReadProcFile(procDir + "/stat"), comm, state) || comm != wantedComm ||
            state == 'Z' || state == 'X') {
            continue;
        }
        if (WholeName(procDir, comm) == name) {
            found = true;
            break;
        }
    }
    ::closedir(proc);
    return found;
}

}  // namespace plat
