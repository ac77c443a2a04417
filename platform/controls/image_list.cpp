// Images drawn in list-view cells, addressed by index, optionally with a key colour.
#include "platform/controls/controls.h"
#include "platform/draw/draw.h"

namespace plat {

int ImageList::Add(const Bitmap& bitmap) {
    images_.push_back({new Bitmap(bitmap), false, 0});
    return Count() - 1;
}

int ImageList::Add(const Bitmap& bitmap, ColorRef key) {
    images_.push_back({new Bitmap(bitmap), true, key});
    return Count() - 1;
}

const Bitmap* ImageList::At(int index) const {
    return index >= 0 && index < Count() ? images_[static_cast<std::size_t>(index)].bitmap
                                         : nullptr;
}

void ImageList::Draw(DC& dc, int index, Point at) const {
    if (index < 0 || index >= Count()) {
        return;
    }
    const Entry& e = images_[static_cast<std::size_t>(index)];
    const Size size = e.bitmap->Dimensions();
    if (e.keyed) {
        dc.TransparentBlt(at.x, at.y, size.cx, size.cy, *e.bitmap, 0, 0, size.cx, size.cy, e.key);
    } else {
        dc.BitBlt(at.x, at.y, size.cx, size.cy, *e.bitmap, 0, 0);
    }
}

ImageList::~ImageList() {
    for (const Entry& e : images_) {
        delete e.bitmap;
    }
}

}  // namespace plat
