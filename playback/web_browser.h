// CWebBrowser2: the player page engine, a browser control (kIdcBrowser, window text "DEzur")
// that hosts the web page you.html and plays its HTML5 video. The user never clicks inside the
// page: its message filter consumes the mouse clicks, and a left double-click asks the main
// window to toggle the big-video view.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/browser.h"
#include "playback/player_page.h"

namespace tunova {

inline constexpr char kPlayerPageFile[] = "you.html";

class CWebBrowser2 : public plat::Browser, public PlayerPage {
  public:
    bool CreateControl(plat::Window* parent, int id) override;
    // Gives the page the media address of the feed host, then loads "you.html" from `folder`.
    // Returns false when the page is missing.
    bool LoadPlayerPage(const std::string& folder, std::string_view feedHost) override;
    bool IsPageLoaded() const override { return plat::Browser::IsPageLoaded(); }
    plat::Window& VideoWindow() override { return *this; }
    std::int64_t HelperProcessId() const override { return RendererProcessId(); }

    plat::ScriptCallResult CallFunction(std::string_view name,
                                        const std::vector<std::string>& args) override {
        return plat::Browser::CallFunction(name, args);
    }
    int PageLoads() const override { return plat::Browser::PageLoads(); }

  protected:
    bool FilterMouse(const plat::Message& msg) override;
};

}  // namespace tunova
