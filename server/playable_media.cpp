#include "server/playable_media.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace tunova::server {

namespace {

template <std::size_t N>
bool OneOf(const std::string& codec, const std::array<std::string_view, N>& list) {
    return std::find(list.begin(), list.end(), codec) != list.end();
}

constexpr std::array<std::string_view, 4> kVideo = {"h264", "vp8", "vp9", "av1"};
constexpr std::array<std::string_view, 4> kAudio = {"aac", "mp3", "opus", "vorbis"};
constexpr std::array<std::string_view, 3> kMp4Video = {"h264", "vp9", "av1"};
constexpr std::array<std::string_view, 3> kMp4Audio = {"aac", "mp3", "opus"};
constexpr std::array<std::string_view, 3> kWebmVideo = {"vp8", "vp9", "av1"};
constexpr std::array<std::string_view, 2> kWebmAudio = {"vorbis", "opus"};

std::string Extension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension;
}

bool FitsMp4(const ProbeResult& probe) {
    return (probe.videoCodec.empty() || OneOf(probe.videoCodec, kMp4Video)) &&
           (probe.audioCodec.empty() || OneOf(probe.audioCodec, kMp4Audio));
}

bool FitsWebm(const ProbeResult& probe) {
    return (probe.videoCodec.empty() || OneOf(probe.videoCodec, kWebmVideo)) &&
           (probe.audioCodec.empty() || OneOf(probe.audioCodec, kWebmAudio));
}

}  // namespace

PlaybackPlan PlanPlayback(const ProbeResult& probe, const std::string& path) {
    PlaybackPlan plan;
    if (probe.videoCodec.empty() && probe.audioCodec.empty()) {
        return plan;
    }
    const std::string extension = Extension(path);
    const bool mp4 = (extension == "mp4" || extension == "m4v" || extension == "m4a") &&
                     probe.formatName.find("mp4") != std::string::npos;
    const bool webm = extension == "webm" && probe.formatName.find("webm") != std::string::npos;
    // Audio-only files in their own formats (MP3, Ogg, WAV) play as they are.
    const bool audioFile =
        probe.videoCodec.empty() &&
        (extension == "mp3" || extension == "ogg" || extension == "opus" || extension == "wav") &&
        (OneOf(probe.audioCodec, kAudio) || probe.audioCodec.rfind("pcm_", 0) == 0);
    if ((mp4 && FitsMp4(probe)) || (webm && FitsWebm(probe)) || audioFile) {
        return plan;
    }
    plan.why = (probe.videoCodec.empty() ? std::string("no") : probe.videoCodec) + " video, " +
               (probe.audioCodec.empty() ? std::string("no") : probe.audioCodec) + " audio in " +
               (probe.formatName.empty() ? std::string("an unknown container") : probe.formatName);
    const bool knownCodecs = (probe.videoCodec.empty() || OneOf(probe.videoCodec, kVideo)) &&
                             (probe.audioCodec.empty() || OneOf(probe.audioCodec, kAudio));
    if (knownCodecs && FitsWebm(probe)) {
        plan.route = PlaybackRoute::Remux;
        plan.container = "webm";
    } else if (knownCodecs && FitsMp4(probe)) {
        plan.route = PlaybackRoute::Remux;
        plan.container = "mp4";
    } else {
        plan.route = PlaybackRoute::Transcode;
        plan.container = "mp4";
    }
    return plan;
}

}  // namespace tunova::server
