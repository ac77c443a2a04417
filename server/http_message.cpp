#include "server/http_message.h"

#include <strings.h>

namespace tunova::server {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string FindHeader(const HttpHeaders& headers, std::string_view name) {
    for (const auto& [key, value] : headers) {
        if (SameName(key, name)) {
            return value;
        }
    }
    return {};
}

}  // namespace

std::string HttpRequest::Header(std::string_view name) const {
    return FindHeader(headers, name);
}

bool HttpRequest::HasHeader(std::string_view name) const {
    for (const auto& header : headers) {
        if (SameName(header.first, name)) {
            return true;
        }
    }
    return false;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string PercentDecoded(std::string_view text, bool plusIsSpace) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size()) {
            const int high = HexDigitValue(text[i + 1]);
            const int low = HexDigitValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(plusIsSpace && c == '+' ? ' ' : c);
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> QueryParameters(std::string_view query) {
    std::vector<std::pair<std::string, std::string>> parameters;
    std::size_t begin = 0;
    while (begin <= query.size()) {
        std::size_t end = query.find('&', begin);
        if (end == std::string_view::npos) {
            end = query.size();
        }
        const std::string_view part = query.substr(begin, end - begin);
        begin = end + 1;
        if (part.empty()) {
            continue;
        }
        const std::size_t eq = part.find('=');
        const std::string_view name = part.substr(0, eq);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view() : part.substr(eq + 1);
        parameters.emplace_back(PercentDecoded(name, true), PercentDecoded(value, true));
    }
    return parameters;
}

void HttpResponse::SetContent(std::string content, std::string_view contentType) {
    body = std::move(content);
    file.reset();
    SetHeader("Content-Type", contentType);
}

void HttpResponse::SetHeader(std::string_view name, std::string_view value) {
    for (auto& header : headers) {
        if (SameName(header.first, name)) {
            header.second = std::string(value);
            return;
        }
    }
    headers.emplace_back(std::string(name), std::string(value));
}

std::string HttpResponse::Header(std::string_view name) const {
    return FindHeader(headers, name);
}

std::string_view StatusText(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 206:
            return "Partial Content";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 413:
            return "Content Too Large";
        case 414:
            return "URI Too Long";
        case 416:
            return "Range Not Satisfiable";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 501:
            return "Not Implemented";
        case 503:
            return "Service Unavailable";
        case 505:
            return "HTTP Version Not Supported";
        default:
            return "Unknown";
    }
}

}  // namespace tunova::server
