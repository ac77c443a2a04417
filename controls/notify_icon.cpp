// The tray icon's record, its menus and its clicks.
#include "controls/notify_icon.h"

#include "platform/core/messages.h"
#include "platform/window/window.h"
#include "res/menus.h"
#include "res/resource_ids.h"

namespace tunova {

CNotifyIcon::CNotifyIcon() = default;

CNotifyIcon::~CNotifyIcon() {
    Remove();
}

bool CNotifyIcon::Create(plat::Window* owner) {
    shown_ = false;
    if (owner == nullptr || !owner->IsCreated()) {
        return false;
    }
    owner_ = owner;
    shown_ = icon_.Add(owner, res::kMenuTray, res::kWmTrayNotify, kTrayTip);
    return shown_;
}

bool CNotifyIcon::PrepareSecondRecord(plat::Window* owner) {
    secondOwner_ = owner;
    secondId_ = res::kMenuTrayOpen;
    return true;
}

bool CNotifyIcon::SetIcon(int iconResourceId) {
    return shown_ && icon_.SetImage(iconResourceId);
}

void CNotifyIcon::Remove() {
    if (shown_) {
        icon_.Remove();
        shown_ = false;
    }
}

plat::LResult CNotifyIcon::HandleIconMessage(plat::WParam id, plat::LParam mouseMessage) {
    if (id != static_cast<plat::WParam>(res::kMenuTray)) {
        return 0;
    }
    switch (static_cast<std::uint32_t>(mouseMessage)) {
        case plat::kWmRButtonUp:
            ShowTrayMenu();
            break;
        case plat::kWmLButtonDblClk:
            OpenPlayer();
            break;
        case plat::kWmLButtonUp:
            if (!plat::TrayIcon::ReportsDoubleClicks()) {
                OpenPlayer();
            }
            break;
        default:
            break;
    }
    return 1;
}

void CNotifyIcon::ShowTrayMenu() {
    if (owner_ == nullptr) {
        return;
    }
    plat::PopupMenu menu = res::LoadMenuPopup(res::kMenuTray);
    if (menu.Items().empty()) {
        return;
    }
    // No tray command has a state to update: every item stays enabled.
    menu.SetDefaultItem(menu.Items().front().id);
    const plat::Point at = plat::PointerPosition();
    owner_->BringToForeground();
    menu.Track(owner_, at);
}

void CNotifyIcon::OpenPlayer() {
    plat::Window* owner = secondOwner_ != nullptr ? secondOwner_ : owner_;
    if (owner == nullptr) {
        return;
    }
    const plat::PopupMenu menu =
        res::LoadMenuPopup(secondId_ != 0 ? secondId_ : res::kMenuTrayOpen);
    if (menu.Items().empty()) {
        return;
    }
    owner->BringToForeground();
    owner->SendCommand(menu.Items().front().id);
}

}  // namespace tunova
