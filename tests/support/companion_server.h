// The companion server as the tests run it: tunova-server from the build on 127.0.0.1 and a free
// port, serving a library of real WebM clips generated with ffmpeg. No <chrono> here: included by
// tests compiled as CP949.
#pragma once

#include <sys/types.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace tunova::testing {

// A clip of the library: its path under the library folder, its title (empty: the server's own
// choice, the file name) and its length. A file ending in ".mkv" holds HEVC video (a codec the
// web engine cannot decode), any other VP8; the sound is a Vorbis tone.
struct CompanionClip {
    std::string file;
    std::string title;
    int seconds = 1;
};

// One per entry of `clipSeconds`: VP8 video with a Vorbis tone, titled "Clip 1", "Clip 2", ...
// and all found by the search word "tunovaclip". Besides them, one full-size clip (1280x720,
// 20 s, about 20 MB, larger than the socket buffers) found by the word "tunovafullsize". The server
// and its library go with the object; the server also ends when the test process does.
class CompanionServer {
  public:
    explicit CompanionServer(const std::vector<int>& clipSeconds);
    // The clips as given, all found by "tunovaclip" too.
    CompanionServer(std::initializer_list<CompanionClip> clips);
    ~CompanionServer();
    CompanionServer(const CompanionServer&) = delete;
    CompanionServer& operator=(const CompanionServer&) = delete;

    bool Running() const { return port_ > 0; }
    std::string Host() const;  // "127.0.0.1:PORT"
    // The video id of clip i (0-based), read from the server's own feed.
    const std::vector<std::string>& VideoIds() const { return ids_; }
    // The video id of the full-size clip, and its file.
    const std::string& FullSizeClipId() const { return fullSizeId_; }
    const std::string& FullSizeClipPath() const { return fullSizePath_; }
    // The server's process id (-1 when it is not running).
    pid_t Pid() const { return pid_; }
    // Why the server is not running, when it is not.
    const std::string& Error() const { return error_; }
    // Deletes clip i's file from the library (the server drops it from its feeds within a
    // second or two; its media address answers 404 at once). False when it was not there.
    bool DeleteClip(int i);

  private:
    // Makes the library of `clips` and starts the server on it.
    void Serve(const std::vector<CompanionClip>& clips);

    std::string folder_;
    std::vector<std::string> files_;  // the clips' paths
    pid_t pid_ = -1;
    int port_ = 0;
    std::vector<std::string> ids_;
    std::string fullSizeId_;
    std::string fullSizePath_;
    std::string error_;
};

}  // namespace tunova::testing
