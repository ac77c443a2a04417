// CSkinSlider: a horizontal slider drawn from bitmaps. The channel bitmap gives its size; the
// part left of the thumb shows the active channel. It maps an integer position in a range to
// the thumb's pixel, follows drags and clicks on the channel and the navigation keys, and posts
// its parent res::kWmSliderMoving (while the position changes under the mouse) and
// res::kWmSliderReleased (on release and after each key), both with the control id and the
// position.
#pragma once

#include <cstdint>

#include "platform/draw/draw.h"
#include "platform/window/window.h"
#include "res/resource_ids.h"

namespace tunova {

class CSkinSlider : public plat::Window {
  public:
    CSkinSlider();
    ~CSkinSlider() override;

    // Loads the channel and active-channel bitmap resources and takes the channel's size;
    // false (no channel) when either cannot be loaded.
    bool SetChannelBitmaps(int channel, int active);
    // Loads the thumb bitmap resource; false (unchanged) when it cannot be loaded.
    bool SetThumbBitmap(int thumb);

    // Neither posts a message. The position is clamped to the range; an empty range (maximum
    // equal to the minimum) puts the thumb at the left end with the position at the minimum.
    void SetLimits(int minimum, int maximum);
    void SetPosition(int position);
    int GetPosition() const { return pos_; }
    int Minimum() const { return min_; }
    int Maximum() const { return max_; }
    void SetPageStep(int step) { page_ = step; }

    // The focus rectangle drawn while the slider has the focus (on unless switched off).
    void SetDrawFocus(bool draw) { drawFocus_ = draw; }
    // While disabled the slider ignores mouse and keys and hides its thumb.
    void SetSliderEnabled(bool enabled);

    // The thumb's centre for a position, and the position for a thumb centre (both clamped to
    // what the channel can show).
    int ThumbCentreFor(int position) const;
    int PositionFor(int centre) const;

    // To assistive technology: a slider with its position and range; a new value moves the
    // thumb and posts res::kWmSliderReleased, as a key does. Refused while disabled.
    plat::AccessibleInfo Accessibility() const override;
    bool AccessibleSetValue(int value) override;

  private:
    void BuildMessageTable();
    void Paint(plat::DC& dc);
    void Post(std::uint32_t message);
    void DragTo(int pointerX);
    int Half() const { return thumbWidth_ / 2; }

    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    int page_ = 20;
    int width_ = 0;
    int height_ = 0;
    int thumbWidth_ = 0;
    int thumbHeight_ = 0;
    int marginLeft_ = 0;
    int marginRight_ = 0;
    int marginTop_ = 0;
    int dragOffset_ = 0;
    bool dragging_ = false;
    bool hasFocus_ = false;
    bool drawFocus_ = true;
    bool enabled_ = true;
    plat::Bitmap channel_;
    plat::Bitmap active_;
    plat::Bitmap thumb_;
};

}  // namespace tunova
