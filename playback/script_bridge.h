// ScriptCall, the one way into the player page, and the readiness gate in front of it.
#pragma once

#include <string_view>

#include "platform/window.h"
#include "playback/playback_state.h"
#include "playback/playback_view.h"
#include "playback/script_answer.h"
#include "playback/script_page.h"

namespace tunova {

class ScriptBridge {
  public:
    // `timerWindow` is the main window, owner of the readiness timers 34 and 35.
    ScriptBridge(ScriptPage& page, PlaybackState& state, PlaybackView& view,
                 plat::Window& timerWindow);

    // Calls the page with a call text such as "loadNewVideo('abc', 1)". Before the page is ready
    // only texts containing "testAlert" reach it. Answers integer 0 when the page was not asked
    // or did not answer (no page, no such function, a throw, busy, timed out).
    ScriptAnswer ScriptCall(std::string_view callText);

    // Timer 34: asks "testAlert()"; an answer of 1 stops the probe and starts timer 35.
    void OnPageProbeTimer();
    // Timer 35 (once): the page is ready.
    void OnPageReadyTimer();

  private:
    ScriptPage& page_;
    PlaybackState& state_;
    PlaybackView& view_;
    plat::Window& timerWindow_;
};

}  // namespace tunova
