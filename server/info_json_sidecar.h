// yt-dlp's .info.json beside a downloaded file ("Song.info.json" for "Song.mp4"). Read: track or
// title, artist or creator or uploader, release_date or upload_date (YYYYMMDD), description,
// duration, and as searchable words the album, the tags, the categories, the uploader and the
// channel.
#pragma once

#include <string_view>

#include "server/media_metadata.h"

namespace tunova::server {

// Reads an .info.json document. Fails when it is not a JSON object (nesting deeper than 64,
// strings not UTF-8, or larger than 16 MiB included).
SidecarMetadata ParseInfoJson(std::string_view text);

}  // namespace tunova::server
