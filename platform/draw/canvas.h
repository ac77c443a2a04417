// Anti-aliased vector drawing on a Bitmap, for drawing artwork (the skin generator): shapes with
// solid or vertical-gradient fills and strokes, and text in the installed Korean font. All
// coordinates are in artwork units; `scale` device pixels make one unit, so the same drawing
// code makes an image and its twice-as-large companion.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/draw/draw.h"

namespace plat {

struct PointF {
    double x = 0;
    double y = 0;
};

// A fill or stroke colour: `from` at the top of the shape's box, `to` at its bottom (equal for
// a solid colour).
struct Paint {
    ColorRef from = 0;
    ColorRef to = 0;
    static Paint Solid(ColorRef c) { return {c, c}; }
    static Paint Vertical(ColorRef top, ColorRef bottom) { return {top, bottom}; }
};

class Canvas {
  public:
    // Draws on `target`, which must already have the device size (units × scale).
    Canvas(Bitmap& target, double scale);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    double Scale() const { return scale_; }
    // Off for pixel-exact shapes (masks), on by default.
    void SetAntialias(bool on);

    void FillRect(double x, double y, double w, double h, const Paint& paint);
    void FillRoundRect(double x, double y, double w, double h, double radius, const Paint& paint);
    void FillEllipse(double x, double y, double w, double h, const Paint& paint);
    void FillPolygon(const std::vector<PointF>& points, const Paint& paint);
    void StrokeRoundRect(double x, double y, double w, double h, double radius, double width,
                         const Paint& paint);
    void StrokeEllipse(double x, double y, double w, double h, double width, const Paint& paint);
    void StrokeLine(PointF from, PointF to, double width, ColorRef color);
    void StrokePolyline(const std::vector<PointF>& points, double width, ColorRef color);

    // CP949 text in the installed Korean font at `pixelSize` units, centred in the box (or
    // left-aligned when `centred` is false, vertically centred either way).
    void DrawText(std::string_view cp949, double x, double y, double w, double h, double pixelSize,
                  bool bold, ColorRef color, bool centred = true);
    // Width of the text in units.
    double TextWidth(std::string_view cp949, double pixelSize, bool bold) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    double scale_;
};

}  // namespace plat
