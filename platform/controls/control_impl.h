// Platform-internal: helpers the standard controls share.
#pragma once

#include <QWidget>

#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace plat {

// The widget a child control is created in: its parent's native widget.
inline QWidget* ParentWidgetOf(const Window* parent) {
    return parent != nullptr ? parent->Impl()->ContainerWidget() : nullptr;
}

// Sends kWmCommand (id, code) with lParam = the control to the control's parent.
inline void NotifyParentCommand(Window* control, int code) {
    if (Window* parent = control->Parent()) {
        parent->SendMessage(kWmCommand, MakeWParam(control->ControlId(), code),
                            reinterpret_cast<LParam>(control));
    }
}

}  // namespace plat
