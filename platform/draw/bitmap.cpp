// Bitmaps (32-bit RGB images), numbered bitmap resources, fonts and regions.
#include <QBuffer>
#include <QFileInfo>
#include <QPainterPath>
#include <map>
#include <mutex>
#include <vector>

#include "platform/core/qt_text_impl.h"
#include "platform/draw/draw_impl.h"

namespace plat {
namespace {

std::mutex g_resourceMutex;

// Where a numbered resource comes from: a file, or bytes compiled into the program.
struct ResourceSource {
    std::string path;
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    const unsigned char* data2x = nullptr;
    std::size_t size2x = 0;
};

std::map<int, ResourceSource>& BitmapResources() {
    static std::map<int, ResourceSource> resources;
    return resources;
}

QImage DecodeImage(const unsigned char* data, std::size_t size) {
    QImage image;
    if (data == nullptr || size == 0 || size > static_cast<std::size_t>(INT32_MAX) ||
        !image.loadFromData(data, static_cast<int>(size))) {
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// The companion of a loaded image: exactly twice its size, or nothing.
QImage CompanionFor(const QImage& image, QImage twice) {
    if (twice.isNull() || twice.size() != image.size() * 2) {
        return {};
    }
    twice = twice.convertToFormat(QImage::Format_RGB32);
    twice.setDevicePixelRatio(2.0);
    return twice;
}

QString CompanionPath(const QString& path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    QString base = path;
    if (!suffix.isEmpty()) {
        base.chop(suffix.size() + 1);
    }
    return base + QStringLiteral("@2x.") + suffix;
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
    const QString qpath = PathToQString(path);
    if (path.empty() || !loaded.load(qpath, "BMP") || loaded.isNull()) {
        return false;
    }
    impl_->image = loaded.convertToFormat(QImage::Format_RGB32);
    QImage twice;
    if (QFileInfo::exists(CompanionPath(qpath))) {
        twice.load(CompanionPath(qpath), "BMP");
    }
    impl_->image2x = CompanionFor(impl_->image, twice);
    return !impl_->image.isNull();
}

bool Bitmap::LoadResource(int id) {
    ResourceSource source;
    {
        std::lock_guard lock(g_resourceMutex);
        auto it = BitmapResources().find(id);
        if (it == BitmapResources().end()) {
            return false;
        }
        source = it->second;
    }
    if (source.data == nullptr) {
        return LoadFile(source.path);
    }
    QImage image = DecodeImage(source.data, source.size);
    if (image.isNull()) {
        return false;
    }
    impl_->image = image;
    impl_->image2x = CompanionFor(image, DecodeImage(source.data2x, source.size2x));
    return true;
}

bool Bitmap::CreateCompatible(const DC& dc, int width, int height) {
    const int scale = dc.DensityScale();
    if (width <= 0 || height <= 0 || width > INT32_MAX / scale || height > INT32_MAX / scale) {
        return false;
    }
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    if (image.isNull()) {
        return false;
    }
    image.fill(Qt::black);
    image.setDevicePixelRatio(scale);
    impl_->image = image;
    impl_->image2x = QImage();
    return true;
}

bool Bitmap::SaveBmp(const std::string& path) const {
    if (impl_->image.isNull()) {
        return false;
    }
    QImage plain = impl_->image.convertToFormat(QImage::Format_RGB888);
    plain.setDevicePixelRatio(1.0);
    return plain.save(PathToQString(path), "BMP");
}

std::vector<unsigned char> Bitmap::EncodePng() const {
    if (impl_->image.isNull()) {
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage plain = impl_->image.convertToFormat(QImage::Format_RGB888);
    plain.setDevicePixelRatio(1.0);
    if (!plain.save(&buffer, "PNG", 9)) {
        return {};
    }
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

bool Bitmap::Decode(const unsigned char* data, std::size_t size) {
    QImage image = DecodeImage(data, size);
    if (image.isNull()) {
        return false;
    }
    impl_->image = image;
    impl_->image2x = QImage();
    return true;
}

Bitmap Bitmap::HighDensity() const {
    Bitmap twice;
    twice.impl_->image = impl_->image2x;
    twice.impl_->image.setDevicePixelRatio(1.0);
    return twice;
}

void Bitmap::SetHighDensity(const Bitmap& twice) {
    QImage image = twice.impl_->image;
    image.setDevicePixelRatio(1.0);
    impl_->image2x = CompanionFor(impl_->image, image);
}

int Bitmap::DensityScale() const {
    return std::max(1, qRound(impl_->image.devicePixelRatio()));
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
    impl_->image2x = QImage();
}

bool Bitmap::IsNull() const {
    return impl_->image.isNull();
}

Size Bitmap::Dimensions() const {
    const int scale = DensityScale();
    return {impl_->image.width() / scale, impl_->image.height() / scale};
}

ColorRef Bitmap::Pixel(int x, int y) const {
    const int scale = DensityScale();
    if (x < 0 || y < 0 || !impl_->image.valid(x * scale, y * scale)) {
        return 0;
    }
    return FromQRgb(impl_->image.pixel(x * scale, y * scale));
}

void Bitmap::SetPixel(int x, int y, ColorRef color) {
    const int scale = DensityScale();
    if (x < 0 || y < 0 || !impl_->image.valid(x * scale, y * scale)) {
        return;
    }
    for (int dy = 0; dy < scale; ++dy) {
        for (int dx = 0; dx < scale; ++dx) {
            impl_->image.setPixel(x * scale + dx, y * scale + dy, ToQColor(color).rgb());
        }
    }
}

void RegisterBitmapResource(int id, const std::string& path) {
    std::lock_guard lock(g_resourceMutex);
    BitmapResources()[id] = ResourceSource{path};
}

void RegisterBitmapResourceData(int id, const unsigned char* data, std::size_t size,
                                const unsigned char* data2x, std::size_t size2x) {
    std::lock_guard lock(g_resourceMutex);
    BitmapResources()[id] = ResourceSource{{}, data, size, data2x, size2x};
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
    // The window texts are small (11 and 12 pixels): hinted to whole pixels, their strokes
    // keep their colour instead of blurring into a grey of half their brightness.
    impl_->font.setHintingPreference(QFont::PreferFullHinting);
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

Region Region::FromEllipse(const Rect& rect) {
    Region r;
    if (!rect.IsEmpty()) {
        r.impl_->region = QRegion(ToQRect(rect), QRegion::Ellipse);
    }
    return r;
}

Region Region::FromMask(const Bitmap& mask) {
    // One rectangle per run of non-white pixels in a row; a run still open at the end of the
    // row ends at the bitmap's width.
    constexpr ColorRef kWhite = Rgb(255, 255, 255);
    const Size size = mask.Dimensions();
    std::vector<QRect> runs;
    runs.reserve(40);
    for (int y = 0; y < size.cy; ++y) {
        int start = -1;
        for (int x = 0; x < size.cx; ++x) {
            const bool inside = mask.Pixel(x, y) != kWhite;
            if (inside && start < 0) {
                start = x;
            } else if (!inside && start >= 0) {
                runs.emplace_back(start, y, x - start, 1);
                start = -1;
            }
        }
        if (start >= 0) {
            runs.emplace_back(start, y, size.cx - start, 1);
        }
    }
    Region r;
    r.impl_->region.setRects(runs.data(), static_cast<int>(runs.size()));
    return r;
}

void Region::Intersect(const Region& other) {
    impl_->region = impl_->region.intersected(other.impl_->region);
}

void Region::Offset(int dx, int dy) {
    impl_->region.translate(dx, dy);
}

std::vector<Rect> Region::Rects() const {
    std::vector<Rect> rects;
    for (const QRect& r : impl_->region) {
        rects.push_back(FromQRect(r));
    }
    return rects;
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
