#include "playback/web_browser.h"

#include "platform/core/messages.h"

namespace tunova {

bool CWebBrowser2::CreateControl(plat::Window* parent, int id) {
    if (!Create(parent, id, plat::Rect::FromXYWH(0, 0, 1, 1))) {
        return false;
    }
    SetText(kBrowserWindowText);
    Move(plat::Rect::FromXYWH(0, 0, 1, 1));
    Show(true);
    return true;
}

bool CWebBrowser2::LoadPlayerPage(const std::string& folder, std::string_view feedHost) {
    SetPageValue("mediaBase", "http://" + std::string(feedHost) + "/media/");
    std::string path = folder;
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return LoadPage(path + kPlayerPageFile);
}

bool CWebBrowser2::FilterMouse(const plat::Message& msg) {
    switch (msg.message) {
        case plat::kWmLButtonDblClk:
            if (onVideoDoubleClick) {
                onVideoDoubleClick();
            }
            return true;
        case plat::kWmLButtonDown:
        case plat::kWmLButtonUp:
        case plat::kWmRButtonDown:
        case plat::kWmRButtonUp:
        case plat::kWmRButtonDblClk:
        case plat::kWmMButtonDblClk:
            return true;
        default:
            return false;
    }
}

}  // namespace tunova
