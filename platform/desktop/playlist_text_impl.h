// Checks and clean-ups shared by the playlist file readers and writers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plat::playlist_text {

// The byte offset of the first byte that does not belong to well-formed UTF-8 (no overlong
// forms, no surrogates, nothing past U+10FFFF), or npos when all of `text` is UTF-8.
std::size_t FirstBadUtf8Byte(std::string_view text);
// `text` without a leading UTF-8 byte order mark.
std::string_view WithoutByteOrderMark(std::string_view text);
// 1 + the number of line feeds before `offset`.
std::size_t LineOf(std::string_view text, std::size_t offset);
// An empty string when `location` may be read as an entry's location (present, not too long, no
// control characters), else why not.
std::string LocationProblem(std::string_view location);
// True when `link` is an http(s) address of printable ASCII within the length limit.
bool IsWebLink(std::string_view link);
// `title` with ASCII control characters, U+FEFF, U+FFFE and U+FFFF as spaces and surrounding blanks
// removed.
std::string CleanTitle(std::string_view title);
// `link` with every byte outside printable ASCII (and the space) and a leading '#' percent-encoded.
std::string EncodedLink(std::string_view link);
// An empty string when `bytes` (without its byte order mark) may be parsed at all, else why not:
// too large, too many lines, or not UTF-8.
std::string FileProblem(std::string_view bytes);
// `text` without surrounding blanks and line ends.
std::string_view Trimmed(std::string_view text);
// "line N: " + `what`.
std::string AtLine(std::size_t line, std::string_view what);

}  // namespace plat::playlist_text
