// The scrolling now-playing title. A title wider than its rectangle rests 3 s at the left, then
// moves left two pixels every 200 ms until its last character reaches the rectangle's right
// edge, rests 2 s there and starts again from the left. A title that fits stands still.
//
// The steps are taken where the title is painted (Place) and on the window's timers
// kTimerTitleScroll (step) and kTimerTitlePause (pause), which the window routes to OnStepTimer and
// OnPauseTimer; each timer tick invalidates only the title's rectangle.
#pragma once

#include "platform/core/types.h"
#include "platform/window/window.h"

namespace tunova {

class TitleMarquee {
  public:
    // `window` owns kTimerTitleScroll and kTimerTitlePause; `area` is the title's rectangle in its
    // client area.
    TitleMarquee(plat::Window& window, const plat::Rect& area);

    // Where a title `titleWidth` pixels wide is drawn now (one call per paint of the title).
    struct Placement {
        bool scrolled = false;  // true: at `at`, clipped to the area; false: left-aligned in it
        plat::Point at;
    };
    Placement Place(int titleWidth);

    // kTimerTitleScroll: two pixels further left, every 200 ms from now on.
    void OnStepTimer();
    // kTimerTitlePause: the pause at the end of a pass is over.
    void OnPauseTimer();
    // A new title: back to the left edge, standing still.
    void Reset();

    bool Scrolling() const { return scrolling_; }
    int Offset() const { return offset_; }

  private:
    void InvalidateArea();

    plat::Window& window_;
    plat::Rect area_;
    plat::Point at_;
    bool scrolling_ = false;
    int offset_ = 0;
};

}  // namespace tunova
