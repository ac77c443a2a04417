// Drawing: bitmaps, fonts, regions and a drawing context with raster-operation copies,
// stretching, colour-key transparency, fills, text and clipping. A DC draws either on a
// Bitmap (off-screen) or, during kWmPaint / kWmEraseBkgnd, on a window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace plat {

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

    // Reads a .bmp file; returns false (and stays null) when missing or unreadable.
    bool LoadFile(const std::string& path);
    // Loads numbered bitmap resource `id` (see RegisterBitmapResource); false when unknown.
    bool LoadResource(int id);
    // A new bitmap filled with black; false for a non-positive size.
    bool Create(int width, int height);
    void Reset();

    bool IsNull() const;
    Size Dimensions() const;
    int Width() const { return Dimensions().cx; }
    int Height() const { return Dimensions().cy; }
    ColorRef Pixel(int x, int y) const;  // 0 outside the bitmap
    void SetPixel(int x, int y, ColorRef color);

    BitmapImpl* Impl() const { return impl_.get(); }

  private:
    std::unique_ptr<BitmapImpl> impl_;
};

// Numbered bitmap resources: id → BMP file path (registered once at start-up by res/).
void RegisterBitmapResource(int id, const std::string& path);

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
    void Unite(const Region& other);
    void Subtract(const Region& other);
    bool IsEmpty() const;
    bool Contains(Point p) const;
    Rect Bounds() const;
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
    // Draws on `target` (not owned; must outlive the DC).
    explicit DC(Bitmap& target);
    ~DC();
    DC(const DC&) = delete;
    DC& operator=(const DC&) = delete;

    // The window DC valid only inside that window's kWmPaint or kWmEraseBkgnd handling;
    // returns null outside of it.
    static DC* ForPaint(Window& window);

    void BitBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
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
    // Draws CP949 text in `rect` with kDt* flags; returns the text height. With kDtCalcRect
    // nothing is drawn and `rect` is widened/heightened to fit.
    int DrawText(std::string_view cp949, Rect& rect, unsigned flags);
    void TextOut(int x, int y, std::string_view cp949);
    Size TextExtent(std::string_view cp949) const;

    // Later drawing leaves `rect` untouched.
    void ExcludeClipRect(const Rect& rect);
    void SelectClipRect(const Rect& rect);
    void ResetClip();

    DCImpl* Impl() const { return impl_.get(); }

    // Platform internals only: wraps an active native painter.
    explicit DC(std::unique_ptr<DCImpl> impl);

  private:
    std::unique_ptr<DCImpl> impl_;
};

}  // namespace plat
