// Stand-in for the window modes (layout, mini and maximised sizes, the big-video view, docking
// and dropping a dragged result) until they are built: the window keeps its normal layout and
// the mode commands do nothing yet.
//
// To replace it: put the modes object in CTunovaDlg in place of `modes_` (app/tunova_dlg.h).
// Delete this file.
#pragma once

namespace tunova {

class WindowModesStandIn {
  public:
    // Start-up: the layout's rectangles for the current size.
    void ComputeLayout() {}
    // Commands 1127, 1128, 1131, and 1132/1135.
    void Maximize() {}
    void MiniSize() {}
    void NormalSize() {}
    void ToggleBigVideo() {}
    // A search starts: the layout with the result list.
    void ShowResultLayout() {}
};

}  // namespace tunova
