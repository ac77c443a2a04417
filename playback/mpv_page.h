// MpvPage: the player page's functions answered by libmpv (platform/mpv) instead of a web page,
// with the page's answers: the same states (-1 not started, 3 buffering, 1 playing, 2 paused,
// 0 ended, 5 cued), volume 0 to 100, mute, seek, time and length in seconds, videos loaded and
// cued by id from the same media address, and a video that cannot be played ended with a
// nonzero getPlayerError. The controller, the sequencer and the poll cannot tell it from the
// page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/mpv/mpv_video.h"
#include "playback/player_page.h"

namespace tunova {

class MpvPage : public PlayerPage {
  public:
    explicit MpvPage(plat::MpvSettings settings = {});

    // True when this build can play with libmpv.
    static bool Available();

    bool CreateControl(plat::Window* parent, int id) override;
    // Starts the core; `folder` is not needed. False when libmpv cannot start.
    bool LoadPlayerPage(const std::string& folder, std::string_view feedHost) override;
    bool IsPageLoaded() const override { return video_.IsStarted(); }
    plat::Window& VideoWindow() override { return video_; }
    plat::ScriptCallResult CallFunction(std::string_view name,
                                        const std::vector<std::string>& args) override;
    // A core started again after it shut down counts as a page loaded again.
    int PageLoads() const override { return video_.Starts(); }

    // The engine itself, for tests and benchmarks that look inside.
    plat::MpvVideo& Video() { return video_; }

  private:
    void OnEvent(plat::MpvEvent event);
    // Loads the video of the id in `args` (as the page: [id, ..., "1"]); unloads and answers
    // false when there is no valid id.
    bool Open(const std::vector<std::string>& args, bool play);
    void Unload();
    void Play();
    void Pause();
    void SeekTo(std::string_view seconds);
    void SetVolume(std::string_view value);
    int State() const;
    double CurrentTime() const;

    plat::MpvSettings settings_;
    plat::MpvVideo video_;
    std::string mediaBase_;
    std::string address_;     // the loaded video's media address; empty: nothing loaded
    bool loaded_ = false;     // its length and streams are known
    bool wantsPlay_ = false;  // it should play (load, play) or wait (cue, pause)
    bool cued_ = false;       // cued and not played since
    bool running_ = false;    // its picture at the position is there and not waiting for data
    bool ended_ = false;
    double startAt_ = 0;  // the second it was opened from
    int volume_ = 100;
};

}  // namespace tunova
