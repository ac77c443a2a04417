// Desktop media controls: the player as an MPRIS media player on the session bus, so the
// desktop's media panel (GNOME, KDE) and the keyboard's media keys control it.
//
// MediaControls registers the bus name org.mpris.MediaPlayer2.NAME with the object
// /org/mpris/MediaPlayer2 and its two interfaces, org.mpris.MediaPlayer2 (Raise, Quit, identity)
// and org.mpris.MediaPlayer2.Player (transport, Seek, SetPosition, Volume, PlaybackStatus,
// Metadata, Can*). Every call is handed to the MediaCommands the program gives; the program
// publishes its state with Publish(), which signals PropertiesChanged for what changed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace plat {

enum class MediaStatus { kStopped, kPlaying, kPaused };

// The state the desktop sees. Text is CP949.
struct MediaState {
    MediaStatus status = MediaStatus::kStopped;
    // The video shown: 0 for none (empty metadata). A new number for every video started, so a
    // video started twice is two tracks.
    std::uint64_t track = 0;
    std::string title;
    std::int64_t lengthUs = 0;  // 0 when unknown: seeking is off then
    std::string url;            // the watch link
    double volume = 0;          // 0 to 1
    bool canPlay = false;
    bool canPause = false;
    bool canGoNext = false;
    bool canGoPrevious = false;

    bool operator==(const MediaState&) const = default;
};

// What the desktop asks of the program. Called on the UI thread while the bus is served.
class MediaCommands {
  public:
    virtual ~MediaCommands() = default;
    virtual void Raise() = 0;
    virtual void Quit() = 0;
    virtual void PlayPause() = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void Next() = 0;
    virtual void Previous() = 0;
    // A position within the video shown, already limited to 0 .. its length.
    virtual void SetPositionUs(std::int64_t positionUs) = 0;
    // A volume already limited to 0 .. 1.
    virtual void SetVolume(double volume) = 0;
    // Where the video shown is now; read when the desktop asks.
    virtual std::int64_t PositionUs() = 0;
};

// The object path of track number `track` as the desktop sees it ("/org/tunova/track/N"; track
// 0 is MPRIS's "no track" path).
std::string MediaTrackPath(std::uint64_t track);

// Nearest valid values for what a caller passes: a position outside 0 .. `lengthUs` becomes
// the nearer end; a volume outside 0 .. 1 the nearer end, and NaN `current` (nothing changes).
std::int64_t ClampPositionUs(std::int64_t positionUs, std::int64_t lengthUs);
double ClampVolume(double volume, double current);

class MediaControls {
  public:
    explicit MediaControls(MediaCommands& commands);
    ~MediaControls();
    MediaControls(const MediaControls&) = delete;
    MediaControls& operator=(const MediaControls&) = delete;

    // Connects to the session bus and claims org.mpris.MediaPlayer2.`name` (with
    // ".instance<pid>" added when another process holds that name). Returns false, after one
    // info line in the log, when there is no session bus or the name cannot be had: the program
    // runs on without desktop controls.
    bool Register(std::string_view name);
    bool IsRegistered() const;
    // The bus name claimed; empty when not registered.
    std::string BusName() const;

    // The program's state now; properties that differ from the last published state are
    // signalled in one PropertiesChanged.
    void Publish(const MediaState& state);
    const MediaState& Published() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace plat
