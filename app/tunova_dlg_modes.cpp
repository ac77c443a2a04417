// The main window's side of the window modes (ModesWindow).
#include "app/tunova_dlg.h"

namespace tunova {

bool CTunovaDlg::PlayerReady() const {
    return playback_.pageReady;
}

void CTunovaDlg::FrameChanged(bool centrePanelOnly) {
    skin_.DrawStrips(centrePanelOnly);
}

}  // namespace tunova
