// The resize outline: a small shaped top-level widget.
#include "platform/draw/outline_window.h"

#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "platform/draw/draw_impl.h"

namespace plat {
namespace {

// Paints the rim in alternating black and white pixels.
class OutlineWidget : public QWidget {
  public:
    OutlineWidget()
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        QPen dashes(Qt::white, 1, Qt::CustomDashLine);
        dashes.setDashPattern({1, 1});
        painter.setPen(dashes);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

}  // namespace

struct OutlineWindow::Impl {
    QPointer<OutlineWidget> widget;
    Rect shown;
};

OutlineWindow::OutlineWindow() : impl_(std::make_unique<Impl>()) {}

OutlineWindow::~OutlineWindow() {
    delete impl_->widget.data();
}

void OutlineWindow::Show(const Rect& screenRect) {
    if (screenRect.IsEmpty()) {
        Hide();
        return;
    }
    if (impl_->widget.isNull()) {
        impl_->widget = new OutlineWidget;
    }
    OutlineWidget* w = impl_->widget.data();
    if (!(impl_->shown == screenRect)) {
        const QRect local(0, 0, screenRect.Width(), screenRect.Height());
        // A rim one pixel wide: the whole rectangle less its inside.
        w->setMask(QRegion(local).subtracted(QRegion(local.adjusted(1, 1, -1, -1))));
        w->setGeometry(ToQRect(screenRect));
        impl_->shown = screenRect;
    }
    if (!w->isVisible()) {
        w->show();
    }
    w->raise();
}

void OutlineWindow::Hide() {
    if (QWidget* w = impl_->widget.data()) {
        w->hide();
    }
    impl_->shown = {};
}

bool OutlineWindow::IsShown() const {
    const QWidget* w = impl_->widget.data();
    return w != nullptr && w->isVisible();
}

Rect OutlineWindow::Shown() const {
    return impl_->shown;
}

Region OutlineWindow::Shape() const {
    Region shape;
    if (const QWidget* w = impl_->widget.data(); w != nullptr && w->isVisible()) {
        shape.Impl()->region = w->mask();
    }
    return shape;
}

}  // namespace plat
