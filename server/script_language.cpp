#include "server/script_language.h"

#include "server/utf8_text.h"

namespace tunova::server {

namespace {

bool IsHangul(char32_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) ||
           (c >= 0xA960 && c <= 0xA97F) || (c >= 0xAC00 && c <= 0xD7FF) ||
           (c >= 0xFFA0 && c <= 0xFFDC);
}

bool IsKana(char32_t c) {
    return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) ||
           (c >= 0xFF66 && c <= 0xFF9F) || (c >= 0x1B000 && c <= 0x1B16F);
}

bool IsHan(char32_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3134F);
}

}  // namespace

std::string LanguageFromScript(std::string_view title) {
    bool kana = false;
    bool han = false;
    std::size_t pos = 0;
    char32_t c = 0;
    while (pos < title.size()) {
        NextCodePoint(title, pos, c);
        if (IsHangul(c)) {
            return "ko";
        }
        kana = kana || IsKana(c);
        han = han || IsHan(c);
    }
    return kana ? "ja" : han ? "zh" : "";
}

}  // namespace tunova::server
