// A child window hosting one local web page (Qt WebEngine) whose script functions the program
// calls synchronously.
//
// - The web engine starts only when LoadPage is first called, and only then are its libraries
//   loaded (a module of their own, see web_page_host.h); a program that never loads a page does
//   not carry them.
// - The page runs in an off-the-record profile, with no context menu, no pop-up windows, no
//   permission grants; script alerts, confirmations and prompts do nothing.
// - The page is loaded once. Every later navigation (a link, a script, a file dropped on it) is
//   refused. A page whose renderer process dies is reloaded once.
// - Mouse presses, releases and double-clicks aimed at the page or any of its inner widgets are
//   shown to FilterMouse first; the page never sees what it consumes.
//
// Synchronous calls (CallFunction): the function is looked up by name on the page's global
// object and called with every argument as a string, passed as JSON text, so no argument is ever
// run as script. While a call waits:
// - user input stays queued;
// - window timers and posted messages that fall due are held back and delivered once each, in
//   the order they fell due, after the handler that made the call has returned;
// - a call made during another call, or while a window paints, answers kBusy / kInsidePaint at
//   once without asking the page;
// - a call gives up after the time limit (kTimedOut); until the page answers the abandoned call,
//   every new call answers kBusy at once, so a hung page cannot freeze the program. Answers that
//   arrive late are dropped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/script_value.h"
#include "platform/window/window.h"

namespace plat {

struct BrowserImpl;

class Browser : public Window {
  public:
    Browser();
    ~Browser() override;

    // Defines `window.tunova[name] = value` (a string) for the page, before any of its own
    // script runs. Takes effect for pages loaded afterwards. `name` and `value` are CP949.
    void SetPageValue(std::string_view name, std::string_view value);

    // Loads the local file `path` (file-system bytes; any characters, '#', '%' and spaces
    // included). Returns false when the window is not created, a page was already requested,
    // the file does not exist, or the web engine module cannot be loaded (logged).
    bool LoadPage(const std::string& path);
    // True once the page has finished loading successfully.
    bool IsPageLoaded() const;
    // The file address the page was loaded from (UTF-8), empty before LoadPage.
    std::string PageAddress() const;

    // Calls the page's function `name` with `args` (CP949 strings). See the header comment.
    ScriptCallResult CallFunction(std::string_view name, const std::vector<std::string>& args);
    // The time limit of one call in milliseconds (1000 unless set).
    void SetCallTimeLimit(std::uint32_t ms);
    // True while a call abandoned at its time limit has not been answered.
    bool CallOutstanding() const;

    // How often the page's renderer process died.
    int RendererDeaths() const;
    // How often the page finished loading: 1 after the first load, one more for every load
    // after it (the reload after a renderer death, the page put back after a navigation). A new
    // load starts the page's script afresh.
    int PageLoads() const;
    // The process id of the page's renderer, 0 when it has none.
    std::int64_t RendererProcessId() const;

  protected:
    // Sees the mouse button messages (kWmLButtonDown/Up/DblClk, kWmRButton..., kWmMButton...)
    // aimed at the page, in client coordinates of this window. Returning true consumes the
    // message. The default consumes nothing.
    virtual bool FilterMouse(const Message& msg);

    bool CreateNative(const Rect& rect) override;

  private:
    friend struct BrowserImpl;
    std::unique_ptr<BrowserImpl> browser_;
};

}  // namespace plat
