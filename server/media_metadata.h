// What one source tells about a media file: a Kodi-style .nfo, a yt-dlp .info.json, the
// container's tags or the file name. Every field is optional; the ingest takes each field from
// the most trusted source that has it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace tunova::server {

struct MediaMetadata {
    std::optional<std::string> title;
    std::optional<std::string> artist;
    std::optional<std::string> description;
    std::optional<std::string> language;    // "ko", "en", "ja" or "zh"
    std::optional<std::int64_t> published;  // seconds since the epoch
    std::optional<int> seconds;
    std::vector<std::string> keywords;  // album, genre, tags, uploader: searchable, not shown
};

// A sidecar file read for one media file; `error` is set (and nothing else) when it exists but
// cannot be used.
struct SidecarMetadata {
    MediaMetadata metadata;
    std::string error;
    explicit operator bool() const { return error.empty(); }
};

struct ProbeResult;

// What the container's tags say: title, artist (else album artist), comment, date, language.
MediaMetadata MetadataFromTags(const ProbeResult& probe);

// What the file name says: "Artist - Title.ext" gives both, any other name the title alone
// (underscores read as spaces; ill-formed UTF-8 repaired).
MediaMetadata MetadataFromFileName(const std::string& relativePath);

// Each field from the first source that has it; keywords from every source, repeats dropped.
MediaMetadata MergeMetadata(std::initializer_list<const MediaMetadata*> mostTrustedFirst);

// "YYYY", "YYYYMMDD" or "YYYY-MM-DD" (UTC midnight; a year alone is its first of January), as
// seconds since the epoch; empty optional for anything else.
std::optional<std::int64_t> ParseLooseDate(const std::string& text);

// A two-letter language of the catalogue ("ko", "en", "ja", "zh") for an ISO 639-1 or 639-2
// code ("ko", "kor", "jpn", "chi", "zho", "eng", any case); empty optional for other codes.
std::optional<std::string> CatalogueLanguage(const std::string& code);

}  // namespace tunova::server
