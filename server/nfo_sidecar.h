// Kodi-style .nfo files beside a media file ("Song.nfo" for "Song.mkv"): an XML document whose
// root is <musicvideo>, <movie> or <episodedetails>. Read: title, artist (several are joined
// with ", "), album, genre and tag (searchable words), plot or outline, premiered or aired or
// year, studio (searchable). Elements nested inside those children (actors, ratings, thumbs) are
// skipped.
#pragma once

#include <string_view>

#include "server/media_metadata.h"

namespace tunova::server {

// Reads an .nfo document. Fails when the text is not UTF-8 or not well-formed, declares a
// document type with an internal subset (entity declarations are never expanded), uses an
// entity other than the five predefined ones and character references, nests deeper than 256
// elements, or has another root.
SidecarMetadata ParseNfo(std::string_view text);

}  // namespace tunova::server
