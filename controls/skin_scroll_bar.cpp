// The skinned scroll bar: thumb geometry, arrows with repeat, paging, dragging and painting.
#include "controls/skin_scroll_bar.h"

#include <algorithm>

#include "controls/buffer_dc.h"
#include "controls/skin_list.h"
#include "platform/window/mouse_capture.h"
#include "res/resource_ids.h"

namespace tunova {

CSkinScrollBar::CSkinScrollBar() {
    BuildMessageTable();
}

CSkinScrollBar::~CSkinScrollBar() = default;

void CSkinScrollBar::Serve(CSkinList* list, int variant) {
    list_ = list;
    variant_ = variant == 2 ? 2 : 1;
    cap_.LoadResource(res::kBmpHeaderTile);
    capEdge_.LoadResource(res::kBmpHeaderRight);
    up_.LoadResource(res::kBmpScrollUp);
    track_.LoadResource(res::kBmpScrollTrack);
    thumb_.LoadResource(res::kBmpScrollThumb);
    down_.LoadResource(res::kBmpScrollDown);
    thumbTop_ = TrackTop();
}

void CSkinScrollBar::SetCompactMode(bool compact) {
    compact_ = compact;
    Invalidate();
}

bool CSkinScrollBar::ThumbShown() const {
    return list_ != nullptr && list_->ScrollLimit() != 0;
}

bool CSkinScrollBar::OnUpArrow(plat::Point p) const {
    return p.x >= 0 && p.x < kWidth && p.y >= TrackTop() - kArrowHeight && p.y < TrackTop();
}

bool CSkinScrollBar::OnDownArrow(plat::Point p) const {
    return p.x >= 0 && p.x < kWidth && p.y >= Height() - kArrowHeight && p.y < Height();
}

void CSkinScrollBar::ClampThumb() {
    if (thumbTop_ + kThumbHeight > Height() - kArrowHeight) {
        thumbTop_ = Height() - kArrowHeight - kThumbHeight;
    }
    if (thumbTop_ < TrackTop()) {
        thumbTop_ = TrackTop();
    }
}

void CSkinScrollBar::UpdateThumb() {
    if (list_ == nullptr) {
        return;
    }
    if (!dragging_) {
        const int limit = list_->ScrollLimit();
        const int pixels = Height() - (variant_ == 2 ? 57 : 75);
        // A list that fits has nothing to scroll: the thumb stays at the top of the track.
        if (limit > 0 && pixels > 0) {
            const double ratio = static_cast<double>(pixels) / limit;
            thumbTop_ = static_cast<int>(ratio * list_->ScrollPosition()) + TrackTop();
        } else {
            thumbTop_ = TrackTop();
        }
        ClampThumb();
    }
    Invalidate();
}

void CSkinScrollBar::LineScroll(int request) {
    if (list_ != nullptr) {
        list_->SendMessage(plat::kWmVScroll, static_cast<plat::WParam>(request));
        UpdateThumb();
    }
}

void CSkinScrollBar::BuildMessageTable() {
    using plat::LParam;
    using plat::LResult;
    using plat::WParam;
    plat::MessageMap& m = Messages();
    m.OnMessage(plat::kWmLButtonDown, [this](WParam, LParam l) {
        if (list_ == nullptr || (compact_ && variant_ == 1)) {
            return LResult{0};
        }
        const plat::Point p{plat::XFromLParam(l), plat::YFromLParam(l)};
        SetCapture();
        if (ThumbShown() && p.y >= thumbTop_ && p.y < thumbTop_ + kThumbHeight) {
            dragging_ = true;
        } else if (OnDownArrow(p)) {
            downPressed_ = true;
            SetTimer(kRepeatDelayTimer, kRepeatDelayMs);
        } else if (OnUpArrow(p)) {
            upPressed_ = true;
            SetTimer(kRepeatDelayTimer, kRepeatDelayMs);
        }
        return LResult{0};
    });
    m.OnTimer(kRepeatDelayTimer, [this] {
        if (upPressed_ || downPressed_) {
            KillTimer(kRepeatDelayTimer);
            SetTimer(kRepeatTimer, kRepeatMs);
        }
    });
    m.OnTimer(kRepeatTimer, [this] {
        if (downPressed_) {
            LineScroll(plat::kSbLineDown);
        } else if (upPressed_) {
            LineScroll(plat::kSbLineUp);
        }
    });
    m.OnMessage(plat::kWmMouseMove, [this](WParam, LParam l) {
        if (!dragging_ || list_ == nullptr) {
            return LResult{0};
        }
        thumbTop_ = plat::YFromLParam(l) - 15;
        const int limit = list_->ScrollLimit();
        const int pixels = Height() - (variant_ == 2 ? 59 : 77);
        if (limit > 0 && pixels > 0) {
            const double perLine = static_cast<double>(pixels) / limit;
            const int target = static_cast<int>((thumbTop_ - TrackTop()) / perLine);
            list_->Scroll(list_->RowHeight() * (target - list_->ScrollPosition()));
        }
        ClampThumb();
        Invalidate();
        return LResult{0};
    });
    m.OnMessage(plat::kWmLButtonUp, [this](WParam, LParam l) {
        KillTimer(kRepeatTimer);
        KillTimer(kRepeatDelayTimer);
        ReleaseCapture();
        if (list_ == nullptr) {
            return LResult{0};
        }
        const plat::Point p{plat::XFromLParam(l), plat::YFromLParam(l)};
        if (upPressed_ && OnUpArrow(p)) {
            LineScroll(plat::kSbLineUp);
        } else if (downPressed_ && OnDownArrow(p)) {
            LineScroll(plat::kSbLineDown);
        } else if (!dragging_ && !upPressed_ && !downPressed_ && !(compact_ && variant_ == 1)) {
            LineScroll(p.y > thumbTop_ ? plat::kSbPageDown : plat::kSbPageUp);
        }
        upPressed_ = downPressed_ = dragging_ = false;
        UpdateThumb();
        return LResult{0};
    });
    // The capture taken away stops the arrow's repeat and the thumb's drag; nothing scrolls.
    m.OnMessage(plat::kWmCaptureChanged, [this](WParam, LParam) {
        KillTimer(kRepeatTimer);
        KillTimer(kRepeatDelayTimer);
        upPressed_ = downPressed_ = dragging_ = false;
        UpdateThumb();
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

void CSkinScrollBar::Paint(plat::DC& target) {
    const plat::Rect client = ClientRect();
    const int h = client.Height();
    CBufferDC2 dc(client, target);
    if (compact_ && variant_ == 1 && h != 116) {
        dc.FillSolidRect(client, plat::Rgb(0, 0, 0));
        return;
    }
    dc.FillSolidRect(client, plat::Rgb(255, 255, 255));
    if (variant_ == 1) {
        dc.StretchBlt(0, 0, 12, 26, cap_, 0, 0, cap_.Width(), cap_.Height());
        dc.StretchBlt(12, 0, 2, 26, capEdge_, 0, 0, capEdge_.Width(), capEdge_.Height());
    }
    const int top = TrackTop();
    dc.BitBlt(0, top - kArrowHeight, kWidth, kArrowHeight, up_, 0, 0);
    // A bar shorter than its arrows has no track to draw, not a negative one.
    const int trackHeight = std::max(0, h - kArrowHeight - top);
    dc.StretchBlt(0, top, kWidth, trackHeight, track_, 0, 0, track_.Width(), track_.Height());
    dc.BitBlt(0, h - kArrowHeight, kWidth, kArrowHeight, down_, 0, 0);
    if (ThumbShown()) {
        dc.BitBlt(0, thumbTop_, kWidth, kThumbHeight, thumb_, 0, 0);
    }
}

}  // namespace tunova
