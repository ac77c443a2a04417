// A notification-area icon: the program's icon in the desktop's tray, with a tooltip. Clicks on
// it reach the owner window as its callback message, sent at once, with wParam = the icon's id
// and lParam = the mouse message: kWmRButtonUp (right click), kWmLButtonDblClk (left
// double-click), kWmLButtonUp (left click).
//
// Mapping on Linux: Qt's tray icon, which speaks the StatusNotifierItem protocol on the session
// bus where a StatusNotifierWatcher runs (KDE Plasma, GNOME with the AppIndicator extension,
// most panels of today) and docks into an XEmbed tray otherwise. XEmbed trays report left
// double-clicks; StatusNotifierItem hosts never do, they report one left click (activate) only.
// A desktop with neither has no tray: Add() fails.
//
// Tests install plat::testing::FakeTray (below) in place of the desktop's tray.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"

namespace plat {

class Window;

class TrayIcon {
  public:
    TrayIcon();
    // Removes the icon from the tray.
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Whether the desktop has a tray now.
    static bool IsAvailable();
    // Whether the tray reports left double-clicks (false on StatusNotifierItem hosts).
    static bool ReportsDoubleClicks();

    // Puts an icon without image into the tray, `tipCp949` (at most 127 bytes are shown) as its
    // tooltip. The image shows once SetImage() gives one. Returns false when there is no tray,
    // `owner` has no native window, or the icon is already added.
    bool Add(Window* owner, int id, std::uint32_t callbackMessage, std::string_view tipCp949);
    // The icon's image from icon resource `iconResourceId`; false when the resource is unknown
    // or the icon is not added.
    bool SetImage(int iconResourceId);
    // Takes the icon out of the tray; nothing when it is not there.
    void Remove();
    bool IsAdded() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The pointer's position on the screen.
Point PointerPosition();

namespace testing {

// A tray for tests (a headless run has none): while one exists, plat::TrayIcon puts its icons
// here instead of into the desktop's tray, and Click() reports a click to an icon's owner the
// way the desktop does.
class FakeTray {
  public:
    explicit FakeTray(bool reportsDoubleClicks = true);
    ~FakeTray();
    FakeTray(const FakeTray&) = delete;
    FakeTray& operator=(const FakeTray&) = delete;

    struct Icon {
        int id = 0;
        std::string tip;  // CP949
        int image = 0;    // the icon resource shown, 0 while none
    };
    // The icons in the tray now, in the order they were added.
    std::vector<Icon> Icons() const;
    // A click on icon `id`: `mouseMessage` is kWmRButtonUp, kWmLButtonDblClk or kWmLButtonUp.
    // False when no icon has that id.
    bool Click(int id, std::uint32_t mouseMessage);

    // Whether this tray reports double-clicks (an XEmbed tray does, a StatusNotifierItem host
    // does not).
    bool reportsDoubleClicks;
};

}  // namespace testing
}  // namespace plat
