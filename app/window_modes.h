// WindowModes: the main window's sizes and views, and the frame behaviour its borderless window
// lacks. It lays the controls out for the client size and view (app/main_layout.h), switches
// between normal, mini and maximised size and the big-video view, moves the window by its top
// bar with snapping to the work area, resizes it by its edges with an outline, and gives it its
// rounded shape. The geometry itself is pure (app/window_geometry.h); this class applies it.
//
// How the main window uses it: it owns one WindowModes, built with the window, its view state and
// the window's side (ModesWindow, below). Its tables route: the commands kIdcMaximize,
// kIdcMiniSize, kIdcNormalSize, kIdcBigVideo and kIdcBigVideo2 to Maximize(), MiniSize(),
// NormalSize() and ToggleBigVideo(); kWmSize, kWmGetMinMaxInfo and kWmWindowPosChanging to
// OnSize(), OnGetMinMaxInfo() and OnWindowPosChanging(); the left button's press, release and
// double-click and the pointer's moves on the window's own surface to the On* handlers (the release
// and the moves only while no result rows are being dragged). Start-up calls ComputeLayout() and
// PlaceAllControls(), and SaveNormalRect() once the window is first on screen; the search calls
// ShowResultLayout() and PlaceLinkButtons().
#pragma once

#include "app/dialog_state.h"
#include "app/main_layout.h"
#include "app/window_geometry.h"
#include "platform/draw/outline_window.h"
#include "platform/window/window.h"

namespace tunova {

inline constexpr int kSizeModeNormal = 3;
inline constexpr int kSizeModeMini = 2;

// The main window's side of the modes: what they read from it and ask of it.
class ModesWindow {
  public:
    // The page-ready flag: the big-video view waits for the player page.
    virtual bool PlayerReady() const = 0;
    // The frame changed size or view: the skin rebuilds its strips, or only its centre panel.
    virtual void FrameChanged(bool centrePanelOnly) = 0;

  protected:
    ~ModesWindow() = default;
};

class WindowModes {
  public:
    WindowModes(plat::Window& window, ViewState& view, ModesWindow& host);
    WindowModes(const WindowModes&) = delete;
    WindowModes& operator=(const WindowModes&) = delete;

    // LayoutMainWindow: the view of the current client area (785 x 600 while the window has
    // none yet), the two video rectangles and the mini rectangle.
    void ComputeLayout();
    // The view of the last layout; FrameAreas(Layout()) gives the skin its pieces.
    const LayoutView& Layout() const { return layout_; }
    // Moves every control to its rectangle in the current view.
    void PlaceAllControls();
    // Moves the controls tied to the right or bottom edge.
    void PlaceEdgeControls();
    // Puts the home-page and question-board buttons beside the more-results button while it
    // shows, in its place otherwise; in big-video view they stay hidden until the list returns.
    void PlaceLinkButtons(bool moreResultsShown);

    // kIdcMaximize: maximises to the work area of the screen under the window's centre.
    void Maximize();
    // kIdcMiniSize: into mini size, or back to the normal rectangle.
    void MiniSize();
    // kIdcNormalSize: from mini size to 785 x 600 centred, or from maximised to the normal
    // rectangle; nothing otherwise.
    void NormalSize();
    // kIdcBigVideo and kIdcBigVideo2: into or out of the big-video view, once the page is ready.
    void ToggleBigVideo();
    // A search starts: the result list comes back if the big video had taken its place.
    void ShowResultLayout();
    // The initial placement: the window's screen rectangle becomes the normal rectangle.
    void SaveNormalRect();

    // kWmSize with its size type and client size: relayout (except the first time) and shape.
    void OnSize(int sizeType, plat::Size client);
    // kWmGetMinMaxInfo: the smallest size is 785 x 600.
    void OnGetMinMaxInfo(plat::MinMaxInfo& info) const;
    // kWmWindowPosChanging: snaps a moving window to the work area's edges.
    void OnWindowPosChanging(plat::WindowPos& pos) const;
    // Pointer input on the window's own surface, in client pixels.
    void OnLeftButtonDown(plat::Point client);
    void OnMouseMove(plat::Point client);
    void OnLeftButtonUp(plat::Point client);
    void OnLeftDoubleClick(plat::Point client);

    bool IsResizing() const { return resize_.on; }
    // The outline shown while resizing.
    const plat::OutlineWindow& Outline() const { return outline_; }

  private:
    struct ResizeState {
        bool on = false;
        int handle = kNoHandle;
        plat::Rect start;    // the window's screen rectangle at the press
        plat::Point press;   // the pointer's screen position at the press
        plat::Rect outline;  // the outline shown last
    };

    plat::Size ClientSize() const;
    plat::Window* Control(int id) const;
    void ShowControl(int id, bool shown) const;
    void MoveControl(int id, const plat::Rect& rect) const;
    // Moves the window; the layout follows from the size notification, or at once when the
    // size stays the same.
    void MoveWindow(const plat::Rect& rect);
    // The work of a size notification: layout, strips, controls, list columns, repaint.
    void Relayout();
    void SetShape(bool systemMaximized);
    // The lists' scroll bars beside them and their columns across their widths.
    void FitLists() const;
    void SetResultScrollBarCompact(bool compact) const;
    void ShowRestoreButton(bool restore) const;
    void ShowMiniHiddenControls() const;
    void RestoreFromMini();
    void ToggleMaximized();
    void EnterBigVideo();
    void LeaveBigVideo();

    plat::Window& window_;
    ViewState& view_;
    ModesWindow& host_;
    LayoutView layout_;
    bool moreResults_ = false;
    ResizeState resize_;
    plat::OutlineWindow outline_;
};

}  // namespace tunova
