// Basic value types shared by every platform interface: geometry, colours, message parameters.
#pragma once

#include <cstdint>

namespace plat {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using ColorRef = std::uint32_t;  // 0x00BBGGRR, as the skin files and colour keys are written

constexpr ColorRef Rgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Edges are exclusive on the right and bottom, as window rectangles are.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect FromXYWH(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr void Offset(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

constexpr WParam MakeWParam(int low, int high) {
    return static_cast<WParam>((static_cast<unsigned>(low) & 0xFFFF) |
                               ((static_cast<unsigned>(high) & 0xFFFF) << 16));
}
constexpr LParam MakeLParam(int low, int high) {
    return static_cast<LParam>(static_cast<std::int32_t>(
        (static_cast<unsigned>(low) & 0xFFFF) | ((static_cast<unsigned>(high) & 0xFFFF) << 16)));
}
constexpr int LowWord(std::uintptr_t v) {
    return static_cast<int>(v & 0xFFFF);
}
constexpr int HighWord(std::uintptr_t v) {
    return static_cast<int>((v >> 16) & 0xFFFF);
}
// Signed coordinates packed into an LParam (mouse messages).
constexpr int XFromLParam(LParam l) {
    return static_cast<std::int16_t>(l & 0xFFFF);
}
constexpr int YFromLParam(LParam l) {
    return static_cast<std::int16_t>((l >> 16) & 0xFFFF);
}

}  // namespace plat
