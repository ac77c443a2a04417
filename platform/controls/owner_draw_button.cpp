// A button that draws itself, with the standard button's capture, pushed look, click and
// Space handling.
#include "platform/controls/control_impl.h"
#include "platform/controls/controls.h"
#include "platform/draw/draw.h"

namespace plat {

bool OwnerDrawButton::Create(Window* parent, int id, std::string_view textCp949, const Rect& rect,
                             std::uint32_t style) {
    if (IsCreated()) {
        return false;
    }
    SetText(textCp949);
    return Window::Create(parent, id, rect, style);
}

void OwnerDrawButton::Click() {
    if (IsCreated() && IsEnabled()) {
        NotifyParentCommand(this, kBnClicked);
    }
}

AccessibleInfo OwnerDrawButton::Accessibility() const {
    AccessibleInfo info;
    info.role = AccessibleRole::kButton;
    info.pressed = pushed_;
    return info;
}

bool OwnerDrawButton::AccessiblePress() {
    if (!IsCreated() || !IsEnabled()) {
        return false;
    }
    Click();
    return true;
}

void OwnerDrawButton::DrawItem(DC& dc, const DrawItemInfo& info) {
    dc.FillSolidRect(info.item, dc.BkColor());
}

void OwnerDrawButton::SetPushed(bool pushed) {
    if (pushed_ != pushed) {
        pushed_ = pushed;
        Invalidate();
    }
}

LResult OwnerDrawButton::DefaultProc(std::uint32_t message, WParam wParam, LParam lParam) {
    const Point point{XFromLParam(lParam), YFromLParam(lParam)};
    switch (message) {
        case kWmPaint:
            if (DC* dc = DC::ForPaint(*this)) {
                DrawItemInfo info;
                info.item = ClientRect();
                info.state = (pushed_ ? kOdsSelected : 0u) | (IsEnabled() ? 0u : kOdsDisabled) |
                             (HasFocus() ? kOdsFocus : 0u);
                DrawItem(*dc, info);
            }
            return 0;
        case kWmLButtonDown:
        case kWmLButtonDblClk:
            if (IsEnabled()) {
                SetCapture();
                SetFocus();
                SetPushed(true);
            }
            return 0;
        case kWmMouseMove:
            if (Capture() == this && !keyPushed_) {
                SetPushed(ClientRect().Contains(point));
            }
            return 0;
        case kWmLButtonUp:
            if (Capture() == this) {
                ReleaseCapture();
                const bool click = pushed_ && ClientRect().Contains(point);
                SetPushed(false);
                if (click) {
                    NotifyParentCommand(this, kBnClicked);
                }
            }
            return 0;
        case kWmKeyDown:
            if (static_cast<int>(wParam) == kVkSpace && IsEnabled() && Capture() != this) {
                keyPushed_ = true;
                SetPushed(true);
            }
            return 0;
        case kWmKeyUp:
            if (static_cast<int>(wParam) == kVkSpace && keyPushed_) {
                keyPushed_ = false;
                SetPushed(false);
                NotifyParentCommand(this, kBnClicked);
            }
            return 0;
        case kWmKillFocus:
            keyPushed_ = false;
            if (Capture() == this) {
                ReleaseCapture();
            }
            SetPushed(false);
            return 0;
        case kWmEraseBkgnd:
            return 1;
        case kBmGetState:
            return pushed_ ? kBstPushed : 0;
        case kBmSetState:
            SetPushed(wParam != 0);
            return 0;
        case kBmGetCheck:
            return checked_ ? 1 : 0;
        case kBmSetCheck:
            checked_ = wParam != 0;
            Invalidate();
            return 0;
        default:
            return Window::DefaultProc(message, wParam, lParam);
    }
}

}  // namespace plat
