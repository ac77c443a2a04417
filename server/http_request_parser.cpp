#include "server/http_request_parser.h"

#include <strings.h>

namespace tunova::server {

namespace {

bool IsTokenChar(char c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
        return true;
    }
    switch (c) {
        case '!':
        case '#':
        case '$':
        case '%':
        case '&':
        case '\'':
        case '*':
        case '+':
        case '-':
        case '.':
        case '^':
        case '_':
        case '`':
        case '|':
        case '~':
            return true;
        default:
            return false;
    }
}

bool IsToken(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (!IsTokenChar(c)) {
            return false;
        }
    }
    return true;
}

// Bytes a target may hold: no controls, no spaces.
bool IsTargetText(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

// Field values: visible bytes, spaces and tabs.
bool IsFieldValue(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// Whether the comma-separated list `value` holds `token` (any case).
bool ListHas(std::string_view value, std::string_view token) {
    while (!value.empty()) {
        const std::size_t comma = value.find(',');
        const std::string_view item = Trimmed(value.substr(0, comma));
        if (item.size() == token.size() &&
            strncasecmp(item.data(), token.data(), token.size()) == 0) {
            return true;
        }
        if (comma == std::string_view::npos) {
            break;
        }
        value.remove_prefix(comma + 1);
    }
    return false;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The next line of `rest` without its CRLF (or bare LF); false when no line end is left.
bool NextLine(std::string_view& rest, std::string_view& line) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) {
        return false;
    }
    line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    rest.remove_prefix(end + 1);
    return true;
}

int ParseRequestLine(std::string_view line, HttpRequest& request) {
    const std::size_t first = line.find(' ');
    const std::size_t last = line.rfind(' ');
    if (first == std::string_view::npos || first == last) {
        return 400;
    }
    const std::string_view method = line.substr(0, first);
    const std::string_view target = line.substr(first + 1, last - first - 1);
    const std::string_view version = line.substr(last + 1);
    if (!IsToken(method)) {
        return 400;
    }
    if (target.size() > kTargetByteLimit) {
        return 414;
    }
    if (target.empty() || target.front() != '/' || !IsTargetText(target)) {
        return 400;
    }
    if (version.size() != 8 || version.substr(0, 5) != "HTTP/" || version[6] != '.' ||
        version[5] < '0' || version[5] > '9' || version[7] < '0' || version[7] > '9') {
        return 400;
    }
    if (version[5] != '1' || (version[7] != '0' && version[7] != '1')) {
        return 505;
    }
    request.method = std::string(method);
    request.target = std::string(target);
    request.minorVersion = version[7] - '0';
    const std::size_t mark = target.find('?');
    request.path = PercentDecoded(target.substr(0, mark), false);
    request.query =
        mark == std::string_view::npos ? std::string() : std::string(target.substr(mark + 1));
    return 0;
}

}  // namespace

std::size_t RequestHeadLength(std::string_view bytes) {
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos;
         at = bytes.find('\n', at + 1)) {
        if (at + 1 < bytes.size() && bytes[at + 1] == '\n') {
            return at + 2;
        }
        if (at + 2 < bytes.size() && bytes[at + 1] == '\r' && bytes[at + 2] == '\n') {
            return at + 3;
        }
    }
    return 0;
}

RequestHeadParse ParseRequestHead(std::string_view head, HttpRequest& request) {
    RequestHeadParse result;
    std::string_view rest = head;
    std::string_view line;
    if (!NextLine(rest, line) || (result.status = ParseRequestLine(line, request)) != 0) {
        if (result.status == 0) {
            result.status = 400;
        }
        return result;
    }
    bool sawLength = false;
    while (NextLine(rest, line) && !line.empty()) {
        if (request.headers.size() == kHeaderFieldLimit) {
            result.status = 431;
            return result;
        }
        const std::size_t colon = line.find(':');
        // No folded lines, no space before the colon.
        if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) {
            result.status = 400;
            return result;
        }
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = Trimmed(line.substr(colon + 1));
        if (!IsFieldValue(value)) {
            result.status = 400;
            return result;
        }
        if (SameName(name, "Transfer-Encoding")) {
            result.status = 501;
            return result;
        }
        if (SameName(name, "Content-Length")) {
            std::int64_t length = 0;
            if (value.empty() || value.size() > 12 ||
                value.find_first_not_of("0123456789") != std::string_view::npos) {
                result.status = 400;
                return result;
            }
            for (const char c : value) {
                length = length * 10 + (c - '0');
            }
            if (sawLength && length != result.contentLength) {
                result.status = 400;
                return result;
            }
            sawLength = true;
            result.contentLength = length;
        }
        request.headers.emplace_back(std::string(name), std::string(value));
    }
    const std::string connection = request.Header("Connection");
    request.keepAlive = request.minorVersion == 1 ? !ListHas(connection, "close")
                                                  : ListHas(connection, "keep-alive");
    return result;
}

}  // namespace tunova::server
