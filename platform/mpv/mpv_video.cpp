// MpvVideo: the libmpv core, its events and its options; the frames are drawn by
// mpv_frames.cpp.
#include "platform/mpv/mpv_video.h"

#include <QMetaObject>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/controls/control_impl.h"
#include "platform/core/log.h"
#include "platform/draw/draw_impl.h"
#include "platform/mpv/mpv_frames_impl.h"
#include "platform/mpv/mpv_gl_impl.h"
#include "platform/window/window_impl.h"

namespace plat {
namespace {

// Observed properties, by the reply id their changes carry.
enum Observed : std::uint64_t { kEofReached = 1, kPausedForCache };

// What the core is told before it starts: nothing from the user's mpv folder, no input of its
// own, no terminal output; hardware decoding where it is safe; a bounded read-ahead, since the
// player streams from the feed host and memory matters more than a long cache.
constexpr const char* kCoreOptions[][2] = {
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"osc", "no"},
    {"terminal", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"input-cursor", "no"},
    {"osd-level", "0"},
    {"audio-display", "no"},
    {"hwdec", "auto-safe"},
    // At the end the last frame stays and the player does not pause by itself: whether it is
    // paused is only ever what the program said.
    {"keep-open", "yes"},
    {"keep-open-pause", "no"},
    // The sound servers and devices a desktop has, and without any the video plays silent. SDL
    // is left out: it only wraps the same ones, and on a machine without sound asking it costs
    // a tenth of a second each time the sound output is opened.
    {"ao", "pipewire,pulse,alsa,jack"},
    {"audio-fallback-to-null", "yes"},
    {"idle", "yes"},
    // Media come over HTTP, which mpv caches in memory up to 150 MiB by default. 8 MiB is 16 s
    // of a 4 Mbit/s 1080p video ahead: plenty from the feed host, and the memory stays small.
    // Seeking back beyond the 1 MiB kept behind asks the server again by range.
    {"demuxer-max-bytes", "8MiB"},
    {"demuxer-max-back-bytes", "1MiB"},
    // The software renderer scales every frame on the CPU: a cheap scaler, no dithering.
    {"sws-scaler", "bilinear"},
    {"zimg-scaler", "bilinear"},
    {"zimg-dither", "no"},
};

// A device a hardware video decoder could run on: a graphics card's render node, or NVIDIA's
// device, which its decoder uses even without one.
bool HasVideoDecoderDevice() {
    std::error_code error;
    return MpvVideo::MachineHasGpu() || std::filesystem::exists("/dev/nvidia0", error);
}

}  // namespace

struct MpvVideoImpl {
    explicit MpvVideoImpl(MpvVideo* video) : owner(video) {}

    bool StartCore();
    void StopCore();
    // Starts the renderer the settings ask for, falling back to the software one.
    bool StartRenderer();
    // Called on the render thread for each frame drawn: repaints the picture on the event loop
    // once, however many frames come before it runs.
    void PostRepaint();
    // The size the renderer draws at: the picture's, in device pixels with OpenGL.
    void ResizeRenderer();
    // Posted from libmpv's threads: the core has events, or a frame is drawn.
    static void OnWakeup(void* self);
    void Drain();
    void Handle(const mpv_event& event);
    void Emit(MpvEvent event) {
        if (owner->onEvent) {
            owner->onEvent(event);
        }
    }
    void RestartAfterShutdown();
    bool SetFlag(const char* name, bool value) {
        int flag = value ? 1 : 0;
        return core != nullptr && mpv_set_property(core, name, MPV_FORMAT_FLAG, &flag) >= 0;
    }
    bool Flag(const char* name) const {
        int flag = 0;
        return core != nullptr && mpv_get_property(core, name, MPV_FORMAT_FLAG, &flag) >= 0 &&
               flag != 0;
    }
    double Number(const char* name) const {
        double value = 0;
        if (core == nullptr || mpv_get_property(core, name, MPV_FORMAT_DOUBLE, &value) < 0) {
            return 0;
        }
        return value;
    }

    MpvVideo* owner;
    MpvSettings settings;
    mpv_handle* core = nullptr;
    std::unique_ptr<MpvFrameRenderer> renderer;
    std::unique_ptr<MpvGlRenderer> glRenderer;
    QPointer<MpvFrameWidget> widget;
    // With OpenGL: the picture, a child covering the widget.
    QPointer<MpvGlPicture> glPicture;
    // Receives what libmpv's threads post; deleted only after the core and renderer are gone.
    std::unique_ptr<QObject> receiver = std::make_unique<QObject>();
    std::atomic<bool> drainPosted{false};
    std::atomic<bool> paintPosted{false};
    int starts = 0;
    // The media opened last: its playlist entry (-1 before the core said, 0 none), and how far
    // it got.
    std::int64_t entry = 0;
    bool entryStarted = false;
    bool loaded = false;
    bool ended = false;
    bool waiting = false;  // paused for data
    bool paused = false;   // what the program asked for
    int failure = 0;
    int volume = 100;
    bool muted = false;
    std::string address;  // of the media opened last; empty when none
};

bool MpvVideoImpl::StartCore() {
    core = mpv_create();
    if (core == nullptr) {
        LogError("mpv", "libmpv cannot create a player");
        return false;
    }
    for (const auto& [name, value] : kCoreOptions) {
        mpv_set_option_string(core, name, value);
    }
    mpv_set_option_string(core, "vo", settings.picture ? "libmpv" : "null");
    if (!settings.picture) {
        mpv_set_option_string(core, "vid", "no");
    }
    if (!settings.sound) {
        mpv_set_option_string(core, "ao", "null");
    }
    // Without a graphics device there is no hardware decoder to find, and looking for one (VDPAU
    // and VA-API through the display) takes about 50 ms of every video's start.
    if (!HasVideoDecoderDevice()) {
        mpv_set_option_string(core, "hwdec", "no");
    }
    if (const int status = mpv_initialize(core); status < 0) {
        LogError("mpv", std::string("libmpv cannot start: ") + mpv_error_string(status));
        mpv_terminate_destroy(core);
        core = nullptr;
        return false;
    }
    mpv_request_log_messages(core, "error");
    mpv_observe_property(core, kEofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(core, kPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG);
    if (settings.picture && !StartRenderer()) {
        mpv_terminate_destroy(core);
        core = nullptr;
        return false;
    }
    mpv_set_wakeup_callback(core, &MpvVideoImpl::OnWakeup, this);
    SetFlag("mute", muted);
    double v = volume;
    mpv_set_property(core, "volume", MPV_FORMAT_DOUBLE, &v);
    ++starts;
    address.clear();
    entry = 0;
    entryStarted = loaded = ended = waiting = false;
    failure = 0;
    return true;
}

bool MpvVideoImpl::StartRenderer() {
    if (settings.openGl) {
        glRenderer = std::make_unique<MpvGlRenderer>([this] { PostRepaint(); });
        std::string why;
        if (glRenderer->Start(core, why)) {
            if (widget && !glPicture) {
                glPicture = new MpvGlPicture(widget);
                glPicture->showing = [this] { return loaded; };
                glPicture->setGeometry(widget->rect());
                glPicture->show();
            }
            if (glPicture) {
                glPicture->renderer = glRenderer.get();
            }
            ResizeRenderer();
            return true;
        }
        glRenderer.reset();
        LogError("mpv", "OpenGL cannot draw the video (" + why + "): drawing in software");
    }
    delete glPicture.data();
    renderer = std::make_unique<MpvFrameRenderer>([this] { PostRepaint(); });
    if (!renderer->Start(core)) {
        LogError("mpv", "libmpv cannot draw with its software renderer");
        renderer.reset();
        return false;
    }
    ResizeRenderer();
    return true;
}

void MpvVideoImpl::PostRepaint() {
    if (!paintPosted.exchange(true)) {
        QMetaObject::invokeMethod(
            receiver.get(),
            [this] {
                paintPosted = false;
                QWidget* picture = glRenderer ? static_cast<QWidget*>(glPicture.data())
                                              : static_cast<QWidget*>(widget.data());
                if (picture != nullptr) {
                    picture->update();
                }
            },
            Qt::QueuedConnection);
    }
}

void MpvVideoImpl::ResizeRenderer() {
    if (!widget) {
        return;
    }
    if (glPicture) {
        glPicture->setGeometry(widget->rect());
    }
    if (renderer) {
        renderer->Resize(widget->size());
    } else if (glRenderer) {
        const qreal scale = widget->devicePixelRatioF();
        glRenderer->Resize(
            QSize(qRound(widget->width() * scale), qRound(widget->height() * scale)));
    }
}

void MpvVideoImpl::StopCore() {
    if (core == nullptr) {
        return;
    }
    mpv_set_wakeup_callback(core, nullptr, nullptr);
    // The render context goes before its core.
    if (renderer) {
        renderer->Stop();
        renderer.reset();
    }
    if (glRenderer) {
        if (glPicture) {
            glPicture->renderer = nullptr;
            glPicture->update();
        }
        glRenderer->Stop();
        glRenderer.reset();
    }
    mpv_terminate_destroy(core);
    core = nullptr;
    if (widget) {
        widget->update();
    }
}

void MpvVideoImpl::OnWakeup(void* self) {
    auto* impl = static_cast<MpvVideoImpl*>(self);
    if (!impl->drainPosted.exchange(true)) {
        QMetaObject::invokeMethod(
            impl->receiver.get(), [impl] { impl->Drain(); }, Qt::QueuedConnection);
    }
}

void MpvVideoImpl::Drain() {
    drainPosted = false;
    while (core != nullptr) {
        const mpv_event* event = mpv_wait_event(core, 0);
        if (event->event_id == MPV_EVENT_NONE) {
            return;
        }
        if (event->event_id == MPV_EVENT_SHUTDOWN) {
            RestartAfterShutdown();
            return;
        }
        Handle(*event);
    }
}

void MpvVideoImpl::RestartAfterShutdown() {
    StopCore();
    if (starts >= 2) {
        LogError("mpv", "the player stopped again; it stays stopped");
        return;
    }
    LogError("mpv", "the player stopped; starting it again");
    if (StartCore()) {
        Emit(MpvEvent::kRestarted);
    }
}

void MpvVideoImpl::Handle(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_LOG_MESSAGE: {
            const auto* message = static_cast<const mpv_event_log_message*>(event.data);
            std::string text = std::string(message->prefix) + ": " + message->text;
            while (!text.empty() && text.back() == '\n') {
                text.pop_back();
            }
            LogInfo("mpv", text);
            break;
        }
        case MPV_EVENT_START_FILE: {
            const auto* start = static_cast<const mpv_event_start_file*>(event.data);
            if (entry < 0 || start->playlist_entry_id == entry) {
                entry = start->playlist_entry_id;
                entryStarted = true;
            }
            break;
        }
        case MPV_EVENT_FILE_LOADED:
            if (entryStarted && !loaded) {
                loaded = true;
                // What the media it replaced left behind (a pause at its end) is not this one's.
                SetFlag("pause", paused);
                Emit(MpvEvent::kFileLoaded);
            }
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            if (loaded && failure == 0) {
                Emit(MpvEvent::kReady);
            }
            break;
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<const mpv_event_end_file*>(event.data);
            if (entryStarted && end->playlist_entry_id == entry &&
                end->reason == MPV_END_FILE_REASON_ERROR && failure == 0) {
                failure = end->error != 0 ? end->error : MPV_ERROR_GENERIC;
                Emit(MpvEvent::kFailed);
            }
            break;
        }
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* change = static_cast<const mpv_event_property*>(event.data);
            const bool on = change->format == MPV_FORMAT_FLAG && *static_cast<int*>(change->data);
            if (!loaded || failure != 0) {
                break;
            }
            if (event.reply_userdata == kEofReached && on != ended) {
                ended = on;
                if (ended) {
                    Emit(MpvEvent::kEnded);
                }
            } else if (event.reply_userdata == kPausedForCache && on != waiting) {
                waiting = on;
                Emit(on ? MpvEvent::kWaiting : MpvEvent::kReady);
            }
            break;
        }
        default:
            break;
    }
}

bool MpvVideo::Available() {
    return true;
}

bool MpvVideo::MachineHasGpu() {
    std::error_code error;
    for (const auto& node : std::filesystem::directory_iterator("/dev/dri", error)) {
        if (node.path().filename().string().rfind("renderD", 0) == 0) {
            return true;
        }
    }
    return false;
}

MpvVideo::MpvVideo() : mpv_(std::make_unique<MpvVideoImpl>(this)) {}

MpvVideo::~MpvVideo() {
    mpv_->StopCore();
}

bool MpvVideo::CreateNative(const Rect& rect) {
    auto* widget = new MpvFrameWidget(ParentWidgetOf(Parent()));
    widget->setGeometry(ToQRect(rect));
    MpvVideoImpl* d = mpv_.get();
    widget->frameSource = [d] {
        return d->renderer && d->loaded ? d->renderer->LatestFrame() : QImage();
    };
    widget->onResize = [d](QSize) { d->ResizeRenderer(); };
    widget->onDoubleClick = [this] {
        if (onDoubleClick) {
            onDoubleClick();
        }
    };
    mpv_->widget = widget;
    impl_->Attach(widget, false);
    return true;
}

bool MpvVideo::Start(const MpvSettings& settings) {
    if (mpv_->core != nullptr) {
        return true;
    }
    mpv_->settings = settings;
    return mpv_->StartCore();
}

bool MpvVideo::IsStarted() const {
    return mpv_->core != nullptr;
}

int MpvVideo::Starts() const {
    return mpv_->starts;
}

void MpvVideo::Open(const std::string& address, bool paused, double startSeconds) {
    MpvVideoImpl* d = mpv_.get();
    if (d->core == nullptr) {
        return;
    }
    d->address = address;
    d->entry = -1;
    d->entryStarted = d->loaded = d->ended = d->waiting = false;
    d->failure = 0;
    d->paused = paused;
    d->SetFlag("pause", paused);
    const std::string start = "start=" + std::to_string(startSeconds > 0 ? startSeconds : 0);
    const char* command[] = {"loadfile", address.c_str(), "replace", start.c_str(), nullptr};
    mpv_node result{};
    if (mpv_command_ret(d->core, command, &result) < 0) {
        d->failure = MPV_ERROR_LOADING_FAILED;
        d->Emit(MpvEvent::kFailed);
        return;
    }
    // The entry's id tells this media's events from those of the one it replaced.
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            const mpv_node& value = result.u.list->values[i];
            if (std::string_view(result.u.list->keys[i]) == "playlist_entry_id" &&
                value.format == MPV_FORMAT_INT64) {
                d->entry = value.u.int64;
            }
        }
    }
    mpv_free_node_contents(&result);
}

void MpvVideo::Close() {
    MpvVideoImpl* d = mpv_.get();
    d->address.clear();
    d->entry = 0;
    d->entryStarted = d->loaded = d->ended = d->waiting = false;
    d->failure = 0;
    if (d->core != nullptr) {
        const char* command[] = {"stop", nullptr};
        mpv_command(d->core, command);
    }
    if (d->widget) {
        d->widget->update();
    }
    if (d->glPicture) {
        d->glPicture->update();
    }
}

void MpvVideo::SetPaused(bool paused) {
    mpv_->paused = paused;
    mpv_->SetFlag("pause", paused);
}

void MpvVideo::Seek(double seconds) {
    MpvVideoImpl* d = mpv_.get();
    if (d->core == nullptr || !d->loaded) {
        return;
    }
    const std::string target = std::to_string(seconds);
    const char* command[] = {"seek", target.c_str(), "absolute+exact", nullptr};
    if (mpv_command(d->core, command) >= 0) {
        d->ended = false;
    }
}

void MpvVideo::SetVolume(int percent) {
    mpv_->volume = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    double v = mpv_->volume;
    if (mpv_->core != nullptr) {
        mpv_set_property(mpv_->core, "volume", MPV_FORMAT_DOUBLE, &v);
    }
}

void MpvVideo::SetMuted(bool muted) {
    mpv_->muted = muted;
    mpv_->SetFlag("mute", muted);
}

double MpvVideo::Position() const {
    return mpv_->loaded ? mpv_->Number("time-pos") : 0;
}

double MpvVideo::Length() const {
    return mpv_->loaded ? mpv_->Number("duration") : 0;
}

bool MpvVideo::Paused() const {
    return mpv_->Flag("pause");
}

std::string MpvVideo::Address() const {
    return mpv_->address;
}

double MpvVideo::Volume() const {
    return mpv_->Number("volume");
}

bool MpvVideo::Muted() const {
    return mpv_->Flag("mute");
}

int MpvVideo::FailureCode() const {
    return mpv_->failure;
}

long MpvVideo::FramesDrawn() const {
    if (mpv_->glRenderer) {
        return mpv_->glRenderer->FramesDrawn();
    }
    return mpv_->renderer ? mpv_->renderer->FramesDrawn() : 0;
}

bool MpvVideo::DrawsWithOpenGl() const {
    return mpv_->glRenderer != nullptr;
}

bool MpvVideo::Command(const std::vector<std::string>& args) {
    if (mpv_->core == nullptr || args.empty()) {
        return false;
    }
    std::vector<const char*> command;
    for (const std::string& arg : args) {
        command.push_back(arg.c_str());
    }
    command.push_back(nullptr);
    return mpv_command_async(mpv_->core, 0, command.data()) >= 0;
}

}  // namespace plat
