// A language for a video whose metadata names none, guessed from the script of its title.
#pragma once

#include <string>
#include <string_view>

namespace tunova::server {

// "ko" when `title` holds Hangul, else "ja" when it holds kana, else "zh" when it holds Han
// characters, else empty (Latin and other scripts say nothing of the language).
std::string LanguageFromScript(std::string_view title);

}  // namespace tunova::server
