// Platform-internal: the Qt objects behind bitmaps, fonts, regions and drawing contexts. Every
// DC draws on a QImage: a Bitmap's own, or a window's backing image during paint, so raster
// operations and reading back what is on the target work the same everywhere.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>

#include "platform/draw.h"

namespace plat {

struct BitmapImpl {
    QImage image;  // Format_RGB32, or null
};

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

    QImage* target;
    std::unique_ptr<QPainter> painter;
    QRegion clip;  // valid while hasClip
    bool hasClip = false;
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
