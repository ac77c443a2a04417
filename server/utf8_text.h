// UTF-8 helpers for the server: validation, repair and code-point walking.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tunova::server {

// True when `text` is well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Copies `text`, replacing every ill-formed byte by U+FFFD. Never fails.
std::string RepairUtf8(std::string_view text);

// Decodes the code point at `pos` and advances `pos` past it. Returns false at the end of the
// text or on an ill-formed sequence (then `pos` advances one byte and `codePoint` is U+FFFD).
bool NextCodePoint(std::string_view text, std::size_t& pos, char32_t& codePoint);

// Appends the UTF-8 form of `codePoint`; values past U+10FFFF or surrogates append U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace tunova::server
