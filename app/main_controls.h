// The main window's controls, one row each, in the order the window creates them: what the
// control is, its pictures and tooltip, where it sits in each view, whether it shows at first,
// its place in Tab's way and what its command does. The window creates, skins, places, names
// and routes its controls from these rows; a new control is a new row.
#pragma once

#include <span>

#include "platform/core/types.h"
#include "res/resource_ids.h"

namespace tunova {

class CTunovaDlg;

enum class ControlKind {
    kSkinButton,   // a CSkinButton
    kRadioButton,  // a CSkinButton of one radio group
    kPushButton,   // a plain button, never shown: its command comes from keys and other starts
    kResultList,
    kPlaylist,
    kVolumeSlider,
    kPositionSlider,
    kCountryCombo,
    kSearchEdit,
    kVideo,  // the player page's host, created once the page can load
};

// One coordinate of the normal layout: `offset` pixels from the client area's left or top edge,
// or, made with Far(), from its right or bottom edge.
struct LayoutEdge {
    constexpr LayoutEdge(int nearOffset)
        : offset(nearOffset) {}  // NOLINT: a plain number reads best
    int offset;
    bool fromFarEdge = false;
};
constexpr LayoutEdge Far(int distance) {
    LayoutEdge edge(distance);
    edge.fromFarEdge = true;
    return edge;
}

// A control's rectangle in the normal layout of any client size; all zero: not placed.
struct LayoutRect {
    LayoutEdge left = 0;
    LayoutEdge top = 0;
    LayoutEdge right = 0;
    LayoutEdge bottom = 0;
    // In a client area `width` x `height`.
    plat::Rect At(int width, int height) const;
    // True when a change of the client size moves it.
    bool FollowsSize() const {
        return left.fromFarEdge || top.fromFarEdge || right.fromFarEdge || bottom.fromFarEdge;
    }
};

// What a command of the control does in `window`; `id` is the control's.
using ControlCommand = void (*)(CTunovaDlg& window, int id);

struct MainControl {
    int id;
    ControlKind kind;
    LayoutRect normal{};
    res::ButtonBitmaps bitmaps{};   // skinned buttons
    const char* tooltip = nullptr;  // also the name assistive technology reads
    const char* name = nullptr;     // the name it reads where there is no tooltip
    const char* caption = nullptr;  // a plain button's text
    bool shown = true;              // at creation
    bool startsGroup = false;       // of the dialog's groups (radio buttons, Tab)
    bool hiddenInMini = false;      // the mini window has no room for it
    bool hiddenInBigVideo = false;  // the big video covers its place
    bool makesRoomForMore = false;  // moves right while the more-results button shows
    int tabPlace = 0;               // its place in Tab's way through the window; 0: none
    ControlCommand command = nullptr;
};

// Every control of the main window.
std::span<const MainControl> MainControls();
// The row of control `id`, or null.
const MainControl* FindMainControl(int id);

}  // namespace tunova
