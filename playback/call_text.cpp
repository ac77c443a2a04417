#include "playback/call_text.h"

namespace tunova {
namespace {

constexpr std::string_view kScriptPrefix = "javascript:";
constexpr std::string_view kDelimiters = " ,'\"\t();";
constexpr std::string_view kBlanks = " \t\r\n\v\f";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

}  // namespace

ParsedCall ParseCallText(std::string_view callText) {
    if (const std::size_t prefix = callText.find(kScriptPrefix); prefix != std::string_view::npos) {
        callText.remove_prefix(prefix + kScriptPrefix.size());
    }
    ParsedCall call;
    std::string_view argumentText = callText;
    if (const std::size_t open = callText.find('('); open != std::string_view::npos) {
        call.name = std::string(Trim(callText.substr(0, open)));
        argumentText = callText.substr(open + 1);
    }
    std::size_t at = 0;
    while (at < argumentText.size()) {
        const std::size_t start = argumentText.find_first_not_of(kDelimiters, at);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = argumentText.find_first_of(kDelimiters, start);
        if (end == std::string_view::npos) {
            end = argumentText.size();
        }
        call.args.emplace_back(argumentText.substr(start, end - start));
        at = end;
    }
    return call;
}

}  // namespace tunova
