// Drawing contexts: raster-operation copies, stretching, colour-key transparency, fills, lines,
// text and clipping, all on a QImage target.
#include <QFontMetrics>
#include <algorithm>

#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"

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

const QImage& SourceImageFor(const BitmapImpl& bitmap, qreal targetRatio) {
    if (targetRatio >= 2.0 && !bitmap.image2x.isNull()) {
        return bitmap.image2x;
    }
    return bitmap.image;
}

QImage LogicalCopy(const QImage& image, const QRect& logical, QRect* inside) {
    const qreal ratio = image.devicePixelRatio();
    const QRect bounds(0, 0, qRound(image.width() / ratio), qRound(image.height() / ratio));
    const QRect covered = logical & bounds;
    if (inside != nullptr) {
        *inside = covered;
    }
    if (covered.isEmpty()) {
        return {};
    }
    QImage part =
        image.copy(QRect(qRound(covered.x() * ratio), qRound(covered.y() * ratio),
                         qRound(covered.width() * ratio), qRound(covered.height() * ratio)));
    part.setDevicePixelRatio(ratio);
    return part;
}

DCImpl::DCImpl(QImage* image) : target(nullptr) {
    Retarget(image);
    if (painter) {
        font = painter->font();
    }
}

DCImpl::~DCImpl() {
    if (painter) {
        painter->end();
    }
}

void DCImpl::Retarget(QImage* image) {
    if (painter) {
        painter->end();
        painter.reset();
    }
    target = image;
    if (target != nullptr && !target->isNull()) {
        painter = std::make_unique<QPainter>(target);
        ApplyOrigin();
    }
}

void DCImpl::ApplyOrigin() {
    if (!painter) {
        return;
    }
    painter->resetTransform();
    painter->translate(-origin.x(), -origin.y());
    ApplyClip();
}

QRegion DCImpl::EffectiveClip(bool* whole) const {
    *whole = false;
    if (hasSystemClip) {
        const QRegion system = systemClip.translated(origin);
        return hasClip ? clip.intersected(system) : system;
    }
    if (hasClip) {
        return clip;
    }
    *whole = true;
    return QRegion(SurfaceRect());
}

void DCImpl::ApplyClip() {
    if (!painter) {
        return;
    }
    bool whole = false;
    const QRegion region = EffectiveClip(&whole);
    if (whole) {
        painter->setClipping(false);
    } else {
        painter->setClipRegion(region);
    }
}

QRect DCImpl::SurfaceRect() const {
    if (target == nullptr || target->isNull()) {
        return {};
    }
    const qreal ratio = target->devicePixelRatio();
    return QRect(origin, QSize(qRound(target->width() / ratio), qRound(target->height() / ratio)));
}

namespace {

// Draws `part` (already cut from its source) at `to` with the raster operation.
void DrawPart(QPainter* p, const QRectF& to, const QImage& part, RasterOp op) {
    p->setCompositionMode(ModeFor(op));
    p->drawImage(to, part, QRectF(part.rect()));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

qreal RatioOf(const DCImpl& impl) {
    return impl.target != nullptr ? impl.target->devicePixelRatio() : 1.0;
}

}  // namespace

DC::DC() : impl_(std::make_unique<DCImpl>(nullptr)) {}

DC::DC(Bitmap& target) : impl_(std::make_unique<DCImpl>(&target.Impl()->image)) {}

DC::DC(std::unique_ptr<DCImpl> impl) : impl_(std::move(impl)) {}

DC::~DC() = default;

void DC::SelectBitmap(Bitmap& target) {
    impl_->Retarget(&target.Impl()->image);
}

void DC::DeselectBitmap() {
    impl_->Retarget(nullptr);
}

void DC::BitBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
                RasterOp op) {
    QPainter* p = impl_->painter.get();
    if (p == nullptr || width <= 0 || height <= 0) {
        return;
    }
    // Only what the clip lets through is copied: a small repaint of a large window copies a
    // small part of each large strip, not all of it.
    bool whole = false;
    const QRegion clip = impl_->EffectiveClip(&whole);
    if (!whole) {
        const QRect wanted = QRect(x, y, width, height).intersected(clip.boundingRect());
        if (wanted.isEmpty()) {
            return;
        }
        sx += wanted.x() - x;
        sy += wanted.y() - y;
        x = wanted.x();
        y = wanted.y();
        width = wanted.width();
        height = wanted.height();
    }
    // Only the part inside the source is copied; the target keeps the rest. The area is copied
    // out first, since the source may be the target itself.
    const QImage& src = SourceImageFor(*source.Impl(), RatioOf(*impl_));
    QRect inside;
    const QImage part = LogicalCopy(src, QRect(sx, sy, width, height), &inside);
    if (part.isNull()) {
        return;
    }
    DrawPart(p, QRectF(x + inside.x() - sx, y + inside.y() - sy, inside.width(), inside.height()),
             part, op);
}

void DC::BitBlt(int x, int y, int width, int height, const DC& source, int sx, int sy,
                RasterOp op) {
    QPainter* p = impl_->painter.get();
    const DCImpl& from = *source.impl_;
    if (p == nullptr || from.target == nullptr || from.target->isNull() || width <= 0 ||
        height <= 0) {
        return;
    }
    const QRect wanted(sx - from.origin.x(), sy - from.origin.y(), width, height);
    QRect inside;
    const QImage part = LogicalCopy(*from.target, wanted, &inside);
    if (part.isNull()) {
        return;
    }
    DrawPart(p,
             QRectF(x + inside.x() - wanted.x(), y + inside.y() - wanted.y(), inside.width(),
                    inside.height()),
             part, op);
}

void DC::StretchBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
                    int sw, int sh, RasterOp op) {
    QPainter* p = impl_->painter.get();
    if (p == nullptr || width <= 0 || height <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    const QImage& src = SourceImageFor(*source.Impl(), RatioOf(*impl_));
    QRect inside;
    const QImage part = LogicalCopy(src, QRect(sx, sy, sw, sh), &inside);
    if (part.isNull() || inside.size() != QSize(sw, sh)) {
        return;  // a stretch needs its whole source
    }
    DrawPart(p, QRectF(x, y, width, height), part, op);
}

void DC::TransparentBlt(int x, int y, int width, int height, const Bitmap& source, int sx, int sy,
                        int sw, int sh, ColorRef key) {
    QPainter* p = impl_->painter.get();
    if (p == nullptr || width <= 0 || height <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    const QImage& src = SourceImageFor(*source.Impl(), RatioOf(*impl_));
    QRect inside;
    const QImage part = LogicalCopy(src, QRect(sx, sy, sw, sh), &inside);
    if (part.isNull() || inside.size() != QSize(sw, sh)) {
        return;
    }
    // Key pixels become fully transparent; all others stay fully opaque.
    QImage masked = part.convertToFormat(QImage::Format_ARGB32);
    masked.setDevicePixelRatio(part.devicePixelRatio());
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
    p->drawImage(QRectF(x, y, width, height), masked, QRectF(masked.rect()));
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
ColorRef DC::BkColor() const {
    return impl_->backgroundColor;
}
ColorRef DC::TextColor() const {
    return impl_->textColor;
}

int DC::DrawText(std::string_view cp949, Rect& rect, unsigned flags) {
    const QString text = ToQString(cp949);
    const QFontMetrics metrics(impl_->font);
    const int align = QtAlignment(flags);
    if (flags & kDtCalcRect) {
        const QRect needed =
            metrics.boundingRect(QRect(rect.left, rect.top, 0, 0),
                                 (align & ~Qt::AlignVertical_Mask) | Qt::AlignTop, text);
        // One line measures as its advance, as TextExtent does.
        rect.right = rect.left +
                     ((flags & kDtSingleLine) ? metrics.horizontalAdvance(text) : needed.width());
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
        p->setClipRect(box, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
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
    const QRegion current = impl_->hasClip ? impl_->clip : QRegion(impl_->SurfaceRect());
    impl_->clip = current.subtracted(QRegion(ToQRect(rect)));
    impl_->hasClip = true;
    impl_->ApplyClip();
}

void DC::SelectClipRect(const Rect& rect) {
    QPainter* p = impl_->painter.get();
    if (p == nullptr) {
        return;
    }
    impl_->clip = QRegion(ToQRect(rect));
    impl_->hasClip = true;
    impl_->ApplyClip();
}

void DC::SelectClipRegion(const Region& region) {
    QPainter* p = impl_->painter.get();
    if (p == nullptr) {
        return;
    }
    impl_->clip = region.Impl()->region;
    impl_->hasClip = true;
    impl_->ApplyClip();
}

Rect DC::ClipBox() const {
    bool whole = false;
    return FromQRect(impl_->EffectiveClip(&whole).boundingRect());
}

void DC::SetWindowOrigin(Point origin) {
    impl_->origin = QPoint(origin.x, origin.y);
    impl_->ApplyOrigin();
}

Point DC::WindowOrigin() const {
    return {impl_->origin.x(), impl_->origin.y()};
}

int DC::DensityScale() const {
    return std::max(1, qRound(RatioOf(*impl_)));
}

void DC::ResetClip() {
    impl_->hasClip = false;
    impl_->clip = QRegion();
    impl_->ApplyClip();
}

}  // namespace plat
