// Scanning CP949 text by characters. A lead byte (0x81 to 0xFE) always takes the byte after it
// as its trail, whatever that byte is, so a trail byte is never taken for a tag character such as
// `<`,
// `>`, a quote or a delimiter. Every search starts at a character boundary and returns one.
#pragma once

#include <string.h>  // memmem
#include <cstddef>
#include <cstring>
#include <string_view>

namespace tunova::cp949 {

inline constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

constexpr bool IsLead(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

// Index of the character after the one at `i` (< end); a lead byte at the very end stands alone.
inline std::size_t NextChar(const char* s, std::size_t end, std::size_t i) {
    return (IsLead(s[i]) && i + 1 < end) ? i + 2 : i + 1;
}

// True when `q` (>= `from`, a character boundary) is a character boundary too. The run of
// lead-range bytes right before q starts at a boundary and is read in pairs, so q is a trail
// byte exactly when that run has odd length.
inline bool IsBoundary(const char* s, std::size_t from, std::size_t q) {
    std::size_t k = q;
    while (k > from && IsLead(s[k - 1])) {
        --k;
    }
    return ((q - k) & 1) == 0;
}

// First index >= `from` and < `end` where the single-byte character `ch` (< 0x80) stands as a
// character of its own; kNotFound when there is none. `from` must be a character boundary.
inline std::size_t FindChar(const char* s, std::size_t end, std::size_t from, char ch) {
    if (from < end && s[from] == ch) {
        return from;  // common in tags ("><", a name right before '>'): no search needed
    }
    std::size_t pos = from;
    while (pos < end) {
        const void* hit = std::memchr(s + pos, ch, end - pos);
        if (hit == nullptr) {
            return kNotFound;
        }
        const std::size_t q = static_cast<std::size_t>(static_cast<const char*>(hit) - s);
        if (IsBoundary(s, pos, q)) {
            return q;
        }
        pos = q + 1;  // q was a trail byte, so a character starts after it
    }
    return kNotFound;
}

// First index >= `from` where `needle` starts at a character boundary and ends before `end`;
// kNotFound when there is none or the needle is empty.
inline std::size_t FindText(const char* s, std::size_t end, std::size_t from,
                            std::string_view needle) {
    if (needle.empty() || from >= end || end - from < needle.size()) {
        return kNotFound;
    }
    const std::size_t lastStart = end - needle.size();
    if (static_cast<unsigned char>(needle[0]) < 0x80) {
        // A byte match found by memmem is a match of characters when it starts at a boundary
        // (an ASCII first byte then is a character of its own, and the rest follows in step).
        std::size_t pos = from;
        while (pos <= lastStart) {
            const void* hit = memmem(s + pos, end - pos, needle.data(), needle.size());
            if (hit == nullptr) {
                return kNotFound;
            }
            const std::size_t q = static_cast<std::size_t>(static_cast<const char*>(hit) - s);
            if (IsBoundary(s, pos, q)) {
                return q;
            }
            pos = q + 1;
        }
        return kNotFound;
    }
    for (std::size_t pos = from; pos <= lastStart; pos = NextChar(s, end, pos)) {
        if (std::memcmp(s + pos, needle.data(), needle.size()) == 0) {
            return pos;
        }
    }
    return kNotFound;
}

inline std::size_t FindText(std::string_view text, std::size_t from, std::string_view needle) {
    return FindText(text.data(), text.size(), from, needle);
}

}  // namespace tunova::cp949
