// CWebBrowser2: the browser control (child 333, window text "DEzur") that hosts the player page.
// The user never clicks inside the page: its message filter consumes the mouse clicks, and a
// left double-click asks the main window to toggle the big-video view.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser.h"
#include "playback/script_page.h"

namespace tunova {

inline constexpr char kBrowserWindowText[] = "DEzur";
inline constexpr char kPlayerPageFile[] = "you.html";

class CWebBrowser2 : public plat::Browser, public ScriptPage {
  public:
    // Called on a left double-click over the video.
    std::function<void()> onVideoDoubleClick;

    // Creates the control as child `id` of `parent` at (0, 0, 1, 1), shown, titled "DEzur".
    bool CreateControl(plat::Window* parent, int id);
    // Gives the page the media address of the feed host ("http://HOST/media/"), then loads
    // "you.html" from `folder` (file-system bytes). Returns false when the page is missing.
    bool LoadPlayerPage(const std::string& folder, std::string_view feedHost);

    plat::ScriptCallResult CallFunction(std::string_view name,
                                        const std::vector<std::string>& args) override {
        return plat::Browser::CallFunction(name, args);
    }
    int PageLoads() const override { return plat::Browser::PageLoads(); }

  protected:
    bool FilterMouse(const plat::Message& msg) override;
};

}  // namespace tunova
