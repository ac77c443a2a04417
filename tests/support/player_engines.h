// The player engines the engine tests run on, each with what a test may look at inside it, and a
// shown window holding an engine's video area. A test suite parametrized over PlayerEngines()
// runs once per engine. Header only: the support library itself links no player code.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/window/window.h"
#include "playback/mpv_page.h"
#include "playback/player_page.h"
#include "playback/script_answer.h"
#include "playback/web_browser.h"
#include "support/loopback_server.h"

namespace tunova::testing {

struct PlayerEngine {
    std::string name;
    std::function<std::unique_ptr<PlayerPage>()> make;
    // What the engine is fetching (its media address); empty when nothing is loaded.
    std::function<std::string(PlayerPage&)> source;
    // The loudness the engine plays at, 0 to 1, and whether its sound is off.
    std::function<double(PlayerPage&)> outputVolume;
    std::function<bool(PlayerPage&)> muted;
    // The loaded video's length in seconds.
    std::function<double(PlayerPage&)> length;
    // Video frames the engine has shown so far.
    std::function<long(PlayerPage&)> framesShown;
    // True when the engine shows the picture of what a web page cannot: HEVC video, and MPEG-4
    // Visual in AVI.
    bool playsDesktopFormats = false;
};

inline plat::ScriptValue EvalOnPage(PlayerPage& page, const std::string& expression) {
    return page.CallFunction("eval", {expression}).value;
}

inline PlayerEngine WebPageEngine() {
    PlayerEngine engine;
    engine.name = "page";
    engine.make = [] { return std::make_unique<CWebBrowser2>(); };
    engine.source = [](PlayerPage& page) {
        const plat::ScriptValue src = EvalOnPage(page, "video.getAttribute('src')");
        return src.type == plat::ScriptValue::Type::kString ? src.text : std::string();
    };
    engine.outputVolume = [](PlayerPage& page) {
        return NumberOf(EvalOnPage(page, "video.volume"));
    };
    engine.muted = [](PlayerPage& page) { return EvalOnPage(page, "video.muted").boolValue; };
    engine.length = [](PlayerPage& page) { return NumberOf(EvalOnPage(page, "video.duration")); };
    engine.framesShown = [](PlayerPage& page) -> long {
        return IntegerField(EvalOnPage(page, "video.getVideoPlaybackQuality().totalVideoFrames"));
    };
    return engine;
}

// libmpv without sound output (a test machine has no sound device).
inline PlayerEngine MpvEngine() {
    PlayerEngine engine;
    engine.name = "mpv";
    engine.make = [] { return std::make_unique<MpvPage>(plat::MpvSettings{.sound = false}); };
    const auto video = [](PlayerPage& page) -> plat::MpvVideo& {
        return static_cast<MpvPage&>(page).Video();
    };
    engine.source = [video](PlayerPage& page) { return video(page).Address(); };
    engine.outputVolume = [video](PlayerPage& page) { return video(page).Volume() / 100; };
    engine.muted = [video](PlayerPage& page) { return video(page).Muted(); };
    engine.length = [video](PlayerPage& page) { return video(page).Length(); };
    engine.framesShown = [video](PlayerPage& page) { return video(page).FramesDrawn(); };
    engine.playsDesktopFormats = true;
    return engine;
}

// Every engine this build has.
inline std::vector<PlayerEngine> PlayerEngines() {
    std::vector<PlayerEngine> engines = {WebPageEngine()};
    if (MpvPage::Available()) {
        engines.push_back(MpvEngine());
    }
    return engines;
}

// GoogleTest prints an engine by its name.
inline void PrintTo(const PlayerEngine& engine, std::ostream* out) {
    *out << engine.name;
}

// For INSTANTIATE_TEST_SUITE_P: the engine's name as the test's suffix.
inline std::string EngineName(const ::testing::TestParamInfo<PlayerEngine>& info) {
    return info.param.name;
}

// A shown top-level window holding an engine's video area, 400x300.
struct EngineHost {
    plat::Window window;
    std::unique_ptr<PlayerPage> page;

    explicit EngineHost(const PlayerEngine& engine) : page(engine.make()) {
        window.Create(nullptr, 0, plat::Rect::FromXYWH(40, 40, 400, 300));
        page->CreateControl(&window, 333);
        page->VideoWindow().Move(plat::Rect::FromXYWH(0, 0, 400, 300));
        window.Show(true);
    }
    // Starts the engine on the media of `feedHost` and waits (bounded) until it answers.
    bool Start(const std::string& folder, const std::string& feedHost) {
        return page->LoadPlayerPage(folder, feedHost) &&
               PumpUntil([&] { return page->IsPageLoaded(); }, 30000);
    }
};

}  // namespace tunova::testing
