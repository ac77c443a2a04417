#include <algorithm>
#include <cstdio>

#include "platform/desktop/playlist_formats.h"
#include "platform/desktop/playlist_text_impl.h"

namespace plat::playlist_text {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::size_t FirstBadUtf8Byte(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80;   // bounds of the second byte, which rule out overlong forms,
        unsigned char high = 0xBF;  // surrogates and code points past U+10FFFF
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (size - i < length || bytes[i + 1] < low || bytes[i + 1] > high) {
            return i;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if (!IsContinuation(bytes[i + k])) {
                return i;
            }
        }
        i += length;
    }
    return std::string_view::npos;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return text.substr(0, kMark.size()) == kMark ? text.substr(kMark.size()) : text;
}

std::size_t LineOf(std::string_view text, std::size_t offset) {
    const std::string_view before = text.substr(0, std::min(offset, text.size()));
    return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

std::string LocationProblem(std::string_view location) {
    if (location.empty()) {
        return "a track without a location";
    }
    if (location.size() > kMaxPlaylistLinkBytes) {
        return "a location longer than " + std::to_string(kMaxPlaylistLinkBytes) + " bytes";
    }
    for (const char c : location) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return "a location with a control character";
        }
    }
    return {};
}

bool IsWebLink(std::string_view link) {
    if (link.size() > kMaxPlaylistLinkBytes) {
        return false;
    }
    for (const char c : link) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x21 || u > 0x7E) {
            return false;
        }
    }
    const std::size_t colon = link.find("://");
    if (colon == std::string_view::npos || link.size() == colon + 3) {
        return false;
    }
    std::string scheme;
    for (const char c : link.substr(0, colon)) {
        scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return scheme == "http" || scheme == "https";
}

std::string CleanTitle(std::string_view title) {
    std::string clean;
    clean.reserve(title.size());
    for (std::size_t i = 0; i < title.size(); ++i) {
        const auto u = static_cast<unsigned char>(title[i]);
        // U+FFFE and U+FFFF are no characters at all, and XML may not hold them; a byte order
        // mark inside a title is lost by some readers.
        const std::string_view rest = title.substr(i);
        if (rest.substr(0, 3) == "\xEF\xBF\xBE" || rest.substr(0, 3) == "\xEF\xBF\xBF" ||
            rest.substr(0, 3) == "\xEF\xBB\xBF") {
            clean += ' ';
            i += 2;
        } else {
            clean += u < 0x20 || u == 0x7F ? ' ' : title[i];
        }
    }
    const auto first = std::find_if_not(clean.begin(), clean.end(), IsBlank);
    const auto last = std::find_if_not(clean.rbegin(), clean.rend(), IsBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string EncodedLink(std::string_view link) {
    std::string encoded;
    encoded.reserve(link.size());
    for (const char c : link) {
        const auto u = static_cast<unsigned char>(c);
        // A leading '#' would make an M3U line a comment.
        if (u < 0x21 || u > 0x7E || (c == '#' && encoded.empty())) {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", u);
            encoded += escape;
        } else {
            encoded += c;
        }
    }
    return encoded;
}

std::string FileProblem(std::string_view bytes) {
    if (bytes.size() > kMaxPlaylistFileBytes) {
        return "the file is larger than " + std::to_string(kMaxPlaylistFileBytes >> 20) + " MB";
    }
    if (static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) >
        kMaxPlaylistFileLines) {
        return "the file has more than " + std::to_string(kMaxPlaylistFileLines) + " lines";
    }
    const std::size_t bad = FirstBadUtf8Byte(bytes);
    if (bad != std::string_view::npos) {
        return AtLine(LineOf(bytes, bad), "bytes that are not UTF-8 text");
    }
    return {};
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string AtLine(std::size_t line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

}  // namespace plat::playlist_text
