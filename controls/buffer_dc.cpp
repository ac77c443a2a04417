// Off-screen drawing contexts copied to their target at the end of a paint.
#include "controls/buffer_dc.h"

namespace tunova {

CBufferDC::CBufferDC(plat::DC& target, const plat::Rect* area, bool copyFirst)
    : target_(target), area_(area != nullptr ? *area : target.ClipBox()) {
    if (!bitmap_.CreateCompatible(target_, area_.Width(), area_.Height())) {
        return;  // nothing to draw on: drawing has no effect, the final copy copies nothing
    }
    SelectBitmap(bitmap_);
    // The caller draws with the target's coordinates.
    SetWindowOrigin({area_.left, area_.top});
    SetBkColor(target_.BkColor());
    if (copyFirst) {
        BitBlt(area_.left, area_.top, area_.Width(), area_.Height(), target_, area_.left,
               area_.top);
    } else {
        FillSolidRect(area_, target_.BkColor());
    }
}

CBufferDC::~CBufferDC() {
    if (!bitmap_.IsNull()) {
        target_.BitBlt(area_.left, area_.top, area_.Width(), area_.Height(), *this, area_.left,
                       area_.top);
    }
    DeselectBitmap();  // the bitmap goes before the DC part of this object
}

CBufferDC2::CBufferDC2(const plat::Rect& area, plat::DC& target)
    : bitmap_(std::make_unique<plat::Bitmap>()), target_(target), area_(area) {
    if (bitmap_->CreateCompatible(target_, area_.Width(), area_.Height())) {
        SelectBitmap(*bitmap_);
        // The bitmap's top-left corner is the area's: the caller paints in the target's
        // coordinates, and the copy back reads from the area's top-left corner.
        SetWindowOrigin({area_.left, area_.top});
    }
}

CBufferDC2::~CBufferDC2() {
    if (!bitmap_->IsNull()) {
        target_.BitBlt(area_.left, area_.top, area_.Width(), area_.Height(), *this, area_.left,
                       area_.top);
    }
    DeselectBitmap();
}

}  // namespace tunova
