#include "server/xml_text.h"

#include <cstdio>
#include <ctime>

namespace tunova::server {

void AppendXmlEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
            case '\n':
            case '\r':
                out.push_back(c);
                break;
            default:
                out.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c);
                break;
        }
    }
}

std::string XmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    AppendXmlEscaped(out, text);
    return out;
}

std::string AtomDate(std::int64_t unixSeconds) {
    const std::time_t seconds = static_cast<std::time_t>(unixSeconds);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.000Z", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

}  // namespace tunova::server
