// PlayerPage: the player the playback subsystem drives, whatever engine plays the video. It
// answers the page's functions called by name (ScriptPage) and owns the child window that shows
// the video in the main window's video area. The web page in the browser control is one engine
// (playback/web_browser.h); libmpv is another (playback/mpv_page.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/window/window.h"
#include "playback/script_page.h"

namespace tunova {

// The video area's window text, which accessibility tools and tests look for.
inline constexpr char kBrowserWindowText[] = "DEzur";

class PlayerPage : public ScriptPage {
  public:
    // Called on a left double-click over the video.
    std::function<void()> onVideoDoubleClick;

    // Creates the video area as child `id` of `parent` at (0, 0, 1, 1), shown, titled "DEzur".
    virtual bool CreateControl(plat::Window* parent, int id) = 0;
    // Starts the engine with the media address of the feed host ("http://HOST/media/"), where a
    // video id's media is fetched from. `folder` is the data folder (file-system bytes) holding
    // what the engine needs. Returns false when it cannot start.
    virtual bool LoadPlayerPage(const std::string& folder, std::string_view feedHost) = 0;
    // True once the engine has finished starting and answers its functions.
    virtual bool IsPageLoaded() const = 0;
    // The child window showing the video: the layout moves it, input rules ask whether a click
    // fell inside it.
    virtual plat::Window& VideoWindow() = 0;
    // The process id of a helper process playing for the engine (the web page's renderer), 0
    // when the engine plays inside this process or has not started one.
    virtual std::int64_t HelperProcessId() const { return 0; }
};

}  // namespace tunova
