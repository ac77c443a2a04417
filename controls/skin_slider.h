// Slider drawn from bitmaps. For now it keeps its range and position; the bitmaps and the
// mouse handling that reports moving (res::kWmSliderMoving) and release (res::kWmSliderReleased)
// come with the skin.
#pragma once

#include <algorithm>

#include "platform/window.h"

namespace tunova {

class CSkinSlider : public plat::Window {
  public:
    // An empty or inverted range keeps the position at the minimum.
    void SetRange(int minimum, int maximum) {
        min_ = minimum;
        max_ = std::max(minimum, maximum);
        SetPos(pos_);
    }
    void SetPos(int pos) { pos_ = std::clamp(pos, min_, max_); }
    int Pos() const { return pos_; }
    int RangeMin() const { return min_; }
    int RangeMax() const { return max_; }

  private:
    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
};

}  // namespace tunova
