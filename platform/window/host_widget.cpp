// Native widgets behind windows: Qt events in, messages out.
#include "platform/window/host_widget_impl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <memory>

#include "platform/draw/draw_impl.h"
#include "platform/window/accessibility_impl.h"
#include "platform/window/mouse_capture.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

WParam SizeType(const QWidget* widget) {
    if (widget->isMinimized()) {
        return kSizeMinimized;
    }
    return widget->isMaximized() ? kSizeMaximized : kSizeRestored;
}

int g_paintDepth = 0;

}  // namespace

PaintScope::PaintScope() {
    ++g_paintDepth;
}

PaintScope::~PaintScope() {
    --g_paintDepth;
}

bool InsidePaint() {
    return g_paintDepth > 0;
}

HostWidget::HostWidget(Window* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    InstallAccessibleFactory();
    AddAccessibleHost(this);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

HostWidget::~HostWidget() {
    RemoveAccessibleHost(this);
}

void HostWidget::paintEvent(QPaintEvent* event) {
    if (owner_ == nullptr) {
        return;
    }
    // Only the part being painted (the update region) is drawn and shown; the backing image
    // keeps the rest from earlier paints.
    QRegion region = event->region();
    // On a high-density screen the surface has that many device pixels per logical pixel.
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * ratio).toSize();
    if (backing_.size() != device || backing_.devicePixelRatio() != ratio) {
        QImage resized(device, QImage::Format_RGB32);
        resized.setDevicePixelRatio(ratio);
        resized.fill(palette().window().color());
        if (!backing_.isNull()) {
            QPainter copy(&resized);
            copy.drawImage(0, 0, backing_);
        }
        backing_ = resized;
        // A new surface is painted whole.
        region = QRegion(rect());
    }
    WindowImpl* impl = owner_->Impl();
    const std::uint64_t key = impl->key;
    impl->pendingUpdate -= region;
    {
        const PaintScope painting;
        auto surface = std::make_unique<DCImpl>(&backing_);
        surface->systemClip = region;
        surface->hasSystemClip = true;
        surface->ApplyClip();
        DC dc(std::move(surface));
        dc.SetBkColor(owner_->BackgroundColor());
        impl->paintDC = &dc;
        impl->Dispatch(kWmEraseBkgnd, 0, 0);
        // A handler may destroy the window (owner_ is then cleared) or even delete it.
        if (owner_ != nullptr) {
            impl->Dispatch(kWmPaint, 0, 0);
        }
        if (WindowImpl::FindLive(key) != nullptr) {
            impl->paintDC = nullptr;
        }
    }
    QPainter painter(this);
    for (const QRect& part : region) {
        painter.drawImage(QRectF(part), backing_,
                          QRectF(part.x() * ratio, part.y() * ratio, part.width() * ratio,
                                 part.height() * ratio));
    }
}

void HostWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (owner_ != nullptr) {
        owner_->Impl()->Dispatch(kWmSize, SizeType(this), MakeLParam(width(), height()));
    }
}

void HostWidget::SendMouse(std::uint32_t message, QMouseEvent* event) {
    if (owner_ == nullptr) {
        return;
    }
    const QPoint p = event->position().toPoint();
    owner_->Impl()->Dispatch(message, MouseFlags(event->buttons()), MakeLParam(p.x(), p.y()));
}

void HostWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SendMouse(kWmLButtonDown, event);
    } else if (event->button() == Qt::RightButton) {
        SendMouse(kWmRButtonDown, event);
    }
}

void HostWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (owner_ != nullptr && owner_->Impl()->movingWithPointer) {
        // The release ends the move; the window sees neither.
        if (event->button() == Qt::LeftButton) {
            owner_->Impl()->EndPointerMove();
        }
        return;
    }
    if (event->button() == Qt::LeftButton) {
        SendMouse(kWmLButtonUp, event);
    } else if (event->button() == Qt::RightButton) {
        SendMouse(kWmRButtonUp, event);
    }
}

void HostWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SendMouse(kWmLButtonDblClk, event);
    } else if (event->button() == Qt::RightButton) {
        SendMouse(kWmRButtonDown, event);
    }
}

void HostWidget::mouseMoveEvent(QMouseEvent* event) {
    if (owner_ != nullptr && owner_->Impl()->movingWithPointer) {
        const QPoint global = event->globalPosition().toPoint();
        owner_->Impl()->MoveWithPointer({global.x(), global.y()},
                                        (event->buttons() & Qt::LeftButton) != 0);
        return;
    }
    SendMouse(kWmMouseMove, event);
}

void HostWidget::wheelEvent(QWheelEvent* event) {
    if (owner_ == nullptr) {
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    const int delta = event->angleDelta().y();
    owner_->Impl()->Dispatch(kWmMouseWheel,
                             MakeWParam(static_cast<int>(MouseFlags(event->buttons())), delta),
                             MakeLParam(global.x(), global.y()));
}

void HostWidget::keyPressEvent(QKeyEvent* event) {
    const int vk = VirtualKeyFromQt(event->key());
    if (owner_ == nullptr || vk == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    owner_->Impl()->Dispatch(kWmKeyDown, static_cast<WParam>(vk), 0);
}

void HostWidget::keyReleaseEvent(QKeyEvent* event) {
    const int vk = VirtualKeyFromQt(event->key());
    if (owner_ == nullptr || vk == 0) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    owner_->Impl()->Dispatch(kWmKeyUp, static_cast<WParam>(vk), 0);
}

void HostWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (owner_ != nullptr) {
        owner_->Impl()->Dispatch(kWmSetFocus, 0, 0);
    }
}

void HostWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (owner_ != nullptr) {
        owner_->Impl()->Dispatch(kWmKillFocus, 0, 0);
    }
}

void HostWidget::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (owner_ != nullptr) {
        owner_->Impl()->Dispatch(kWmMouseLeave, 0, 0);
    }
}

void HostWidget::closeEvent(QCloseEvent* event) {
    // Closing is the window's decision (kWmClose), never the toolkit's.
    event->ignore();
    if (owner_ != nullptr) {
        owner_->Impl()->Dispatch(kWmClose, 0, 0);
    }
}

void HostWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A window that stops being the active one loses the pointer: a drag inside it ends. A
    // window shown without taking the focus (the resize outline) takes nothing from it.
    if (event->type() == QEvent::ActivationChange && owner_ != nullptr && isWindow() &&
        !isActiveWindow()) {
        const QWidget* active = QApplication::activeWindow();
        if (active == nullptr || !active->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
            CancelCapture(owner_);
        }
    }
    if (event->type() == QEvent::WindowStateChange && owner_ != nullptr) {
        owner_->Impl()->Dispatch(kWmSize, SizeType(this), MakeLParam(width(), height()));
    }
}

bool ControlEventBridge::eventFilter(QObject* watched, QEvent* event) {
    if (owner_ == nullptr) {
        return false;
    }
    switch (event->type()) {
        case QEvent::FocusIn:
            owner_->SendMessage(kWmSetFocus, 0, 0);
            break;
        case QEvent::FocusOut:
            owner_->SendMessage(kWmKillFocus, 0, 0);
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const int vk = VirtualKeyFromQt(static_cast<QKeyEvent*>(event)->key());
            if (vk != 0) {
                owner_->SendMessage(event->type() == QEvent::KeyPress ? kWmKeyDown : kWmKeyUp,
                                    static_cast<WParam>(vk), 0);
            }
            break;
        }
        case QEvent::Resize: {
            const auto* w = static_cast<QWidget*>(watched);
            owner_->SendMessage(kWmSize, 0, MakeLParam(w->width(), w->height()));
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace plat
