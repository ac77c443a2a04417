// Platform-internal: the Qt objects behind bitmaps, fonts, regions and drawing contexts. Every
// DC draws on a QImage: a Bitmap's own, or a window's backing image during paint, so raster
// operations and reading back what is on the target work the same everywhere.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>

#include "platform/draw/draw.h"

namespace plat {

struct BitmapImpl {
    QImage image;    // Format_RGB32, or null; its device pixel ratio may be above 1
    QImage image2x;  // the twice-as-large companion (device pixel ratio 2), or null
};

// The image of `bitmap` to draw on a surface of `targetRatio` device pixels per logical pixel:
// the companion on high-density surfaces when there is one.
const QImage& SourceImageFor(const BitmapImpl& bitmap, qreal targetRatio);
// The part of `image` covering the logical rectangle `logical`, clipped to the image, with the
// image's device pixel ratio kept; `inside` receives the logical rectangle actually covered.
QImage LogicalCopy(const QImage& image, const QRect& logical, QRect* inside);

struct FontImpl {
    QFont font;
};

struct RegionImpl {
    QRegion region;
};

struct DCImpl {
    // Draws on `target` (not owned); a null target makes every call a no-op.
    explicit DCImpl(QImage* target);
    ~DCImpl();

    // Restarts drawing on `image` (null: nothing), keeping origin, font and colours.
    void Retarget(QImage* image);
    // Applies the window origin to the painter, and the clip with it.
    void ApplyOrigin();
    // Gives the painter what may be drawn: the selected clip within the system clip.
    void ApplyClip();
    // What may be drawn, in this DC's coordinates; `*whole` is set when that is everything.
    QRegion EffectiveClip(bool* whole) const;
    // The logical rectangle of the whole surface in this DC's coordinates.
    QRect SurfaceRect() const;

    QImage* target;
    std::unique_ptr<QPainter> painter;
    QPoint origin;  // logical point at the surface's top-left
    QRegion clip;   // valid while hasClip
    bool hasClip = false;
    // A window's paint DC draws only inside the part of the window being painted (its update
    // region, in surface coordinates), whatever clip a handler selects.
    QRegion systemClip;  // valid while hasSystemClip
    bool hasSystemClip = false;
    QFont font;
    ColorRef textColor = 0;
    ColorRef backgroundColor = Rgb(255, 255, 255);
    int backgroundMode = kOpaque;
};

inline QColor ToQColor(ColorRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}
inline ColorRef FromQRgb(QRgb rgb) {
    return Rgb(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
inline QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
inline Rect FromQRect(const QRect& r) {
    return Rect::FromXYWH(r.x(), r.y(), r.width(), r.height());
}

}  // namespace plat
