#include "process_usage.h"

#include <dirent.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace tunova::bench {
namespace {

int ParentOf(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return -1;
    }
    std::istringstream fields(text.substr(close + 2));
    std::string state;
    int parent = -1;
    fields >> state >> parent;
    return parent;
}

}  // namespace

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

double StatCpuSeconds(const std::string& statPath) {
    std::ifstream in(statPath);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(text.substr(close + 2));
    std::vector<std::string> f;
    for (std::string word; fields >> word;) {
        f.push_back(word);
    }
    // After the name: state(0) ppid(1) ... utime(11) stime(12).
    if (f.size() < 13) {
        return 0;
    }
    return (std::atof(f[11].c_str()) + std::atof(f[12].c_str())) / sysconf(_SC_CLK_TCK);
}

double ProcessCpuSeconds(int pid) {
    return StatCpuSeconds("/proc/" + std::to_string(pid) + "/stat");
}

ThreadCpu SelfThreadCpu() {
    ThreadCpu cpu;
    const std::string self = "/proc/" + std::to_string(getpid());
    DIR* tasks = opendir((self + "/task").c_str());
    if (tasks == nullptr) {
        return cpu;
    }
    while (dirent* entry = readdir(tasks)) {
        const int tid = std::atoi(entry->d_name);
        if (tid <= 0) {
            continue;
        }
        const std::string task = self + "/task/" + entry->d_name;
        std::ifstream commFile(task + "/comm");
        std::string comm;
        std::getline(commFile, comm);
        const double seconds = StatCpuSeconds(task + "/stat");
        if (tid == getpid()) {
            cpu.main += seconds;
        } else if (comm.rfind("VizCompositor", 0) == 0) {
            cpu.compositor += seconds;
        } else {
            cpu.other += seconds;
        }
    }
    closedir(tasks);
    return cpu;
}

std::map<int, double> DescendantCpu() {
    std::map<int, int> parents;
    if (DIR* proc = opendir("/proc")) {
        while (dirent* entry = readdir(proc)) {
            const int pid = std::atoi(entry->d_name);
            if (pid > 0) {
                parents[pid] = ParentOf(pid);
            }
        }
        closedir(proc);
    }
    std::map<int, double> cpu;
    const int self = getpid();
    for (const auto& [pid, parent] : parents) {
        for (int up = parent; up > 1;) {
            if (up == self) {
                cpu[pid] = ProcessCpuSeconds(pid);
                break;
            }
            const auto it = parents.find(up);
            up = it == parents.end() ? -1 : it->second;
        }
    }
    return cpu;
}

double ResidentMb() {
    std::vector<int> pids = {getpid()};
    for (const auto& [pid, cpu] : DescendantCpu()) {
        pids.push_back(pid);
    }
    double kb = 0;
    for (const int pid : pids) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmRSS:", 0) == 0) {
                kb += std::atof(line.c_str() + 6);
            }
        }
    }
    return kb / 1024.0;
}

double SelfCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace tunova::bench
