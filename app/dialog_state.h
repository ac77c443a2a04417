// The state the main window holds, grouped by the subsystem that uses it, at its initial values.
// The search's state (its text, country and double-click setting) is the search controller's.
#pragma once

#include <string>

#include "platform/core/types.h"
#include "playback/playback_state.h"

namespace tunova {

// Shown where the playing title goes when the server's chart holds no video (its library, the
// user's videos folder by default, is empty).
inline constexpr char kEmptyChartHint[] = "동영상 폴더가 비어 있습니다. 뮤직비디오를 넣어 주세요";

// Owned by the window modes (app/window_modes.h); the skin and the player read it.
struct ViewState {
    int sizeMode = 3;  // 3 normal, 2 mini
    bool listShown = true;
    bool maximized = false;
    bool firstSize = true;  // the first size notification only clears it
    plat::Rect normalBrowserRect;
    plat::Rect bigBrowserRect;
    // The window's screen rectangle to come back to from maximised or mini size.
    plat::Rect normalRect;
    // The mini window's place: the bottom-right corner of the work area at the last layout.
    plat::Rect miniRect;
    // One line in the title display while nothing plays (kEmptyChartHint); empty: none.
    std::string statusHint;
};

struct TrayState {
    bool created = false;
};

struct StartupState {
    bool startedByAutostart = false;
    int updaterWaitTicks = 0;
    // Set once the playlist has been read; an instance that ends before that (another copy
    // running, no connection) must not overwrite the saved playlist with its empty table.
    bool playlistLoaded = false;
    // A search to run once the window is on screen (tunova --search WORD with no copy running).
    std::string searchAtStart;
};

}  // namespace tunova
