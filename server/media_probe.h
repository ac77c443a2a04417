// Reads a media file's duration and title tag with Debian's ffprobe, run as a child process.
#pragma once

#include <functional>
#include <string>

namespace tunova::server {

struct ProbeResult {
    double seconds = 0;  // container duration
    std::string title;   // the "title" tag, empty when absent
    std::string error;   // empty on success
    explicit operator bool() const { return error.empty(); }
};

// Probes `path` with `ffprobe` from PATH (no shell involved). Fails when ffprobe cannot be
// started, exits non-zero, or reports no duration.
ProbeResult ProbeWithFfprobe(const std::string& path);

// How the ingest reads media files; tests pass their own.
using MediaProber = std::function<ProbeResult(const std::string& path)>;

}  // namespace tunova::server
