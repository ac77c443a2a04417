// Bitmaps (32-bit RGB images), numbered bitmap resources, fonts and regions.
#include <QPainterPath>
#include <map>
#include <mutex>

#include "platform/draw_impl.h"
#include "platform/qt_text_impl.h"

namespace plat {
namespace {

std::mutex g_resourceMutex;

std::map<int, std::string>& BitmapResources() {
    static std::map<int, std::string> resources;
    return resources;
}

}  // namespace

// ---- Bitmap -----------------------------------------------------------------------------

Bitmap::Bitmap() : impl_(std::make_unique<BitmapImpl>()) {}
Bitmap::~Bitmap() = default;
Bitmap::Bitmap(const Bitmap& other) : impl_(std::make_unique<BitmapImpl>(*other.impl_)) {}
Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this != &other) {
        *impl_ = *other.impl_;
    }
    return *this;
}
// A moved-from bitmap stays usable (null), so it keeps an impl of its own.
Bitmap::Bitmap(Bitmap&& other) noexcept : impl_(std::make_unique<BitmapImpl>()) {
    impl_->image.swap(other.impl_->image);
}
Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        impl_->image = QImage();
        impl_->image.swap(other.impl_->image);
    }
    return *this;
}

bool Bitmap::LoadFile(const std::string& path) {
    QImage loaded;
    if (path.empty() || !loaded.load(PathToQString(path), "BMP") || loaded.isNull()) {
        return false;
    }
    impl_->image = loaded.convertToFormat(QImage::Format_RGB32);
    return !impl_->image.isNull();
}

bool Bitmap::LoadResource(int id) {
    std::string path;
    {
        std::lock_guard lock(g_resourceMutex);
        auto it = BitmapResources().find(id);
        if (it == BitmapResources().end()) {
            return false;
        }
        path = it->second;
    }
    return LoadFile(path);
}

bool Bitmap::Create(int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return false;  // too large to allocate
    }
    image.fill(Qt::black);
    impl_->image = image;
    return true;
}

void Bitmap::Reset() {
    impl_->image = QImage();
}

bool Bitmap::IsNull() const {
    return impl_->image.isNull();
}

Size Bitmap::Dimensions() const {
    return {impl_->image.width(), impl_->image.height()};
}

ColorRef Bitmap::Pixel(int x, int y) const {
    if (!impl_->image.valid(x, y)) {
        return 0;
    }
    return FromQRgb(impl_->image.pixel(x, y));
}

void Bitmap::SetPixel(int x, int y, ColorRef color) {
    if (impl_->image.valid(x, y)) {
        impl_->image.setPixel(x, y, ToQColor(color).rgb());
    }
}

void RegisterBitmapResource(int id, const std::string& path) {
    std::lock_guard lock(g_resourceMutex);
    BitmapResources()[id] = path;
}

// ---- Font -------------------------------------------------------------------------------

Font::Font() : impl_(std::make_unique<FontImpl>()) {
    impl_->font.setPixelSize(12);
}
Font::~Font() = default;
Font::Font(const Font& other) : impl_(std::make_unique<FontImpl>(*other.impl_)) {}
Font& Font::operator=(const Font& other) {
    if (this != &other) {
        *impl_ = *other.impl_;
    }
    return *this;
}

Font::Font(std::string_view faceCp949, int height, int weight, int /*charset: Qt picks glyphs*/)
    : impl_(std::make_unique<FontImpl>()) {
    impl_->font.setFamily(ToQString(faceCp949));
    const int pixels = height < 0 ? -height : height;
    impl_->font.setPixelSize(pixels > 0 ? pixels : 12);
    impl_->font.setWeight(weight >= kFwBold ? QFont::Bold : QFont::Normal);
}

// ---- Region -----------------------------------------------------------------------------

Region::Region() : impl_(std::make_unique<RegionImpl>()) {}
Region::~Region() = default;
Region::Region(const Region& other) : impl_(std::make_unique<RegionImpl>(*other.impl_)) {}
Region& Region::operator=(const Region& other) {
    if (this != &other) {
        *impl_ = *other.impl_;
    }
    return *this;
}

Region Region::FromRect(const Rect& rect) {
    Region r;
    if (!rect.IsEmpty()) {
        r.impl_->region = QRegion(ToQRect(rect));
    }
    return r;
}

Region Region::FromRoundRect(const Rect& rect, int ellipseWidth, int ellipseHeight) {
    Region r;
    if (rect.IsEmpty()) {
        return r;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(ToQRect(rect)), ellipseWidth / 2.0, ellipseHeight / 2.0);
    r.impl_->region = QRegion(path.toFillPolygon().toPolygon());
    return r;
}

void Region::Unite(const Region& other) {
    impl_->region = impl_->region.united(other.impl_->region);
}

void Region::Subtract(const Region& other) {
    impl_->region = impl_->region.subtracted(other.impl_->region);
}

bool Region::IsEmpty() const {
    return impl_->region.isEmpty();
}

bool Region::Contains(Point p) const {
    return impl_->region.contains(QPoint(p.x, p.y));
}

Rect Region::Bounds() const {
    return FromQRect(impl_->region.boundingRect());
}

}  // namespace plat
