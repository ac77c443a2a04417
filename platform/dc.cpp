// Drawing contexts: raster-operation copies, stretching, colour-key transparency, fills, lines,
// text and clipping, all on a QImage target.
#include <QFontMetrics>

#include "platform/draw_impl.h"
#include "platform/qt_text_impl.h"
#include "platform/window.h"
#include "platform/window_impl.h"

namespace plat {
namespace {

QPainter::CompositionMode ModeFor(RasterOp op) {
    switch (op) {
        case kSrcAnd:
            return QPainter::RasterOp_SourceAndDestination;
        case kSrcPaint:
            return QPainter::RasterOp_SourceOrDestination;
        case kSrcInvert:
            return QPainter::RasterOp_SourceXorDestination;
        case kSrcCopy:
        default:
            return QPainter::CompositionMode_Source;
    }
}

int QtAlignment(unsigned flags) {
    int align = 0;
    if (flags & kDtCenter) {
        align |= Qt::AlignHCenter;
    } else if (flags & kDtRight) {
        align |= Qt::AlignRight;
    } else {
        align |= Qt::AlignLeft;
    }
    if (flags & kDtSingleLine) {
        align |= Qt::TextSingleLine;
        if (flags & kDtVCenter) {
            align |= Qt::AlignVCenter;
        } else if (flags & kDtBottom) {
            align |= Qt::AlignBottom;
        } else {
            align |= Qt::AlignTop;
        }
    } else {
        align |= Qt::AlignTop;
    }
    return align;
}

}  // namespace

DCImpl::DCImpl(QImage* image) : target(image) {
    if (target != nullptr && !target->isNull()) {
        painter = std::make_unique<QPainter>(target);
        font = painter->font();
    }
}

DCImpl::~DCImpl() {
    if (painter) {
        painter->end();
    }
}

DC::DC(Bitmap& target) : impl_(std::make_unique<DCImpl>(&target.Impl()->image)) {}

DC::DC(std::unique_ptr<DCImpl> impl) : impl_(std::move(impl)) {}

DC::~DC() = default;

DC* DC::ForPaint(Window& window) {
    return window.Impl()->paintDC;
}

void DC::BitBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
                RasterOp op) {
    QPainter* p = impl_->painter.get();
    const QImage& src = source.Impl()->image;
    if (p == nullptr || src.isNull() || width <= 0 || height <= 0) {
        return;
    }
    // Only the part inside the source is copied; the target keeps the rest. The area is copied
    // out first, since the source may be the target itself.
    const QRect wanted(sx, sy, width, height);
    const QRect inside = wanted & src.rect();
    if (inside.isEmpty()) {
        return;
    }
    const QImage part = src.copy(inside);
    p->setCompositionMode(ModeFor(op));
    p->drawImage(QPoint(x + inside.x() - sx, y + inside.y() - sy), part);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DC::StretchBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
                    int sw, int sh, RasterOp op) {
    QPainter* p = impl_->painter.get();
    const QImage& src = source.Impl()->image;
    if (p == nullptr || src.isNull() || width <= 0 || height <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    const QImage part = src.copy(sx, sy, sw, sh)
                            .scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    p->setCompositionMode(ModeFor(op));
    p->drawImage(QPoint(x, y), part);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DC::TransparentBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
                        int sw, int sh, ColorRef key) {
    QPainter* p = impl_->painter.get();
    const QImage& src = source.Impl()->image;
    if (p == nullptr || src.isNull() || width <= 0 || height <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    QImage part = src.copy(sx, sy, sw, sh);
    if (sw != width || sh != height) {
        part = part.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    // Key pixels become fully transparent; all others stay fully opaque.
    QImage masked = part.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = ToQColor(key).rgb() & 0x00FFFFFF;
    for (int row = 0; row < masked.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(row));
        for (int col = 0; col < masked.width(); ++col) {
            if ((line[col] & 0x00FFFFFF) == keyRgb) {
                line[col] = 0;
            }
        }
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QPoint(x, y), masked);
}

void DC::FillSolidRect(const Rect& rect, ColorRef color) {
    if (QPainter* p = impl_->painter.get(); p != nullptr && !rect.IsEmpty()) {
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->fillRect(ToQRect(rect), ToQColor(color));
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

void DC::FrameRect(const Rect& rect, ColorRef color) {
    QPainter* p = impl_->painter.get();
    if (p == nullptr || rect.IsEmpty()) {
        return;
    }
    // One pixel inside the rectangle, as the classic call draws it.
    const QColor c = ToQColor(color);
    const int w = rect.Width();
    const int h = rect.Height();
    p->fillRect(rect.left, rect.top, w, 1, c);
    p->fillRect(rect.left, rect.bottom - 1, w, 1, c);
    p->fillRect(rect.left, rect.top, 1, h, c);
    p->fillRect(rect.right - 1, rect.top, 1, h, c);
}

void DC::Line(Point from, Point to, ColorRef color, int width) {
    if (QPainter* p = impl_->painter.get()) {
        p->setPen(QPen(ToQColor(color), width < 1 ? 1 : width));
        p->drawLine(from.x, from.y, to.x, to.y);
    }
}

void DC::SelectFont(const Font& font) {
    impl_->font = font.Impl()->font;
}
void DC::SetTextColor(ColorRef color) {
    impl_->textColor = color;
}
void DC::SetBkColor(ColorRef color) {
    impl_->backgroundColor = color;
}
void DC::SetBkMode(int mode) {
    impl_->backgroundMode = mode;
}

int DC::DrawText(std::string_view cp949, Rect& rect, unsigned flags) {
    const QString text = ToQString(cp949);
    const QFontMetrics metrics(impl_->font);
    const int align = QtAlignment(flags);
    if (flags & kDtCalcRect) {
        const QRect needed =
            metrics.boundingRect(QRect(rect.left, rect.top, 0, 0),
                                 (align & ~Qt::AlignVertical_Mask) | Qt::AlignTop, text);
        rect.right = rect.left + needed.width();
        rect.bottom = rect.top + std::max(needed.height(), metrics.height());
        return rect.Height();
    }
    QPainter* p = impl_->painter.get();
    if (p == nullptr) {
        return 0;
    }
    const QRect box = ToQRect(rect);
    QString shown = text;
    if ((flags & kDtEndEllipsis) && metrics.horizontalAdvance(text) > box.width()) {
        shown = metrics.elidedText(text, Qt::ElideRight, box.width());
    }
    p->save();
    if (!(flags & kDtNoClip)) {
        p->setClipRect(box, impl_->hasClip ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    p->setFont(impl_->font);
    const QRect drawn = p->boundingRect(box, align, shown);
    if (impl_->backgroundMode == kOpaque) {
        p->fillRect(drawn, ToQColor(impl_->backgroundColor));
    }
    p->setPen(ToQColor(impl_->textColor));
    p->drawText(box, align, shown);
    p->restore();
    return drawn.height();
}

void DC::TextOut(int x, int y, std::string_view cp949) {
    QPainter* p = impl_->painter.get();
    if (p == nullptr) {
        return;
    }
    const QString text = ToQString(cp949);
    const QFontMetrics metrics(impl_->font);
    const QRect box(x, y, metrics.horizontalAdvance(text), metrics.height());
    p->save();
    p->setFont(impl_->font);
    if (impl_->backgroundMode == kOpaque) {
        p->fillRect(box, ToQColor(impl_->backgroundColor));
    }
    p->setPen(ToQColor(impl_->textColor));
    p->drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    p->restore();
}

Size DC::TextExtent(std::string_view cp949) const {
    const QFontMetrics metrics(impl_->font);
    return {metrics.horizontalAdvance(ToQString(cp949)), metrics.height()};
}

void DC::ExcludeClipRect(const Rect& rect) {
    QPainter* p = impl_->painter.get();
    if (p == nullptr) {
        return;
    }
    const QRegion current = impl_->hasClip ? impl_->clip : QRegion(impl_->target->rect());
    impl_->clip = current.subtracted(QRegion(ToQRect(rect)));
    impl_->hasClip = true;
    p->setClipRegion(impl_->clip);
}

void DC::SelectClipRect(const Rect& rect) {
    QPainter* p = impl_->painter.get();
    if (p == nullptr) {
        return;
    }
    impl_->clip = QRegion(ToQRect(rect));
    impl_->hasClip = true;
    p->setClipRegion(impl_->clip);
}

void DC::ResetClip() {
    impl_->hasClip = false;
    impl_->clip = QRegion();
    if (QPainter* p = impl_->painter.get()) {
        p->setClipping(false);
    }
}

}  // namespace plat
