// Off-screen drawing for flicker-free painting. A control paints into one of these instead of
// its window's DC; the buffer copies itself to the target when it goes out of scope.
//
// CBufferDC serves the slider: it covers an area of the target (the target's clip box by
// default) in the target's own coordinates, and starts from the target's pixels or from its
// background colour. CBufferDC2 serves the lists, their header and the scroll bar: the caller
// paints the whole area (in the target's coordinates too), and it is copied to the target as
// it is; nothing is copied or filled first.
//
// There is no printer DC on this platform, so CBufferDC always draws off-screen.
#pragma once

#include <memory>

#include "platform/draw/draw.h"

namespace tunova {

// The colour behind everything the skinned controls draw (the lists' empty space).
inline constexpr plat::ColorRef kCommonBackground = plat::Rgb(0, 0, 0);

class CBufferDC : public plat::DC {
  public:
    // `area` null: the target's clip box. `copyFirst`: start from what the target shows there;
    // otherwise from the target's background colour.
    explicit CBufferDC(plat::DC& target, const plat::Rect* area = nullptr, bool copyFirst = false);
    ~CBufferDC() override;
    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

    const plat::Rect& Area() const { return area_; }

  private:
    plat::Bitmap bitmap_;
    plat::DC& target_;
    plat::Rect area_;
};

class CBufferDC2 : public plat::DC {
  public:
    CBufferDC2(const plat::Rect& area, plat::DC& target);
    ~CBufferDC2() override;
    CBufferDC2(const CBufferDC2&) = delete;
    CBufferDC2& operator=(const CBufferDC2&) = delete;

  private:
    std::unique_ptr<plat::Bitmap> bitmap_;
    plat::DC& target_;
    plat::Rect area_;
};

}  // namespace tunova
