// MpvVideo in a build made without libmpv: a black window whose core never starts.
#include "platform/core/log.h"
#include "platform/mpv/mpv_video.h"

namespace plat {

struct MpvVideoImpl {};

bool MpvVideo::Available() {
    return false;
}
bool MpvVideo::MachineHasGpu() {
    return false;
}

MpvVideo::MpvVideo() = default;
MpvVideo::~MpvVideo() = default;

bool MpvVideo::CreateNative(const Rect& rect) {
    return Window::CreateNative(rect);
}

bool MpvVideo::Start(const MpvSettings&) {
    LogError("mpv", "this build has no libmpv");
    return false;
}

bool MpvVideo::IsStarted() const {
    return false;
}
int MpvVideo::Starts() const {
    return 0;
}
void MpvVideo::Open(const std::string&, bool, double) {}
void MpvVideo::Close() {}
void MpvVideo::SetPaused(bool) {}
void MpvVideo::Seek(double) {}
void MpvVideo::SetVolume(int) {}
void MpvVideo::SetMuted(bool) {}
double MpvVideo::Position() const {
    return 0;
}
double MpvVideo::Length() const {
    return 0;
}
bool MpvVideo::Paused() const {
    return false;
}
std::string MpvVideo::Address() const {
    return {};
}
double MpvVideo::Volume() const {
    return 0;
}
bool MpvVideo::Muted() const {
    return false;
}
int MpvVideo::FailureCode() const {
    return 0;
}
long MpvVideo::FramesDrawn() const {
    return 0;
}
bool MpvVideo::DrawsWithOpenGl() const {
    return false;
}
bool MpvVideo::Command(const std::vector<std::string>&) {
    return false;
}

}  // namespace plat
