// Translation of Qt input into the program's key codes, mouse flags and messages.
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/window/window_impl.h"

namespace plat {
namespace {

struct KeyPair {
    int qt;
    int vk;
};

constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, kVkBack}, {Qt::Key_Tab, kVkTab},       {Qt::Key_Return, kVkReturn},
    {Qt::Key_Enter, kVkReturn},   {Qt::Key_Escape, kVkEscape}, {Qt::Key_Space, kVkSpace},
    {Qt::Key_PageUp, 0x21},       {Qt::Key_PageDown, 0x22},    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},         {Qt::Key_Left, kVkLeft},     {Qt::Key_Up, kVkUp},
    {Qt::Key_Right, kVkRight},    {Qt::Key_Down, kVkDown},     {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, kVkDelete},  {Qt::Key_Shift, 0x10},       {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
};

}  // namespace

int VirtualKeyFromQt(int qtKey) {
    // Letters and digits share their codes: the upper-case ASCII character.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return qtKey;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
        return 0x70 + (qtKey - Qt::Key_F1);
    }
    for (const KeyPair& k : kKeys) {
        if (k.qt == qtKey) {
            return k.vk;
        }
    }
    return 0;
}

int QtKeyFromVirtualKey(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        return vk;
    }
    if (vk >= 0x70 && vk <= 0x7B) {
        return Qt::Key_F1 + (vk - 0x70);
    }
    for (const KeyPair& k : kKeys) {
        if (k.vk == vk) {
            return k.qt;
        }
    }
    return Qt::Key_unknown;
}

WParam MouseFlags(Qt::MouseButtons buttons) {
    WParam flags = 0;
    if (buttons & Qt::LeftButton) {
        flags |= kMkLButton;
    }
    if (buttons & Qt::RightButton) {
        flags |= kMkRButton;
    }
    return flags;
}

Message InputMessageFor(QWidget* receiver, QEvent* event) {
    Window* window = WindowImpl::OwnerOf(receiver);
    if (window == nullptr) {
        return {};
    }
    if (event->type() == QEvent::KeyPress) {
        const int vk = VirtualKeyFromQt(static_cast<QKeyEvent*>(event)->key());
        if (vk == 0) {
            return {};
        }
        return {window, kWmKeyDown, static_cast<WParam>(vk), 0};
    }
    // Mouse press or double-click. A window that takes its own mouse input (the browser)
    // keeps it from the hook.
    if (window->Impl()->ownsMouseInput) {
        return {};
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool dbl = event->type() == QEvent::MouseButtonDblClick;
    std::uint32_t message = 0;
    if (mouse->button() == Qt::LeftButton) {
        message = dbl ? kWmLButtonDblClk : kWmLButtonDown;
    } else if (mouse->button() == Qt::RightButton) {
        message = kWmRButtonDown;
    } else {
        return {};
    }
    QPoint client = mouse->position().toPoint();
    if (QWidget* native = window->Impl()->widget.data(); native != nullptr && native != receiver) {
        client = receiver->mapTo(native, client);
    }
    return {window, message, MouseFlags(mouse->buttons()), MakeLParam(client.x(), client.y())};
}

}  // namespace plat
