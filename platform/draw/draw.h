// Drawing: bitmaps, fonts, regions and a drawing context with raster-operation copies,
// stretching, colour-key transparency, fills, text and clipping. A DC draws either on a
// Bitmap (off-screen) or, during kWmPaint / kWmEraseBkgnd, on a window.
//
// High-density screens: every coordinate is in logical pixels. A window's paint DC on a screen
// with a device pixel ratio of 2 or more draws on a surface of that many device pixels per
// logical pixel; a bitmap that carries a twice-as-large companion image (numbered resources and
// skin files with an "@2x" sibling) is then copied from its companion, so it stays sharp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"

namespace plat {

class DC;
class Window;
struct BitmapImpl;
struct DCImpl;
struct FontImpl;
struct RegionImpl;

// A 32-bit RGB bitmap. A default-constructed bitmap is null.
class Bitmap {
  public:
    Bitmap();
    ~Bitmap();
    Bitmap(const Bitmap& other);
    Bitmap& operator=(const Bitmap& other);
    Bitmap(Bitmap&&) noexcept;
    Bitmap& operator=(Bitmap&&) noexcept;

    // Reads a .bmp file, and its twice-as-large companion "NAME@2x.bmp" when one lies beside
    // it; returns false (and stays null) when the file is missing or unreadable.
    bool LoadFile(const std::string& path);
    // Loads numbered bitmap resource `id` (see RegisterBitmapResource); false when unknown or
    // undecodable.
    bool LoadResource(int id);
    // A new bitmap filled with black; false for a non-positive size.
    bool Create(int width, int height);
    // A new black bitmap of `width` x `height` logical pixels at the density of `dc`'s target,
    // for off-screen drawing that is copied back to it.
    bool CreateCompatible(const DC& dc, int width, int height);
    void Reset();

    // 24-bit BMP file; false when it cannot be written.
    bool SaveBmp(const std::string& path) const;
    // The bitmap as PNG bytes (empty for a null bitmap).
    std::vector<unsigned char> EncodePng() const;
    // Replaces the bitmap with decoded PNG or BMP bytes; false (unchanged) when undecodable.
    bool Decode(const unsigned char* data, std::size_t size);

    // The twice-as-large companion drawn on high-density screens, null when there is none.
    Bitmap HighDensity() const;
    void SetHighDensity(const Bitmap& twice);

    bool IsNull() const;
    Size Dimensions() const;
    int Width() const { return Dimensions().cx; }
    int Height() const { return Dimensions().cy; }
    ColorRef Pixel(int x, int y) const;  // 0 outside the bitmap
    void SetPixel(int x, int y, ColorRef color);
    // Device pixels per logical pixel of the bitmap's own image (1 unless made compatible
    // with a high-density DC).
    int DensityScale() const;

    BitmapImpl* Impl() const { return impl_.get(); }

  private:
    std::unique_ptr<BitmapImpl> impl_;
};

// Numbered bitmap resources: id → BMP file path, or id → encoded image bytes (PNG or BMP)
// with an optional twice-as-large companion. The bytes are not copied and must live for the
// whole process (they are compiled into the program). A later registration replaces an
// earlier one.
void RegisterBitmapResource(int id, const std::string& path);
void RegisterBitmapResourceData(int id, const unsigned char* data, std::size_t size,
                                const unsigned char* data2x = nullptr, std::size_t size2x = 0);
// Icon resources: one id, several square sizes; each call adds one size (encoded bytes, kept
// as with bitmap resources).
void RegisterIconResourceData(int id, const unsigned char* data, std::size_t size);

// The family name of an installed font that covers Hangul, empty when none is installed. The
// font names the program asks for ("돋움", "굴림", "MS Shell Dlg", ...) are drawn in it.
std::string KoreanFontFamily();

enum FontWeight : int { kFwNormal = 400, kFwBold = 700 };
inline constexpr int kHangulCharset = 129;

class Font {
  public:
    Font();
    ~Font();
    Font(const Font& other);
    Font& operator=(const Font& other);
    // `height` in pixels (negative means character height, as the classic call takes it).
    Font(std::string_view faceCp949, int height, int weight = kFwNormal,
         int charset = kHangulCharset);
    FontImpl* Impl() const { return impl_.get(); }

  private:
    std::unique_ptr<FontImpl> impl_;
};

// A window shape or clip area.
class Region {
  public:
    Region();
    ~Region();
    Region(const Region& other);
    Region& operator=(const Region& other);
    static Region FromRect(const Rect& rect);
    // Rounded rectangle; `ellipseWidth`/`ellipseHeight` are the corner ellipse's size.
    static Region FromRoundRect(const Rect& rect, int ellipseWidth, int ellipseHeight);
    // The ellipse inscribed in `rect`.
    static Region FromEllipse(const Rect& rect);
    // Every pixel of `mask` that is not pure white (0xFFFFFF), as runs of one row each; an
    // all-white or null mask gives an empty region.
    static Region FromMask(const Bitmap& mask);
    void Unite(const Region& other);
    void Subtract(const Region& other);
    void Intersect(const Region& other);
    void Offset(int dx, int dy);
    bool IsEmpty() const;
    bool Contains(Point p) const;
    Rect Bounds() const;
    // The region as disjoint rectangles, top to bottom.
    std::vector<Rect> Rects() const;
    RegionImpl* Impl() const { return impl_.get(); }

  private:
    std::unique_ptr<RegionImpl> impl_;
};

enum RasterOp : std::uint32_t {
    kSrcCopy = 0x00CC0020,
    kSrcPaint = 0x00EE0086,  // OR
    kSrcAnd = 0x008800C6,
    kSrcInvert = 0x00660046,  // XOR
};

enum DrawTextFlags : unsigned {
    kDtLeft = 0x0000,
    kDtCenter = 0x0001,
    kDtRight = 0x0002,
    kDtVCenter = 0x0004,
    kDtBottom = 0x0008,
    kDtSingleLine = 0x0020,
    kDtNoClip = 0x0100,
    kDtCalcRect = 0x0400,
    kDtEndEllipsis = 0x8000,
};

enum BackgroundMode : int { kTransparent = 1, kOpaque = 2 };

class DC {
  public:
    // A memory DC with no bitmap selected: drawing has no effect until SelectBitmap.
    DC();
    // Draws on `target` (not owned; must outlive the DC).
    explicit DC(Bitmap& target);
    virtual ~DC();
    DC(const DC&) = delete;
    DC& operator=(const DC&) = delete;

    // The window DC valid only inside that window's kWmPaint or kWmEraseBkgnd handling;
    // returns null outside of it.
    static DC* ForPaint(Window& window);

    // Makes `target` (not owned) the surface drawn on, keeping the origin and colours.
    void SelectBitmap(Bitmap& target);
    // Stops drawing on the selected bitmap (before that bitmap goes away).
    void DeselectBitmap();

    void BitBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
                RasterOp op = kSrcCopy);
    // Copies from what is already on another DC's surface; (sx, sy) are in `source`'s
    // coordinates (its window origin applies).
    void BitBlt(int x, int y, int width, int height, const DC& source, int sx, int sy,
                RasterOp op = kSrcCopy);
    void StretchBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
                    int sw, int sh, RasterOp op = kSrcCopy);
    // Copies (and stretches) every source pixel except those equal to `key`.
    void TransparentBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
                        int sw, int sh, ColorRef key);
    void FillSolidRect(const Rect& rect, ColorRef color);
    void FrameRect(const Rect& rect, ColorRef color);
    void Line(Point from, Point to, ColorRef color, int width = 1);

    void SelectFont(const Font& font);
    void SetTextColor(ColorRef color);
    void SetBkColor(ColorRef color);
    void SetBkMode(int mode);
    ColorRef BkColor() const;
    ColorRef TextColor() const;
    // Draws CP949 text in `rect` with kDt* flags; returns the text height. With kDtCalcRect
    // nothing is drawn and `rect` is widened/heightened to fit.
    int DrawText(std::string_view cp949, Rect& rect, unsigned flags);
    void TextOut(int x, int y, std::string_view cp949);
    Size TextExtent(std::string_view cp949) const;

    // Later drawing leaves `rect` untouched.
    void ExcludeClipRect(const Rect& rect);
    void SelectClipRect(const Rect& rect);
    void SelectClipRegion(const Region& region);
    void ResetClip();
    // The bounding rectangle of what may be drawn: the clip area, else the whole surface
    // (empty for a DC without a surface).
    Rect ClipBox() const;

    // The logical point drawn at the surface's top-left corner (0, 0 by default): a DC over an
    // area of a larger surface uses that surface's coordinates.
    void SetWindowOrigin(Point origin);
    Point WindowOrigin() const;
    // Device pixels per logical pixel of the surface.
    int DensityScale() const;

    DCImpl* Impl() const { return impl_.get(); }

    // Platform internals only: wraps an active native painter.
    explicit DC(std::unique_ptr<DCImpl> impl);

  private:
    std::unique_ptr<DCImpl> impl_;
};

}  // namespace plat
