#include "bench/support/player_words.h"

#include <cstdio>

namespace tunova::support {

std::string PlayerEncoded(const std::string& utf8) {
    std::string out;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ' ') {
            out += '/';
        } else if (byte < 0x80) {
            out += c;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            out += escape;
        }
    }
    return out;
}

}  // namespace tunova::support
