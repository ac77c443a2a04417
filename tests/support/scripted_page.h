// Player pages for tests that run without the web engine, both on the manual clock:
// - ScriptedPage answers each function with what the test set and records every call;
// - FakePlayerPage behaves like the real player page: it loads, cues, plays, pauses and seeks
//   ids it knows, its time runs with the clock, and a video ends when its length is reached.
// Every call is recorded as "name(arg1,arg2)".
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/clock.h"
#include "playback/script_page.h"

namespace tunova::testing {

inline std::string CallText(std::string_view name, const std::vector<std::string>& args) {
    std::string text = std::string(name) + "(";
    for (std::size_t i = 0; i < args.size(); ++i) {
        text += (i > 0 ? "," : "") + args[i];
    }
    return text + ")";
}

class ScriptedPage : public ScriptPage {
  public:
    std::vector<std::string> calls;
    // Answers by function name; a function without an answer does not exist on the page.
    std::map<std::string, plat::ScriptValue> answers{{"testAlert", plat::ScriptValue::Int(1)}};
    // Anything but kAnswered: every call fails so (busy, timed out, no page...).
    plat::ScriptCallStatus failure = plat::ScriptCallStatus::kAnswered;
    int loads = 1;  // PageLoads: a test raises it to stand for a reload

    int PageLoads() const override { return loads; }
    plat::ScriptCallResult CallFunction(std::string_view name,
                                        const std::vector<std::string>& args) override {
        calls.push_back(CallText(name, args));
        if (failure != plat::ScriptCallStatus::kAnswered) {
            return {failure, {}};
        }
        const auto it = answers.find(std::string(name));
        if (it == answers.end()) {
            return {plat::ScriptCallStatus::kNoFunction, {}};
        }
        return {plat::ScriptCallStatus::kAnswered, it->second};
    }
    // The calls since the last Take.
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }
};

class FakePlayerPage : public ScriptPage {
  public:
    std::vector<std::string> calls;
    // Lengths in seconds of the ids the page can play; any other id plays for 60 s.
    std::map<std::string, double> lengths;
    int state = -1;
    int volume = 100;
    bool muted = false;
    std::string loadedId;
    int loads = 1;
    // Ids the page cannot play: loading one ends at once with getPlayerError 4, as a missing
    // file does.
    std::set<std::string> broken;
    int error = 0;  // what getPlayerError answers

    int PageLoads() const override { return loads; }
    // The page loaded again, as after a renderer death: no video, full volume, sound on.
    void Reload() {
        ++loads;
        state = -1;
        volume = 100;
        muted = false;
        loadedId.clear();
        position_ = 0;
    }
    plat::ScriptCallResult CallFunction(std::string_view name,
                                        const std::vector<std::string>& args) override {
        calls.push_back(CallText(name, args));
        Update();
        using plat::ScriptValue;
        const auto answer = [](ScriptValue v) {
            return plat::ScriptCallResult{plat::ScriptCallStatus::kAnswered, v};
        };
        if (name == "testAlert") {
            return answer(ScriptValue::Int(1));
        }
        if (name == "loadNewVideo" || name == "cueNewVideo") {
            Open(args, name == "loadNewVideo");
        } else if (name == "play" && !loadedId.empty() && error == 0) {
            Resume();
        } else if (name == "pause" && (state == 1 || state == 3)) {
            position_ = Now();
            state = 2;
        } else if (name == "seekTo" && !loadedId.empty() && !args.empty()) {
            // A paused video stays paused; from any other state it plays from there.
            position_ = std::stod(args[0]);
            startTick_ = plat::CurrentClock().TickCount();
            if (state != 2) {
                state = 1;
            }
        } else if (name == "setVolume" && !args.empty()) {
            volume = std::max(0, std::min(100, std::stoi(args[0])));
        } else if (name == "getVolume") {
            return answer(ScriptValue::Int(volume));
        } else if (name == "mute" || name == "unMute") {
            muted = name == "mute";
        } else if (name == "getCurrentTime") {
            const double t = Now();
            return answer(t == static_cast<int>(t) ? ScriptValue::Int(static_cast<int>(t))
                                                   : ScriptValue::Double(t));
        } else if (name == "getPlayerState") {
            return answer(ScriptValue::Int(state));
        } else if (name == "getPlayerError") {
            return answer(ScriptValue::Int(error));
        } else {
            return {plat::ScriptCallStatus::kNoFunction, {}};
        }
        return answer({});
    }

    // The calls since the last Take.
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }
    // Moves the playing video to `seconds` before its end.
    void NearEnd(double seconds) {
        position_ = Length() - seconds;
        startTick_ = plat::CurrentClock().TickCount();
    }
    double Length() const {
        const auto it = lengths.find(loadedId);
        return it != lengths.end() ? it->second : 60.0;
    }

  private:
    void Open(const std::vector<std::string>& args, bool play) {
        std::string id = args.size() >= 2 ? args[0].substr(0, args[0].find('&')) : "";
        const bool valid = !id.empty() && id.size() <= 32 &&
                           id.find_first_not_of(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                               "0123456789_-") == std::string::npos;
        loadedId = valid ? id : "";
        position_ = 0;
        startTick_ = plat::CurrentClock().TickCount();
        state = !valid ? -1 : play ? 1 : 5;
        error = valid && broken.count(id) > 0 ? 4 : 0;
        if (error != 0) {
            state = 0;
        }
    }
    void Resume() {
        if (state == 1) {
            return;
        }
        if (state == 0) {
            position_ = 0;
        }
        startTick_ = plat::CurrentClock().TickCount();
        state = 1;
    }
    double Now() const {
        if (state != 1) {
            return state == -1 ? 0 : position_;
        }
        const double t = position_ + (plat::CurrentClock().TickCount() - startTick_) / 1000.0;
        return t < Length() ? t : Length();
    }
    void Update() {
        if (state == 1 && Now() >= Length()) {
            position_ = Length();
            state = 0;
        }
    }

    double position_ = 0;
    std::uint32_t startTick_ = 0;
};

}  // namespace tunova::testing
