// A shown top-level window holding the browser control, sized so the page has room to lay out,
// and a record of what playback asked of the window's displays and layout.
#pragma once

#include <string>
#include <vector>

#include "page_support.h"
#include "platform/window/window.h"
#include "playback/playback_view.h"
#include "playback/web_browser.h"

namespace tunova::testing {

struct PageHost {
    plat::Window window;
    CWebBrowser2 browser;

    PageHost() {
        window.Create(nullptr, 0, plat::Rect::FromXYWH(40, 40, 400, 300));
        browser.CreateControl(&window, 333);
        browser.Move(plat::Rect::FromXYWH(0, 0, 400, 300));
        window.Show(true);
    }
    // Loads `file` and waits (bounded) until it has finished loading.
    bool Load(const std::string& file) {
        return browser.LoadPage(file) && PumpUntil([&] { return browser.IsPageLoaded(); }, 30000);
    }
    // Evaluates `expression` on the page, for looking at what the page holds.
    plat::ScriptValue Eval(const std::string& expression) {
        return browser.CallFunction("eval", {expression}).value;
    }
};

// Counts what playback asked of the window.
class RecordingView : public PlaybackView {
  public:
    std::vector<std::string> asked;
    int Count(const std::string& what) const {
        int n = 0;
        for (const std::string& a : asked) {
            n += a == what ? 1 : 0;
        }
        return n;
    }
    void RedrawTitle() override { asked.push_back("title"); }
    void ResetTitleScroll() override { asked.push_back("title scroll"); }
    void RedrawDuration() override { asked.push_back("duration"); }
    void RedrawTimeDigits() override { asked.push_back("digits"); }
    void RedrawVolume() override { asked.push_back("volume"); }
    void RedrawPlayMode() override { asked.push_back("mode"); }
    void PlaceBrowserInVideoRect() override { asked.push_back("place"); }
    void PlaceBrowserInNormalVideoRect() override { asked.push_back("place normal"); }
    void LowerNormalVideoBottom() override { asked.push_back("lower"); }
};

}  // namespace tunova::testing
