// Test input through real Qt events (so the pre-dispatch hook, the event translation and the
// controls' own notifications all run).
#include "platform/testing/testing.h"

#include <QApplication>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <vector>

#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"
#include "platform/testing/testing_window_manager.h"
#include "platform/window/dialog.h"
#include "platform/window/host_widget_impl.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace plat::testing {
namespace {

// The widget that receives keys for `target`: its focused descendant, else its own widget.
QWidget* KeyReceiver(plat::Window& target) {
    QWidget* native = target.Impl()->widget.data();
    if (native == nullptr) {
        return nullptr;
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && (focus == native || native->isAncestorOf(focus))) {
        return focus;
    }
    return native;
}

void SendKey(QWidget* receiver, QEvent::Type type, int qtKey, const QString& text,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(type, qtKey, modifiers, text);
    QCoreApplication::sendEvent(receiver, &event);
}

Qt::MouseButton ButtonFor(int button) {
    return button == 2 ? Qt::RightButton : button == 3 ? Qt::MiddleButton : Qt::LeftButton;
}

// Sends a pointer event at a client point of `target` to the deepest child under it, as a real
// pointer event would reach it.
void SendPointer(plat::Window& target, QEvent::Type type, Point client, Qt::MouseButton which,
                 Qt::MouseButtons held) {
    QWidget* native = target.Impl()->widget.data();
    if (native == nullptr) {
        return;
    }
    const QPoint local(client.x, client.y);
    const QPoint global = native->mapToGlobal(local);
    QWidget* receiver = native->childAt(local);
    if (receiver == nullptr) {
        receiver = native;
    }
    // While a window holds the capture, the pointer's events go to it, wherever the pointer is.
    if (plat::Window* capture = plat::Window::Capture()) {
        if (QWidget* grabber = capture->Impl()->widget.data()) {
            receiver = grabber;
        }
    }
    const QPoint receiverPos = receiver->mapFromGlobal(global);
    QMouseEvent event(type, QPointF(receiverPos), QPointF(global), which, held, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &event);
}

}  // namespace

void PressKey(plat::Window& target, int vk) {
    target.SetFocus();
    QWidget* receiver = KeyReceiver(target);
    if (receiver == nullptr) {
        return;
    }
    const int qtKey = QtKeyFromVirtualKey(vk);
    QString text;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        text = QString(QChar(vk)).toLower();
    } else if (vk == kVkSpace) {
        text = QStringLiteral(" ");
    } else if (vk == kVkReturn) {
        text = QStringLiteral("\r");
    }
    SendKey(receiver, QEvent::KeyPress, qtKey, text);
    if (QWidget* again = KeyReceiver(target)) {
        SendKey(again, QEvent::KeyRelease, qtKey, text);
    }
}

void PressAltKey(plat::Window& target, int vk) {
    target.SetFocus();
    if (QWidget* receiver = KeyReceiver(target)) {
        SendKey(receiver, QEvent::KeyPress, QtKeyFromVirtualKey(vk), QString(), Qt::AltModifier);
    }
}

void TypeText(plat::Window& target, const std::string& cp949) {
    target.SetFocus();
    const QString text = ToQString(cp949);
    for (const QChar c : text) {
        QWidget* receiver = KeyReceiver(target);
        if (receiver == nullptr) {
            return;
        }
        const QChar upper = c.toUpper();
        int qtKey = Qt::Key_unknown;
        if ((upper >= QLatin1Char('A') && upper <= QLatin1Char('Z')) ||
            (upper >= QLatin1Char('0') && upper <= QLatin1Char('9'))) {
            qtKey = upper.unicode();
        } else if (c == QLatin1Char(' ')) {
            qtKey = Qt::Key_Space;
        }
        SendKey(receiver, QEvent::KeyPress, qtKey, QString(c));
        SendKey(receiver, QEvent::KeyRelease, qtKey, QString(c));
    }
}

void MouseDown(plat::Window& target, Point client, int button) {
    SendPointer(target, QEvent::MouseButtonPress, client, ButtonFor(button), ButtonFor(button));
}

void MouseUp(plat::Window& target, Point client, int button) {
    SendPointer(target, QEvent::MouseButtonRelease, client, ButtonFor(button), Qt::NoButton);
}

void MouseMove(plat::Window& target, Point client, int heldButton) {
    const Qt::MouseButtons held =
        heldButton == 0 ? Qt::MouseButtons(Qt::NoButton) : Qt::MouseButtons(ButtonFor(heldButton));
    SendPointer(target, QEvent::MouseMove, client, Qt::NoButton, held);
}

void MouseClick(plat::Window& target, Point client, int button) {
    MouseDown(target, client, button);
    MouseUp(target, client, button);
}

void MouseDoubleClick(plat::Window& target, Point client, int button) {
    MouseClick(target, client, button);
    SendPointer(target, QEvent::MouseButtonDblClick, client, ButtonFor(button), ButtonFor(button));
    MouseUp(target, client, button);
}

void MouseLeave(plat::Window& target) {
    if (QWidget* native = target.Impl()->widget.data()) {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(native, &event);
    }
}

void ResizeFromOutside(plat::Window& window, plat::Size size) {
    if (QWidget* native = window.Impl()->widget.data()) {
        native->resize(size.cx, size.cy);
        QCoreApplication::processEvents();
    }
}

void MouseWheel(plat::Window& target, Point client, int delta) {
    QWidget* native = target.Impl()->widget.data();
    if (native == nullptr) {
        return;
    }
    const QPoint local(client.x, client.y);
    QWidget* receiver = native->childAt(local);
    if (receiver == nullptr) {
        receiver = native;
    }
    const QPoint receiverPos = receiver == native ? local : receiver->mapFrom(native, local);
    QWheelEvent event(QPointF(receiverPos), QPointF(native->mapToGlobal(local)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(receiver, &event);
}

bool DropFiles(plat::Window& target, const std::vector<std::string>& paths, Point client) {
    QWidget* native = target.Impl()->widget.data();
    if (native == nullptr) {
        return false;
    }
    const QPoint local(client.x, client.y);
    QWidget* receiver = native->childAt(local);
    if (receiver == nullptr) {
        receiver = native;
    }
    const QPoint pos = receiver == native ? local : receiver->mapFrom(native, local);
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        urls.append(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))));
    }
    data.setUrls(urls);
    QDragEnterEvent enter(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDragMoveEvent move(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &move);
    QDropEvent drop(QPointF(pos), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

plat::Bitmap GrabWindow(plat::Window& window) {
    plat::Bitmap grabbed;
    QWidget* native = window.Impl()->widget.data();
    if (native == nullptr) {
        return grabbed;
    }
    QImage image = native->grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0);
    grabbed.Impl()->image = image;
    return grabbed;
}

plat::Bitmap PaintedSurface(plat::Window& window) {
    plat::Bitmap surface;
    const auto* host = dynamic_cast<HostWidget*>(window.Impl()->widget.data());
    if (host != nullptr && !host->Surface().isNull()) {
        QImage image = host->Surface().convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(1.0);
        surface.Impl()->image = image;
    }
    return surface;
}

int DeviceScale(plat::Window& window) {
    QWidget* native = window.Impl()->widget.data();
    return native != nullptr ? std::max(1, qRound(native->devicePixelRatioF())) : 1;
}

void RunSoon(std::function<void()> body) {
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(body));
}

void RunEventLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

Dialog* ActiveModalDialog() {
    const std::vector<Dialog*> running = Dialog::RunningModal();
    return running.empty() ? nullptr : running.back();
}

}  // namespace plat::testing
