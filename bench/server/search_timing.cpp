// Times the catalogue's searches without HTTP: every feed request of a paths file (as
// tunova-bench-catalogue writes them) answered ROUNDS times on one thread, reporting the mean
// CPU time of a search, the slowest request kinds, and each request's total.
//
// usage: tunova-bench-search DB_FILE PATHS_FILE [ROUNDS=20] [SHOWN=8]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "server/catalogue.h"
#include "server/feed_query.h"

using namespace tunova::server;

namespace {

double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

struct Timed {
    std::string path;
    FeedQuery query;
    double cpu = 0;  // microseconds over every round
    int total = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DB_FILE PATHS_FILE [ROUNDS=20] [SHOWN=8]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 20;
    const int shown = argc > 4 ? std::atoi(argv[4]) : 8;
    std::string error;
    auto catalogue = Catalogue::Open(argv[1], error);
    if (!catalogue) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    std::vector<Timed> requests;
    std::ifstream paths(argv[2]);
    for (std::string line; std::getline(paths, line);) {
        const auto mark = line.find('?');
        FeedQueryParse parse =
            ParseFeedQuery(mark == std::string::npos ? "" : line.substr(mark + 1));
        if (parse) {
            requests.push_back({line, parse.query});
        }
    }
    const std::int64_t now = std::time(nullptr);
    for (int round = 0; round <= rounds; ++round) {
        for (Timed& request : requests) {
            const double before = ThreadCpuMicroseconds();
            const auto page = catalogue->Search(request.query, now, error);
            const double used = ThreadCpuMicroseconds() - before;
            if (!page) {
                std::fprintf(stderr, "%s: %s\n", request.path.c_str(), error.c_str());
                return 1;
            }
            request.total = page->total;
            // The first round warms the caches and is not counted.
            if (round > 0) {
                request.cpu += used;
            }
        }
    }
    double sum = 0;
    for (const Timed& request : requests) {
        sum += request.cpu;
    }
    std::printf("%zu requests x %d rounds: %.1f us CPU per search\n", requests.size(), rounds,
                sum / static_cast<double>(requests.size()) / rounds);
    std::sort(requests.begin(), requests.end(),
              [](const Timed& a, const Timed& b) { return a.cpu > b.cpu; });
    for (int i = 0; i < shown && i < static_cast<int>(requests.size()); ++i) {
        std::printf("%8.1f us  total %7d  %s\n", requests[i].cpu / rounds, requests[i].total,
                    requests[i].path.c_str());
    }
    return 0;
}
