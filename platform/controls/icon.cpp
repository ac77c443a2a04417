// Icon resources (one id, several sizes) and the icon of a top-level window.
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <map>
#include <mutex>
#include <vector>

#include "platform/controls/icon_impl.h"
#include "platform/draw/draw.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

struct EncodedImage {
    const unsigned char* data;
    std::size_t size;
};

std::mutex g_iconMutex;

std::map<int, std::vector<EncodedImage>>& IconResources() {
    static std::map<int, std::vector<EncodedImage>> icons;
    return icons;
}

}  // namespace

void RegisterIconResourceData(int id, const unsigned char* data, std::size_t size) {
    std::lock_guard lock(g_iconMutex);
    IconResources()[id].push_back({data, size});
}

QIcon IconFromResource(int iconResourceId) {
    std::vector<EncodedImage> sizes;
    {
        std::lock_guard lock(g_iconMutex);
        auto it = IconResources().find(iconResourceId);
        if (it == IconResources().end()) {
            return {};
        }
        sizes = it->second;
    }
    QIcon icon;
    for (const EncodedImage& encoded : sizes) {
        QImage image;
        if (encoded.size <= static_cast<std::size_t>(INT32_MAX) &&
            image.loadFromData(encoded.data, static_cast<int>(encoded.size))) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

bool Window::SetIcon(int iconResourceId) {
    const QIcon icon = IconFromResource(iconResourceId);
    if (icon.isNull()) {
        return false;
    }
    if (QWidget* w = impl_->widget.data()) {
        w->setWindowIcon(icon);
    }
    return true;
}

}  // namespace plat
