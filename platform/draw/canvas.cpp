// Anti-aliased vector drawing for artwork, on QPainter.
#include "platform/draw/canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"

namespace plat {

struct Canvas::Impl {
    explicit Impl(QImage* image) : painter(image) {}
    QPainter painter;
};

namespace {

QBrush BrushFor(const Paint& paint, const QRectF& box) {
    if (paint.from == paint.to) {
        return QBrush(ToQColor(paint.from));
    }
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, ToQColor(paint.from));
    gradient.setColorAt(1, ToQColor(paint.to));
    return QBrush(gradient);
}

QFont FontFor(double pixelSize, bool bold) {
    QFont font(ToQString(KoreanFontFamily()));
    font.setPixelSize(std::max(1, qRound(pixelSize)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

}  // namespace

Canvas::Canvas(Bitmap& target, double scale)
    : impl_(std::make_unique<Impl>(&target.Impl()->image)), scale_(scale) {
    impl_->painter.setRenderHint(QPainter::Antialiasing, true);
    impl_->painter.setRenderHint(QPainter::TextAntialiasing, true);
    impl_->painter.scale(scale, scale);
}

Canvas::~Canvas() = default;

void Canvas::SetAntialias(bool on) {
    impl_->painter.setRenderHint(QPainter::Antialiasing, on);
    impl_->painter.setRenderHint(QPainter::TextAntialiasing, on);
}

void Canvas::FillRect(double x, double y, double w, double h, const Paint& paint) {
    const QRectF box(x, y, w, h);
    impl_->painter.fillRect(box, BrushFor(paint, box));
}

void Canvas::FillRoundRect(double x, double y, double w, double h, double radius,
                           const Paint& paint) {
    const QRectF box(x, y, w, h);
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    impl_->painter.fillPath(path, BrushFor(paint, box));
}

void Canvas::FillEllipse(double x, double y, double w, double h, const Paint& paint) {
    const QRectF box(x, y, w, h);
    QPainterPath path;
    path.addEllipse(box);
    impl_->painter.fillPath(path, BrushFor(paint, box));
}

void Canvas::FillPolygon(const std::vector<PointF>& points, const Paint& paint) {
    if (points.empty()) {
        return;
    }
    QPolygonF polygon;
    for (const PointF& p : points) {
        polygon << QPointF(p.x, p.y);
    }
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    impl_->painter.fillPath(path, BrushFor(paint, polygon.boundingRect()));
}

void Canvas::StrokeRoundRect(double x, double y, double w, double h, double radius, double width,
                             const Paint& paint) {
    const QRectF box(x, y, w, h);
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    impl_->painter.strokePath(path, QPen(BrushFor(paint, box), width));
}

void Canvas::StrokeEllipse(double x, double y, double w, double h, double width,
                           const Paint& paint) {
    const QRectF box(x, y, w, h);
    QPainterPath path;
    path.addEllipse(box);
    impl_->painter.strokePath(path, QPen(BrushFor(paint, box), width));
}

void Canvas::StrokeLine(PointF from, PointF to, double width, ColorRef color) {
    impl_->painter.setPen(QPen(ToQColor(color), width, Qt::SolidLine, Qt::RoundCap));
    impl_->painter.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
}

void Canvas::StrokePolyline(const std::vector<PointF>& points, double width, ColorRef color) {
    QPolygonF line;
    for (const PointF& p : points) {
        line << QPointF(p.x, p.y);
    }
    impl_->painter.setPen(QPen(ToQColor(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    impl_->painter.setBrush(Qt::NoBrush);
    impl_->painter.drawPolyline(line);
}

void Canvas::DrawText(std::string_view cp949, double x, double y, double w, double h,
                      double pixelSize, bool bold, ColorRef color, bool centred) {
    // Text is laid out at device size so its hinting fits the pixels it lands on.
    QPainter& p = impl_->painter;
    p.save();
    p.resetTransform();
    p.setFont(FontFor(pixelSize * scale_, bold));
    p.setPen(ToQColor(color));
    const QRectF box(x * scale_, y * scale_, w * scale_, h * scale_);
    p.drawText(box, (centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter,
               ToQString(cp949));
    p.restore();
}

double Canvas::TextWidth(std::string_view cp949, double pixelSize, bool bold) const {
    const QFontMetricsF metrics(FontFor(pixelSize * scale_, bold));
    return metrics.horizontalAdvance(ToQString(cp949)) / scale_;
}

}  // namespace plat
