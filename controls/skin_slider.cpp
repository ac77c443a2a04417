// The bitmap slider: pixel mapping, mouse, keys, posted messages and painting.
#include "controls/skin_slider.h"

#include <algorithm>
#include <cstdlib>

#include "controls/buffer_dc.h"
#include "platform/window/mouse_capture.h"

namespace tunova {

CSkinSlider::CSkinSlider() {
    BuildMessageTable();
}

CSkinSlider::~CSkinSlider() = default;

bool CSkinSlider::SetChannelBitmaps(int channel, int active) {
    channel_.Reset();
    active_.Reset();
    if (!channel_.LoadResource(channel) || !active_.LoadResource(active)) {
        channel_.Reset();
        active_.Reset();
        return false;
    }
    width_ = channel_.Width();
    height_ = channel_.Height();
    const plat::Rect frame = WindowRect();
    const plat::Point topLeft = Parent() != nullptr
                                    ? Parent()->ScreenToClient({frame.left, frame.top})
                                    : plat::Point{frame.left, frame.top};
    Move(plat::Rect::FromXYWH(topLeft.x, topLeft.y, width_, height_));
    Invalidate();
    return true;
}

bool CSkinSlider::SetThumbBitmap(int thumb) {
    plat::Bitmap loaded;
    if (!loaded.LoadResource(thumb)) {
        return false;
    }
    thumb_ = loaded;
    thumbWidth_ = thumb_.Width();
    thumbHeight_ = thumb_.Height();
    if (channel_.IsNull()) {
        width_ = ClientRect().Width();
        height_ = ClientRect().Height();
    }
    Invalidate();
    return true;
}

void CSkinSlider::SetLimits(int minimum, int maximum) {
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    pos_ = std::clamp(pos_, min_, max_);
    Invalidate();
}

void CSkinSlider::SetPosition(int position) {
    pos_ = std::max(std::min(position, max_), min_);
    Invalidate();
}

void CSkinSlider::SetSliderEnabled(bool enabled) {
    enabled_ = enabled;
    Invalidate();
}

int CSkinSlider::ThumbCentreFor(int position) const {
    const int span = width_ - marginRight_ - thumbWidth_ - marginLeft_;
    const int range = max_ - min_;
    // An empty range or a channel no wider than the thumb: the thumb rests at the left end.
    if (range <= 0 || span <= 0) {
        return marginLeft_ + Half();
    }
    return marginLeft_ + static_cast<int>(static_cast<double>(span) * (position - min_) / range) +
           Half();
}

int CSkinSlider::PositionFor(int centre) const {
    const int span = width_ - marginRight_ - marginLeft_ - thumbWidth_;
    const int range = max_ - min_;
    if (range <= 0 || span <= 0) {
        return min_;
    }
    const double position =
        static_cast<double>(centre - Half() - marginLeft_) / span * range + min_;
    return static_cast<int>(position);
}

plat::AccessibleInfo CSkinSlider::Accessibility() const {
    plat::AccessibleInfo info;
    info.role = plat::AccessibleRole::kSlider;
    info.value = pos_;
    info.minimum = min_;
    info.maximum = max_;
    return info;
}

bool CSkinSlider::AccessibleSetValue(int value) {
    if (!enabled_ || !IsCreated()) {
        return false;
    }
    SetPosition(value);
    Post(res::kWmSliderReleased);
    return true;
}

void CSkinSlider::Post(std::uint32_t message) {
    if (Parent() != nullptr) {
        Parent()->PostMessage(message, static_cast<plat::WParam>(ControlId()),
                              static_cast<plat::LParam>(pos_));
    }
}

void CSkinSlider::DragTo(int pointerX) {
    if (max_ <= min_ || width_ - marginLeft_ - marginRight_ - thumbWidth_ <= 0) {
        return;  // the thumb cannot move: nothing changes, nothing is posted
    }
    const int target = std::clamp(pointerX - dragOffset_, marginLeft_ + Half(),
                                  std::max(marginLeft_ + Half(), width_ - marginRight_ - Half()));
    if (target == ThumbCentreFor(pos_)) {
        return;
    }
    pos_ = std::clamp(PositionFor(target), min_, max_);
    Invalidate();
    Post(res::kWmSliderMoving);
}

void CSkinSlider::BuildMessageTable() {
    using plat::LParam;
    using plat::LResult;
    using plat::WParam;
    plat::MessageMap& m = Messages();
    m.OnMessage(plat::kWmLButtonDown, [this](WParam, LParam l) {
        if (!enabled_) {
            return LResult{0};
        }
        SetCapture();
        SetFocus();
        dragging_ = true;
        const int x = plat::XFromLParam(l);
        const int centre = ThumbCentreFor(pos_);
        // Far from the thumb it jumps under the pointer; on it, it keeps its grip point.
        dragOffset_ = std::abs(x - centre) > Half() ? 0 : x - centre;
        DragTo(x);
        Invalidate();
        return LResult{0};
    });
    m.OnMessage(plat::kWmMouseMove, [this](WParam, LParam l) {
        if (dragging_ && enabled_) {
            DragTo(plat::XFromLParam(l));
        }
        return LResult{0};
    });
    m.OnMessage(plat::kWmLButtonUp, [this](WParam, LParam) {
        if (!enabled_) {
            return LResult{0};
        }
        ReleaseCapture();
        dragging_ = false;
        Invalidate();
        Post(res::kWmSliderReleased);
        return LResult{0};
    });
    // The capture taken away ends the drag where the thumb is, as a release there would.
    m.OnMessage(plat::kWmCaptureChanged, [this](WParam, LParam) {
        if (dragging_) {
            dragging_ = false;
            Invalidate();
            Post(res::kWmSliderReleased);
        }
        return LResult{0};
    });
    m.OnMessage(plat::kWmKeyDown, [this](WParam w, LParam) {
        if (!enabled_) {
            return LResult{0};
        }
        int next = pos_;
        switch (static_cast<int>(w)) {
            case plat::kVkPrior:
                next = pos_ - page_;
                break;
            case plat::kVkNext:
                next = pos_ + page_;
                break;
            case plat::kVkEnd:
                next = max_;
                break;
            case plat::kVkHome:
                next = min_;
                break;
            case plat::kVkLeft:
            case plat::kVkUp:
                next = pos_ - 1;
                break;
            case plat::kVkRight:
            case plat::kVkDown:
                next = pos_ + 1;
                break;
            default:
                return LResult{0};
        }
        SetPosition(next);
        Post(res::kWmSliderReleased);
        return LResult{0};
    });
    m.OnMessage(plat::kWmSetFocus, [this](WParam, LParam) {
        hasFocus_ = true;
        Invalidate();
        return LResult{0};
    });
    m.OnMessage(plat::kWmKillFocus, [this](WParam, LParam) {
        hasFocus_ = false;
        Invalidate();
        return LResult{0};
    });
    m.OnMessage(plat::kWmEraseBkgnd, [](WParam, LParam) { return LResult{1}; });
    m.OnMessage(plat::kWmPaint, [this](WParam, LParam) {
        if (plat::DC* dc = plat::DC::ForPaint(*this)) {
            Paint(*dc);
        }
        return LResult{0};
    });
}

void CSkinSlider::Paint(plat::DC& target) {
    const plat::Rect client = ClientRect();
    CBufferDC dc(target, &client);
    if (!channel_.IsNull()) {
        if (!active_.IsNull() && enabled_) {
            // Left of the thumb's centre the channel shows its active look.
            const int x = ThumbCentreFor(pos_);
            dc.BitBlt(x, 0, width_ - x, height_, channel_, x, 0);
            dc.BitBlt(0, 0, x, height_, active_, 0, 0);
        } else {
            dc.BitBlt(0, 0, width_, height_, channel_, 0, 0);
        }
    }
    if (!thumb_.IsNull() && enabled_) {
        dc.BitBlt(ThumbCentreFor(pos_) - Half(), marginTop_, thumbWidth_, thumbHeight_, thumb_, 0,
                  0);
    }
    if (drawFocus_ && hasFocus_ && enabled_) {
        dc.FrameRect(client, plat::Rgb(147, 175, 185));
    }
}

}  // namespace tunova
