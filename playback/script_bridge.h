// ScriptCall, the one way into the player page, and the readiness gate in front of it.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "platform/window/window.h"
#include "playback/playback_state.h"
#include "playback/playback_view.h"
#include "playback/script_answer.h"
#include "playback/script_page.h"

namespace tunova {

class ScriptBridge {
  public:
    // `timerWindow` is the main window, owner of the readiness timers kTimerPageProbe and
    // kTimerPageReady.
    ScriptBridge(ScriptPage& page, PlaybackState& state, PlaybackView& view,
                 plat::Window& timerWindow);

    // Calls the page with a call text such as "loadNewVideo('abc', 1)". Before the page is ready
    // only texts containing "testAlert" reach it. Answers integer 0 when the page was not asked
    // or did not answer (no page, no such function, a throw, busy, timed out).
    ScriptAnswer ScriptCall(std::string_view callText);
    // The same call, answering nothing when the page was not asked or did not answer: for the
    // readers that must keep what they knew rather than take such a 0 for the page's word.
    std::optional<ScriptAnswer> Ask(std::string_view callText);

    // `handler` runs before the first call that reaches a page loaded again since it became
    // ready (the reload after a renderer death), so it can give the new page back what the
    // old one held. Its own calls go straight to the page.
    void OnPageReloaded(std::function<void()> handler) { onPageReloaded_ = std::move(handler); }

    // kTimerPageProbe: asks "testAlert()"; an answer of 1 stops the probe and starts
    // kTimerPageReady.
    void OnPageProbeTimer();
    // kTimerPageReady (once): the page is ready.
    void OnPageReadyTimer();

  private:
    // Runs the reload handler when the page has been loaded again since it was last seen.
    void NoticeReload();

    ScriptPage& page_;
    PlaybackState& state_;
    PlaybackView& view_;
    plat::Window& timerWindow_;
    std::function<void()> onPageReloaded_;
    int seenPageLoads_ = -1;  // the page's load count when it was last seen ready; -1 not yet
};

}  // namespace tunova
