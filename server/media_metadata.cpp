#include "server/media_metadata.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "server/media_probe.h"
#include "server/metadata_sidecar.h"
#include "server/utf8_text.h"

namespace tunova::server {

std::optional<std::int64_t> ParseLooseDate(const std::string& text) {
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-') {
            return std::nullopt;
        }
    }
    if (text.size() == 4) {
        return ParseUtcDate(text + "-01-01");
    }
    if (text.size() == 8 && text.find('-') == std::string::npos) {
        return ParseUtcDate(text.substr(0, 4) + "-" + text.substr(4, 2) + "-" + text.substr(6, 2));
    }
    if (text.size() == 10) {
        return ParseUtcDate(text);
    }
    return std::nullopt;
}

std::optional<std::string> CatalogueLanguage(const std::string& code) {
    std::string lower;
    for (const char c : code) {
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    if (lower == "ko" || lower == "kor") {
        return "ko";
    }
    if (lower == "ja" || lower == "jpn") {
        return "ja";
    }
    if (lower == "zh" || lower == "zho" || lower == "chi") {
        return "zh";
    }
    if (lower == "en" || lower == "eng") {
        return "en";
    }
    return std::nullopt;
}

MediaMetadata MetadataFromTags(const ProbeResult& probe) {
    MediaMetadata meta;
    const auto set = [](std::optional<std::string>& field, const std::string& value) {
        if (!value.empty()) {
            field = RepairUtf8(value);
        }
    };
    set(meta.title, probe.title);
    set(meta.artist, probe.artist.empty() ? probe.albumArtist : probe.artist);
    set(meta.description, probe.comment);
    meta.language = CatalogueLanguage(probe.language);
    meta.published = ParseLooseDate(probe.date.substr(0, 10));  // "2021-05-03T…" too
    if (!meta.published && probe.date.size() >= 4) {
        meta.published = ParseLooseDate(probe.date.substr(0, 4));
    }
    return meta;
}

MediaMetadata MetadataFromFileName(const std::string& relativePath) {
    std::string stem = std::filesystem::path(relativePath).stem().string();
    std::replace(stem.begin(), stem.end(), '_', ' ');
    stem = RepairUtf8(stem);
    MediaMetadata meta;
    const std::size_t dash = stem.find(" - ");
    if (dash != std::string::npos && dash > 0 && dash + 3 < stem.size()) {
        meta.artist = stem.substr(0, dash);
        meta.title = stem.substr(dash + 3);
    } else {
        meta.title = stem;
    }
    return meta;
}

MediaMetadata MergeMetadata(std::initializer_list<const MediaMetadata*> mostTrustedFirst) {
    MediaMetadata merged;
    const auto take = [](auto& into, const auto& from) {
        if (!into && from) {
            into = from;
        }
    };
    for (const MediaMetadata* source : mostTrustedFirst) {
        take(merged.title, source->title);
        take(merged.artist, source->artist);
        take(merged.description, source->description);
        take(merged.language, source->language);
        take(merged.published, source->published);
        take(merged.seconds, source->seconds);
        for (const std::string& word : source->keywords) {
            if (std::find(merged.keywords.begin(), merged.keywords.end(), word) ==
                merged.keywords.end()) {
                merged.keywords.push_back(word);
            }
        }
    }
    return merged;
}

}  // namespace tunova::server
