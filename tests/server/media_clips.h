// Small real media files for the server's tests, made with ffmpeg (one or two seconds, tiny
// frames), and a check of what a file holds with ffprobe.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tunova::server::testing {

// True when ffmpeg and ffprobe are on PATH.
bool HaveFfmpeg();

// Runs `argv` (no shell) with its output discarded; true when it exits 0.
bool RunQuietly(const std::vector<std::string>& argv);

enum class ClipKind {
    H264AacMp4,     // plays as it is
    Vp8VorbisWebm,  // plays as it is
    H264AacMkv,     // needs a remux
    HevcAacMkv,     // needs a transcode
    Mpeg4Mp3Avi,    // needs a transcode
};

// Writes a one-second clip of `kind` at `path` with `tags` ("key=value") as container tags.
bool MakeClip(const std::filesystem::path& path, ClipKind kind,
              const std::vector<std::string>& tags = {});

// "video,audio" codec names of the file's first streams as ffprobe reports them, e.g.
// "h264,aac"; empty when it cannot be read.
std::string ProbeCodecs(const std::filesystem::path& path);

}  // namespace tunova::server::testing
