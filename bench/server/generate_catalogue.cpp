// Writes a catalogue of generated videos (generated_videos.h) for load tests.
//
// usage: tunova-bench-catalogue DB_FILE [COUNT=10000]
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "bench/server/generated_videos.h"
#include "server/catalogue.h"

using namespace tunova::server;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DB_FILE [COUNT=10000]\n", argv[0]);
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
    if (count < 0) {
        std::fprintf(stderr, "COUNT must not be negative\n");
        return 2;
    }
    std::string error;
    auto catalogue = Catalogue::Open(argv[1], error);
    if (!catalogue) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!catalogue->Apply(bench::GeneratedVideos(count, std::time(nullptr)), {}, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%d videos written to %s\n", count, argv[1]);
    return 0;
}
