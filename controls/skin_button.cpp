// The skin button: state bitmaps, mask shape, hover, tooltip, check box and radio behaviour.
#include "controls/skin_button.h"

namespace tunova {
namespace {

// The classic system colours the button draws its caption with.
constexpr plat::ColorRef kButtonFace = plat::Rgb(240, 240, 240);
constexpr plat::ColorRef kButtonHighlight = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kGrayText = plat::Rgb(109, 109, 109);

}  // namespace

CSkinButton::CSkinButton() {
    BuildMessageTable();
}

CSkinButton::~CSkinButton() = default;

bool CSkinButton::Create(plat::Window* parent, int id, std::string_view textCp949,
                         const plat::Rect& rect, std::uint32_t style) {
    const std::uint32_t type = style & plat::kBsTypeMask;
    if ((type & 0x3) == 0x3) {
        kind_ = kCheckBox;
    } else if ((type & 0x9) == 0x9) {
        kind_ = kRadioButton;
    } else {
        kind_ = kPushButton;
    }
    // The button draws itself whatever it was created as.
    const std::uint32_t ownerDrawn = (style & ~plat::kBsTypeMask) | plat::kBsOwnerDraw;
    return OwnerDrawButton::Create(parent, id, textCp949, rect, ownerDrawn);
}

void CSkinButton::FreeBitmaps() {
    for (plat::Bitmap* b : {&normal_, &down_, &disabled_, &mask_, &over_, &focus_}) {
        b->Reset();
    }
}

void CSkinButton::ApplySkin(int normal, int down, int over, int mask) {
    FreeBitmaps();
    normal_.LoadResource(normal);
    down_.LoadResource(down);
    if (over != 0) {
        over_.LoadResource(over);
    }
    disabled_.LoadResource(normal);
    drawMode_ = 0;
    if (mask == 0 || !mask_.LoadResource(mask)) {
        // A mask that cannot be loaded counts as none: the button keeps its shape and size
        // instead of shrinking to nothing.
        mask_.Reset();
        return;
    }
    SetRegion(plat::Region::FromMask(mask_));
    // Take the mask's size without moving.
    plat::Point topLeft{0, 0};
    const plat::Rect frame = WindowRect();
    topLeft = Parent() != nullptr ? Parent()->ScreenToClient({frame.left, frame.top})
                                  : plat::Point{frame.left, frame.top};
    Move(plat::Rect::FromXYWH(topLeft.x, topLeft.y, mask_.Width(), mask_.Height()));
    Invalidate();
}

void CSkinButton::AttachTooltip(std::string_view textCp949) {
    if (tooltip_.IsCreated()) {
        tooltip_.UpdateTipText(textCp949);
        return;
    }
    if (tooltip_.Create(this) && tooltip_.AddTool(this, textCp949)) {
        tooltip_.Activate(true);
    }
}

bool CSkinButton::PointerInside(plat::LParam lParam) const {
    return ClientRect().Contains({plat::XFromLParam(lParam), plat::YFromLParam(lParam)});
}

plat::AccessibleInfo CSkinButton::Accessibility() const {
    plat::AccessibleInfo info = OwnerDrawButton::Accessibility();
    if (kind_ == kCheckBox || kind_ == kRadioButton) {
        info.role = kind_ == kCheckBox ? plat::AccessibleRole::kCheckBox
                                       : plat::AccessibleRole::kRadioButton;
        info.checked = checked_;
    }
    return info;
}

bool CSkinButton::AccessiblePress() {
    if (!IsCreated() || !IsEnabled()) {
        return false;
    }
    ToggleByUser();
    Click();
    return true;
}

void CSkinButton::ToggleByUser() {
    if (kind_ == kCheckBox) {
        SendMessage(plat::kBmSetCheck, checked_ ? 0 : 1);
    } else if (kind_ == kRadioButton) {
        SendMessage(plat::kBmSetCheck, 1);
    }
}

void CSkinButton::BuildMessageTable() {
    using plat::LParam;
    using plat::LResult;
    using plat::WParam;
    plat::MessageMap& m = Messages();
    m.OnMessage(plat::kBmGetCheck, [this](WParam, LParam) { return LResult{checked_ ? 1 : 0}; });
    m.OnMessage(plat::kBmSetCheck, [this](WParam w, LParam) {
        checked_ = kind_ != kPushButton && w != 0;
        if (kind_ == kRadioButton && checked_) {
            for (plat::Window* other = NextGroupItem(); other != nullptr && other != this;
                 other = other->NextGroupItem()) {
                other->PostMessage(res::kWmRadioGroup);
            }
        }
        Invalidate();
        return LResult{0};
    });
    m.OnMessage(res::kWmRadioGroup, [this](WParam, LParam) {
        if (checked_) {
            checked_ = false;
            Invalidate();
        }
        return LResult{0};
    });
    m.OnMessage(plat::kWmLButtonDown, [this](WParam w, LParam l) {
        hover_ = false;
        DefaultProc(plat::kWmLButtonDown, w, l);
        pressed_ = IsEnabled();
        return LResult{0};
    });
    m.OnMessage(plat::kWmLButtonDblClk,
                [this](WParam w, LParam l) { return SendMessage(plat::kWmLButtonDown, w, l); });
    m.OnMessage(plat::kWmMouseMove, [this](WParam w, LParam l) {
        if (!(pressed_ && Capture() == this) && !hover_) {
            hover_ = true;
            Invalidate();
        }
        return DefaultProc(plat::kWmMouseMove, w, l);
    });
    m.OnMessage(plat::kWmMouseLeave, [this](WParam, LParam) {
        hover_ = false;
        Invalidate();
        return LResult{0};
    });
    m.OnMessage(plat::kWmLButtonUp, [this](WParam w, LParam l) {
        if (pressed_ && Capture() == this && PointerInside(l)) {
            ToggleByUser();
        }
        pressed_ = false;
        return DefaultProc(plat::kWmLButtonUp, w, l);
    });
    m.OnMessage(plat::kWmKeyDown, [this](WParam w, LParam l) {
        if (static_cast<int>(w) == plat::kVkSpace && IsEnabled()) {
            ToggleByUser();
        }
        return DefaultProc(plat::kWmKeyDown, w, l);
    });
    m.OnMessage(plat::kWmKillFocus, [this](WParam w, LParam l) {
        if (Capture() == this) {
            ReleaseCapture();
            pressed_ = false;
        }
        return DefaultProc(plat::kWmKillFocus, w, l);
    });
    m.OnMessage(plat::kWmEraseBkgnd, [](WParam, LParam) { return LResult{1}; });
}

void CSkinButton::DrawState(plat::DC& dc, const plat::Rect& item, const plat::Bitmap& state) {
    const int w = item.Width();
    const int h = item.Height();
    if (mask_.IsNull()) {
        dc.BitBlt(item.left, item.top, w, h, state, 0, 0);
        return;
    }
    // Where the mask is white the target shows through; where it is black, the state bitmap.
    plat::Bitmap work;
    if (!work.CreateCompatible(dc, w, h)) {
        return;
    }
    plat::DC workDc(work);
    workDc.BitBlt(0, 0, w, h, dc, item.left, item.top);
    workDc.BitBlt(0, 0, w, h, state, 0, 0, plat::kSrcInvert);
    workDc.BitBlt(0, 0, w, h, mask_, 0, 0, plat::kSrcAnd);
    workDc.BitBlt(0, 0, w, h, state, 0, 0, plat::kSrcInvert);
    dc.BitBlt(item.left, item.top, w, h, workDc, 0, 0);
}

void CSkinButton::DrawCaption(plat::DC& dc, plat::Rect rect, plat::ColorRef color) {
    const std::string text = Text();
    if (text.empty()) {
        return;
    }
    dc.SetTextColor(color);
    dc.DrawText(text, rect, plat::kDtCenter | plat::kDtVCenter | plat::kDtSingleLine);
}

void CSkinButton::DrawItem(plat::DC& dc, const DrawItemInfo& info) {
    const plat::Rect item = info.item;
    plat::Rect text{item.left + 2, item.top, item.right - 2, item.bottom};
    dc.SetBkMode(plat::kTransparent);
    if (info.state & plat::kOdsDisabled) {
        if (!disabled_.IsNull()) {
            DrawState(dc, item, disabled_);
        } else {
            dc.FillSolidRect(item, kButtonFace);
        }
        // Engraved: highlight, then grey one pixel up and left.
        DrawCaption(dc, text, kButtonHighlight);
        text.Offset(-1, -1);
        DrawCaption(dc, text, kGrayText);
        return;
    }
    if ((info.state & plat::kOdsSelected) || checked_) {
        if (!down_.IsNull()) {
            DrawState(dc, item, down_);
        } else {
            dc.FillSolidRect(item, kButtonFace);
        }
        text.Offset(1, 1);
    } else if (!normal_.IsNull()) {
        DrawState(dc, item, hover_ && !over_.IsNull() ? over_ : normal_);
    } else {
        dc.FillSolidRect(item, kButtonFace);
    }
    DrawCaption(dc, text, textColor_);
}

}  // namespace tunova
