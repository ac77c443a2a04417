#include "lists/video_links.h"

#include <algorithm>

namespace tunova {
namespace {

constexpr std::size_t kMaxVideoIdBytes = 32;

bool IsValidId(std::string_view id) {
    return !id.empty() && id.size() <= kMaxVideoIdBytes &&
           std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_';
           });
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// An http(s) address cut into its host (with the port), path and query.
struct WebAddress {
    std::string_view host;
    std::string_view path;
    std::string_view query;
};

bool SplitWebAddress(std::string_view link, WebAddress& parts) {
    std::string_view rest;
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (SameWithoutCase(link.substr(0, scheme.size()), scheme)) {
            rest = link.substr(scheme.size());
        }
    }
    if (rest.empty()) {
        return false;
    }
    rest = rest.substr(0, rest.find('#'));
    const std::size_t pathStart = std::min(rest.find_first_of("/?"), rest.size());
    parts.host = rest.substr(0, pathStart);
    rest.remove_prefix(pathStart);
    const std::size_t queryStart = std::min(rest.find('?'), rest.size());
    parts.path = rest.substr(0, queryStart);
    parts.query = rest.substr(std::min(queryStart + 1, rest.size()));
    return !parts.host.empty();
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

}  // namespace

std::string WatchLinkVideoId(std::string_view link) {
    WebAddress parts;
    if (!SplitWebAddress(link, parts) || !parts.path.ends_with("/watch")) {
        return {};
    }
    for (std::string_view query = parts.query; !query.empty();) {
        const std::size_t amp = query.find('&');
        std::string_view parameter = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (parameter.starts_with("amp;")) {
            parameter.remove_prefix(4);
        }
        if (parameter.starts_with("v=")) {
            const std::string_view id = parameter.substr(2);
            return IsValidId(id) ? std::string(id) : std::string();
        }
    }
    return {};
}

std::string MediaAddressVideoId(std::string_view link, std::string_view feedHost) {
    constexpr std::string_view kMediaPath = "/media/";
    WebAddress parts;
    if (!SplitWebAddress(link, parts) || !SameWithoutCase(parts.host, feedHost) ||
        !parts.path.starts_with(kMediaPath)) {
        return {};
    }
    const std::string_view id = parts.path.substr(kMediaPath.size());
    return IsValidId(id) ? std::string(id) : std::string();
}

std::string WatchLinkOf(std::string_view feedHost, std::string_view id) {
    return "http://" + std::string(feedHost) + "/watch?v=" + std::string(id) +
           "&feature=youtube_gdata";
}

std::string MediaAddressOf(std::string_view feedHost, std::string_view id) {
    return "http://" + std::string(feedHost) + "/media/" + std::string(id);
}

std::string LocationFileName(std::string_view location) {
    std::string_view path = location;
    bool encoded = false;
    if (WebAddress parts; SplitWebAddress(location, parts)) {
        path = parts.path;
        encoded = true;
    } else if (const std::size_t scheme = location.find("://"); scheme != std::string_view::npos) {
        // file:///home/me/a.mp4 and other addresses: the part after the host.
        path = location.substr(scheme + 3);
        path = path.substr(0, path.find_first_of("?#"));
        path.remove_prefix(std::min(path.find('/'), path.size()));
        encoded = true;
    }
    const std::size_t slash = path.find_last_of(encoded ? "/" : "/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return encoded ? PercentDecoded(name) : std::string(name);
}

}  // namespace tunova
