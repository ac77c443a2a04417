// MpvVideo: a child window that plays media with libmpv and shows its picture. The core plays
// on threads of its own; its frames are drawn on a render thread, by mpv's OpenGL renderer when
// the settings ask for it and the program has OpenGL (mpv_gl_impl.h), else by its software
// renderer, and shown in the window. Nothing of the user's mpv set-up is read (no configuration
// files, no scripts, no key bindings, no on-screen controller).
//
// - The core starts with Start(). Without libmpv, or when the core cannot start, Start answers
//   false and logs why; every other call then does nothing and answers zeros.
// - What the core reports arrives as MpvEvents on the event loop, only for the media opened
//   last: a media replaced before it loaded reports nothing more.
// - A core that shuts down by itself (a quit asked of it, a fatal error) is started again once,
//   empty, and reports kRestarted.
// - Mouse presses on the picture do nothing; a left double-click calls onDoubleClick.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/window.h"

namespace plat {

struct MpvVideoImpl;

enum class MpvEvent {
    kFileLoaded,  // the opened media's length and streams are known
    kReady,       // the picture at the position is there (after a load, a seek, or a wait for
                  // data): playback runs from here unless paused
    kWaiting,     // playback is meant to run and waits for data
    kEnded,       // played to its end (the last frame stays shown)
    kFailed,      // the media could not be opened or played; FailureCode() tells why
    kRestarted,   // the core shut down and a new, empty one runs
};

struct MpvSettings {
    bool sound = true;    // false: no sound output at all (machines without sound devices)
    bool picture = true;  // false: nothing decoded for the picture, nothing drawn
    // Draw with OpenGL, which lets a graphics card's decoder hand its frames over without
    // copies. Needs an application started with OpenGL; where OpenGL or mpv's OpenGL renderer
    // cannot start, the software renderer draws instead and one log line says why.
    bool openGl = false;
};

class MpvVideo : public Window {
  public:
    MpvVideo();
    ~MpvVideo() override;

    // True when this build plays with libmpv (it was found when the program was built).
    static bool Available();
    // True when the machine has a graphics card to draw and decode with (a render node in
    // /dev/dri); without one OpenGL is a software driver that only costs memory.
    static bool MachineHasGpu();

    std::function<void(MpvEvent)> onEvent;
    std::function<void()> onDoubleClick;

    // Starts the core; the window must be created. False (logged) when it cannot start.
    bool Start(const MpvSettings& settings = {});
    bool IsStarted() const;
    // How often a core started: 1 after Start, one more for the restart after a shutdown.
    int Starts() const;

    // Opens `address` (a file or an http address), paused or playing once loaded, from
    // `startSeconds` on.
    void Open(const std::string& address, bool paused, double startSeconds = 0);
    // Stops and unloads the media; the window turns black.
    void Close();
    void SetPaused(bool paused);
    // Seeks to `seconds` from the start (exact). Does nothing before kFileLoaded.
    void Seek(double seconds);
    void SetVolume(int percent);  // 0 to 100
    void SetMuted(bool muted);

    // The playing position and the length in seconds; 0 when unknown or nothing is loaded.
    double Position() const;
    double Length() const;
    bool Paused() const;
    // The address opened last (empty after Close), and the core's own volume (0 to 100) and
    // mute.
    std::string Address() const;
    double Volume() const;
    bool Muted() const;
    // libmpv's error code of the last kFailed (a negative MPV_ERROR_*), 0 when none.
    int FailureCode() const;
    // Frames the renderer has drawn since the core started.
    long FramesDrawn() const;
    // True when the frames are drawn with OpenGL.
    bool DrawsWithOpenGl() const;
    // Runs an mpv input command (for tests: {"quit"}). False when the core refused it.
    bool Command(const std::vector<std::string>& args);

  protected:
    bool CreateNative(const Rect& rect) override;

  private:
    friend struct MpvVideoImpl;
    std::unique_ptr<MpvVideoImpl> mpv_;
};

}  // namespace plat
