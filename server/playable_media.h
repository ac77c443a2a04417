// Whether the player's page can play a media file as it is, from the codecs ffprobe found and
// the file's extension. Qt WebEngine 6.4 as Debian builds it plays H.264, VP8, VP9 and AV1 video
// with AAC, MP3, Opus or Vorbis audio, in MP4 (H.264, VP9, AV1 with AAC, MP3, Opus) and WebM
// (VP8, VP9, AV1 with Vorbis, Opus). Those codecs in another container need only a new container
// (a remux); any other codec needs a transcode.
#pragma once

#include <string>

#include "server/media_probe.h"

namespace tunova::server {

enum class PlaybackRoute {
    AsItIs,     // served as the file is
    Remux,      // the same streams copied into `container`
    Transcode,  // re-encoded to H.264 and AAC in MP4
};

struct PlaybackPlan {
    PlaybackRoute route = PlaybackRoute::AsItIs;
    std::string container;  // "mp4" or "webm" for a copy; empty as it is
    std::string why;        // for the log, e.g. "hevc video in matroska"
};

// The plan for a probed file at `path` (the extension names the container the page is told).
// A probe without codec names (files declared by metadata.tsv) plays as it is.
PlaybackPlan PlanPlayback(const ProbeResult& probe, const std::string& path);

}  // namespace tunova::server
