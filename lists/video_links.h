// The addresses of the feed service's videos, and what a location in another player's playlist
// names. A video has two: its watch page ("http://HOST/watch?v=ID&feature=youtube_gdata", the
// link the feeds give and the playlist keeps) and its media address ("http://HOST/media/ID",
// the file itself, which any player can open). Ids are 1 to 32 of A-Z a-z 0-9 '-' '_', as the
// service hands them out.
#pragma once

#include <string>
#include <string_view>

namespace tunova {

// The id of a watch link: an http(s) address whose path ends in "/watch" and whose query has
// v=ID (parameters split at '&' or "&amp;"). Empty when `link` is none or the id is not valid.
std::string WatchLinkVideoId(std::string_view link);
// The id of a media address on `feedHost` (host and port compared without case). Empty when
// `link` is none.
std::string MediaAddressVideoId(std::string_view link, std::string_view feedHost);

std::string WatchLinkOf(std::string_view feedHost, std::string_view id);
std::string MediaAddressOf(std::string_view feedHost, std::string_view id);

// The file name a location ends in, percent-decoded where the location is an address: the last
// part of a local path or of a file:// address, or the last segment of a web address's path
// (its query left out). Empty when there is none.
std::string LocationFileName(std::string_view location);

}  // namespace tunova
