#include "playback/script_bridge.h"

#include "platform/core/log.h"
#include "playback/call_text.h"
#include "res/resource_ids.h"

namespace tunova {

ScriptBridge::ScriptBridge(ScriptPage& page, PlaybackState& state, PlaybackView& view,
                           plat::Window& timerWindow)
    : page_(page), state_(state), view_(view), timerWindow_(timerWindow) {}

ScriptAnswer ScriptBridge::ScriptCall(std::string_view callText) {
    return Ask(callText).value_or(ScriptAnswer::Int(0));
}

void ScriptBridge::NoticeReload() {
    const int loads = page_.PageLoads();
    if (seenPageLoads_ < 0) {
        seenPageLoads_ = loads;
    }
    if (loads == seenPageLoads_) {
        return;
    }
    seenPageLoads_ = loads;
    if (onPageReloaded_) {
        onPageReloaded_();
    }
}

std::optional<ScriptAnswer> ScriptBridge::Ask(std::string_view callText) {
    constexpr std::string_view kProbe = "testAlert";
    if (callText.empty() ||
        (!state_.pageReady && callText.find(kProbe) == std::string_view::npos)) {
        return std::nullopt;
    }
    if (state_.pageReady) {
        NoticeReload();
    }
    // The first video moves the browser into the layout before the user has clicked a result.
    if ((callText.find("play()") != std::string_view::npos ||
         callText.find("loadNewVideo") != std::string_view::npos) &&
        !state_.firstClickAdjustmentDone) {
        view_.PlaceBrowserInVideoRect();
    }
    const ParsedCall call = ParseCallText(callText);
    if (call.name.empty()) {
        return std::nullopt;
    }
    plat::ScriptCallResult result = page_.CallFunction(call.name, call.args);
    if (!result) {
        return std::nullopt;
    }
    return std::move(result.value);
}

void ScriptBridge::OnPageProbeTimer() {
    if (IntegerField(ScriptCall("testAlert()")) == 1) {
        timerWindow_.KillTimer(res::kTimerPageProbe.id);
        timerWindow_.SetTimer(res::kTimerPageReady.id, res::kTimerPageReady.periodMs);
    }
}

void ScriptBridge::OnPageReadyTimer() {
    state_.pageReady = true;
    seenPageLoads_ = page_.PageLoads();
    plat::Trace(plat::kTracePageReady);
    timerWindow_.KillTimer(res::kTimerPageReady.id);
}

}  // namespace tunova
