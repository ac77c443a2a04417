// Text in the program's ANSI code page, CP949 (Korean), and its conversions. All text inside the
// program is narrow CP949; these are the boundary crossings to UTF-8 and UTF-16.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

// Converts UTF-8 to CP949. A character CP949 cannot show becomes `defaultChar`; an invalid
// UTF-8 sequence becomes `defaultChar` too (one per bad byte). Never fails.
std::string Utf8ToCp949(std::string_view utf8, char defaultChar = '?');
// Converts CP949 to UTF-8. An invalid or truncated double-byte sequence becomes U+FFFD.
std::string Cp949ToUtf8(std::string_view cp949);
std::u16string Cp949ToUtf16(std::string_view cp949);
std::string Utf16ToCp949(std::u16string_view utf16, char defaultChar = '?');

// True when `byte` opens a double-byte character in CP949 (0x81 to 0xFE).
constexpr bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// The longest start of `cp949` that fits in `maxBytes` and does not end inside a two-byte
// character (a lead byte at the very end of the text counts as a character of its own).
std::string_view CutCp949(std::string_view cp949, std::size_t maxBytes);

// Lower-cases ASCII letters only; both bytes of every double-byte character stay as they are.
std::string LowerCp949(std::string_view cp949);

}  // namespace plat
