// Reads a media file's duration, tags and streams with Debian's ffprobe, run as a child process.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tunova::server {

struct ProbeResult {
    double seconds = 0;  // container duration
    // The container's tags (any case in the file), empty when absent; the language tag may
    // also come from the first audio stream.
    std::string title, artist, albumArtist, date, comment, language;
    std::string formatName;  // ffprobe's demuxer names, e.g. "mov,mp4,m4a,3gp,3g2,mj2"
    std::string videoCodec;  // the first video stream that is not cover art, e.g. "h264"
    std::string audioCodec;  // the first audio stream, e.g. "aac"
    std::string error;       // empty on success
    explicit operator bool() const { return error.empty(); }
};

// Probes `path` with `ffprobe` from PATH (no shell involved). Fails when ffprobe cannot be
// started, exits non-zero, or reports no duration.
ProbeResult ProbeWithFfprobe(const std::string& path);

// Reads ffprobe's JSON answer (format and streams) into `result`; sets its error when the answer
// is unreadable or has no duration.
void ReadProbeJson(std::string_view json, ProbeResult& result);

// `probe` as text for the catalogue, read back by LoadProbe (which fails on text it did not
// write).
std::string SaveProbe(const ProbeResult& probe);
bool LoadProbe(std::string_view text, ProbeResult& probe);

// How the ingest reads media files; tests pass their own.
using MediaProber = std::function<ProbeResult(const std::string& path)>;

}  // namespace tunova::server
