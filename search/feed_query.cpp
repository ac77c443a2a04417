#include "search/feed_query.h"

#include <array>
#include <cstdio>
#include <utility>

#include "platform/core/codepage.h"

namespace tunova {
namespace {

constexpr std::array<std::pair<char, std::string_view>, 20> kEncodingPairs = {{
    {'$', "%24"}, {'-', "%2D"}, {'_', "%5F"}, {'.', "%2E"}, {'+', "%2B"},
    {'!', "%21"}, {'*', "%2A"}, {'%', "%25"}, {'"', "%22"}, {'\'', "%27"},
    {'(', "%28"}, {')', "%29"}, {';', "%3B"}, {'/', "%2F"}, {'?', "%3F"},
    {':', "%3A"}, {'@', "%40"}, {'=', "%3D"}, {'&', "%26"}, {'|', "%7C"},
}};

// Length of the UTF-8 sequence led by `lead` (1 for ASCII and stray continuation bytes).
std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
std::string CutUtf8(std::string utf8, std::size_t limit) {
    std::size_t keep = 0;
    while (keep < utf8.size()) {
        const std::size_t len = Utf8Length(static_cast<unsigned char>(utf8[keep]));
        if (keep + len > limit) {
            break;
        }
        keep += len;
    }
    utf8.resize(std::min(keep, utf8.size()));
    return utf8;
}

}  // namespace

std::string ApplyEncodingPairs(std::string_view word) {
    std::string out(word);
    for (const auto& [character, replacement] : kEncodingPairs) {
        if (out.find(character) == std::string::npos || out.find("%25") == std::string::npos) {
            continue;
        }
        std::string replaced;
        replaced.reserve(out.size() + 8);
        for (char c : out) {
            if (c == character) {
                replaced.append(replacement);
            } else {
                replaced.push_back(c);
            }
        }
        out = std::move(replaced);
    }
    return out;
}

std::string EncodeSearchWord(std::string_view word) {
    std::string spaced(word);
    for (char& c : spaced) {
        if (c == ' ') {
            c = '/';
        }
    }
    const std::string utf8 = CutUtf8(plat::Cp949ToUtf8(spaced), kMaxEncodedWordBytes);
    std::string out;
    out.reserve(utf8.size() * 3);
    for (char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof(hex), "%%%02X", b);
            out.append(hex, 3);
        }
    }
    return out;
}

std::string_view CountrySuffix(int countryIndex) {
    switch (countryIndex) {
        case 1:
            return "&lr=ko";
        case 2:
            return "&lr=en";
        case 3:
            return "&lr=ja";
        case 4:
            return "&lr=zh";
        default:
            return {};
    }
}

std::string FirstPageQuery(std::string_view encodedWord, std::string_view suffix) {
    std::string query = "feeds/api/videos/-/Music?vq=";
    query.append(encodedWord);
    query.append("&orderby=relevance&max-results=30&start-index=1");
    query.append(suffix);
    return query;
}

std::string NextPageQuery(std::string_view encodedWord, int startIndex, std::string_view suffix) {
    std::string query = "feeds/api/videos/-/Music?q=";
    query.append(encodedWord);
    query.append("&orderby=relevance&max-results=30&start-index=");
    query.append(std::to_string(startIndex));
    query.append(suffix);
    return query;
}

}  // namespace tunova
