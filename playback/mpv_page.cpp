#include "playback/mpv_page.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tunova {
namespace {

using plat::ScriptCallResult;
using plat::ScriptCallStatus;
using plat::ScriptValue;

ScriptCallResult Answer(ScriptValue value = {}) {
    return {ScriptCallStatus::kAnswered, std::move(value)};
}

// A number as the page answers it: integral values that fit 32 bits are integers.
ScriptValue NumberValue(double value) {
    if (value == std::trunc(value) && std::fabs(value) <= std::numeric_limits<int>::max()) {
        return ScriptValue::Int(static_cast<int>(value));
    }
    return ScriptValue::Double(value);
}

// A video id is the text before the first '&': 1 to 32 letters, digits, '_' or '-'.
std::string VideoId(const std::string& text) {
    const std::string id = text.substr(0, text.find('&'));
    const bool valid = !id.empty() && id.size() <= 32 &&
                       id.find_first_not_of(
                           "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                           "0123456789_-") == std::string::npos;
    return valid ? id : std::string();
}

// The leading integer of `text` after blanks, as JavaScript's parseInt reads it; false when
// there is none. Values past the int range are clamped.
bool LeadingInteger(std::string_view text, long long& value) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digits = i;
    value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = std::min(value * 10 + (text[i] - '0'), 1LL << 40);
    }
    value = negative ? -value : value;
    return i > digits;
}

}  // namespace

MpvPage::MpvPage(plat::MpvSettings settings) : settings_(settings) {
    video_.onEvent = [this](plat::MpvEvent event) { OnEvent(event); };
    video_.onDoubleClick = [this] {
        if (onVideoDoubleClick) {
            onVideoDoubleClick();
        }
    };
}

bool MpvPage::Available() {
    return plat::MpvVideo::Available();
}

bool MpvPage::CreateControl(plat::Window* parent, int id) {
    if (!video_.Create(parent, id, plat::Rect::FromXYWH(0, 0, 1, 1))) {
        return false;
    }
    video_.SetText(kBrowserWindowText);
    video_.Show(true);
    return true;
}

bool MpvPage::LoadPlayerPage(const std::string&, std::string_view feedHost) {
    mediaBase_ = "http://" + std::string(feedHost) + "/media/";
    if (!video_.Start(settings_)) {
        return false;
    }
    video_.SetVolume(volume_);
    return true;
}

void MpvPage::OnEvent(plat::MpvEvent event) {
    switch (event) {
        case plat::MpvEvent::kFileLoaded:
            loaded_ = true;
            break;
        case plat::MpvEvent::kReady:
            running_ = true;
            break;
        case plat::MpvEvent::kWaiting:
            running_ = false;
            break;
        case plat::MpvEvent::kEnded:
            ended_ = true;
            break;
        case plat::MpvEvent::kFailed:
            break;
        case plat::MpvEvent::kRestarted:
            // A new core holds no video, plays at full volume with the sound on, as a page
            // loaded again.
            address_.clear();
            loaded_ = wantsPlay_ = cued_ = running_ = ended_ = false;
            volume_ = 100;
            video_.SetVolume(volume_);
            video_.SetMuted(false);
            break;
    }
}

bool MpvPage::Open(const std::vector<std::string>& args, bool play) {
    // The player always adds "1" after the id, so a call with one argument has lost its id.
    const std::string id = args.size() >= 2 ? VideoId(args[0]) : std::string();
    if (id.empty()) {
        Unload();
        return false;
    }
    address_ = mediaBase_ + id;
    loaded_ = running_ = ended_ = false;
    wantsPlay_ = play;
    cued_ = !play;
    startAt_ = 0;
    video_.Open(address_, !play);
    return true;
}

void MpvPage::Unload() {
    address_.clear();
    loaded_ = wantsPlay_ = cued_ = running_ = ended_ = false;
    startAt_ = 0;
    video_.Close();
}

void MpvPage::Play() {
    if (address_.empty() || video_.FailureCode() != 0) {
        return;
    }
    wantsPlay_ = true;
    cued_ = false;
    if (ended_) {
        // As a video element: play at the end starts again from the beginning.
        ended_ = running_ = false;
        video_.Seek(0);
    }
    video_.SetPaused(false);
}

void MpvPage::Pause() {
    if (address_.empty()) {
        return;
    }
    wantsPlay_ = false;
    video_.SetPaused(true);
}

void MpvPage::SeekTo(std::string_view text) {
    char* end = nullptr;
    const std::string copy(text);
    double seconds = std::strtod(copy.c_str(), &end);
    if (address_.empty() || end == copy.c_str() || !std::isfinite(seconds)) {
        return;
    }
    seconds = std::max(seconds, 0.0);
    // Before its length is known the video starts from there once it is.
    if (!loaded_) {
        startAt_ = seconds;
        video_.Open(address_, !wantsPlay_, seconds);
        return;
    }
    const double length = video_.Length();
    if (length > 0 && seconds > length) {
        seconds = length;
    }
    const bool paused = State() == 2;
    ended_ = running_ = false;
    video_.Seek(seconds);
    // A paused video stays paused; from any other state it plays from there.
    if (!paused) {
        Play();
    }
}

void MpvPage::SetVolume(std::string_view value) {
    long long v = 0;
    if (!LeadingInteger(value, v)) {
        return;
    }
    volume_ = static_cast<int>(std::max(0LL, std::min(100LL, v)));
    video_.SetVolume(volume_);
}

int MpvPage::State() const {
    if (address_.empty()) {
        return -1;
    }
    if (video_.FailureCode() != 0) {
        return 0;
    }
    if (!loaded_) {
        return -1;
    }
    if (ended_) {
        return 0;
    }
    if (cued_) {
        return 5;
    }
    if (!wantsPlay_) {
        return 2;
    }
    return running_ ? 1 : 3;
}

double MpvPage::CurrentTime() const {
    if (address_.empty()) {
        return 0;
    }
    if (cued_) {
        return startAt_;
    }
    const double t = video_.Position();
    return std::isfinite(t) && t > 0 ? t : 0;
}

ScriptCallResult MpvPage::CallFunction(std::string_view name,
                                       const std::vector<std::string>& args) {
    if (!video_.IsStarted()) {
        return {ScriptCallStatus::kNoPage, {}};
    }
    const std::string_view first = args.empty() ? std::string_view() : args[0];
    if (name == "testAlert") {
        return Answer(ScriptValue::Int(1));
    }
    if (name == "loadNewVideo" || name == "cueNewVideo") {
        Open(args, name == "loadNewVideo");
    } else if (name == "play") {
        Play();
    } else if (name == "pause") {
        Pause();
    } else if (name == "seekTo") {
        SeekTo(first);
    } else if (name == "setVolume") {
        SetVolume(first);
    } else if (name == "getVolume") {
        return Answer(ScriptValue::Int(volume_));
    } else if (name == "mute" || name == "unMute") {
        video_.SetMuted(name == "mute");
    } else if (name == "getCurrentTime") {
        return Answer(NumberValue(CurrentTime()));
    } else if (name == "getPlayerState") {
        return Answer(ScriptValue::Int(State()));
    } else if (name == "getPlayerError") {
        // 4, the page's "source cannot be played", for anything libmpv could not open or play.
        return Answer(ScriptValue::Int(video_.FailureCode() != 0 ? 4 : 0));
    } else {
        return {ScriptCallStatus::kNoFunction, {}};
    }
    return Answer();
}

}  // namespace tunova
