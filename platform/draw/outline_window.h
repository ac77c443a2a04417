// The outline drawn on the desktop while a window is resized by its edges: a frameless,
// always-on-top window over the outline's rectangle whose shape is only its one-pixel rim, so
// the desktop shows through the middle without a compositor. The rim alternates black and white
// pixels, so it shows on any background. It takes no pointer input and no focus.
#pragma once

#include <memory>

#include "platform/core/types.h"
#include "platform/draw/draw.h"

namespace plat {

class OutlineWindow {
  public:
    OutlineWindow();
    ~OutlineWindow();
    OutlineWindow(const OutlineWindow&) = delete;
    OutlineWindow& operator=(const OutlineWindow&) = delete;

    // Shows the outline of `screenRect`, or moves it there; an empty rectangle hides it.
    void Show(const Rect& screenRect);
    void Hide();
    bool IsShown() const;
    // The rectangle shown last (empty when hidden).
    Rect Shown() const;
    // The window's shape in its own coordinates (the rim), empty when hidden.
    Region Shape() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace plat
