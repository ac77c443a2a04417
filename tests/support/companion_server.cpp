// The companion server of the tests: clips made with ffmpeg, tunova-server started on them.
#include "support/companion_server.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/core/http.h"
#include "support/loopback_server.h"
#include "support/test_paths.h"

namespace tunova::testing {
namespace fs = std::filesystem;
namespace {

// Starts `argv` (a path or a name found in PATH) with no input, its output discarded and its
// errors written to `errorLog` (discarded when empty). It dies with this process, so a test
// that fails half-way leaves no server behind. Returns the process id, -1 on failure.
pid_t Start(const std::vector<std::string>& argv, const std::string& errorLog = {}) {
    std::vector<char*> args;
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    const char* errors = errorLog.empty() ? "/dev/null" : errorLog.c_str();
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(127);
        }
        const int none = open("/dev/null", O_RDWR);
        const int log = open(errors, O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(none, STDIN_FILENO);
        dup2(none, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

// The words of `text`, split at spaces (the tests' paths hold none).
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// Runs `argv` to its end; true when it exits with 0.
bool RunQuietly(const std::vector<std::string>& argv) {
    const pid_t pid = Start(argv);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A 1280x720, 30 frames a second, 20 second clip of about 20 MB: larger than the socket buffers,
// so serving it meets partial writes and clients that leave half-way. Made once per machine
// (a noisy 2 second piece at 9 Mbit/s, repeated by copying, with a tone) and kept in the
// temporary folder; the path, or empty with `error` set.
std::string FullSizeClip(std::string& error) {
    const fs::path folder = fs::temp_directory_path() / "tunova-test-clips";
    const fs::path clip = folder / "full-size-720p30-20s-v1.webm";
    std::error_code ignored;
    if (fs::file_size(clip, ignored) > 20'000'000 && !ignored) {
        return clip.string();
    }
    fs::create_directories(folder, ignored);
    // Names of this process only, renamed into place: test processes running at once each make
    // it whole or find it whole.
    const std::string own = (folder / std::to_string(getpid())).string();
    const bool made =
        RunQuietly(Words("ffmpeg -nostdin -v error -y -f lavfi -i "
                         "testsrc2=size=1280x720:rate=30:duration=2 -vf noise=alls=25:allf=t "
                         "-c:v libvpx -deadline realtime -cpu-used 8 -b:v 9M -minrate 9M "
                         "-maxrate 9M -bufsize 4M " +
                         own + "-piece.webm")) &&
        RunQuietly(Words("ffmpeg -nostdin -v error -y -stream_loop -1 -i " + own +
                         "-piece.webm -f lavfi -i sine=frequency=550:duration=20 -map 0:v "
                         "-map 1:a -c:v copy -c:a libvorbis -ac 1 -ar 22050 -t 20 " +
                         own + "-clip.webm"));
    fs::remove(own + "-piece.webm", ignored);
    if (!made) {
        fs::remove(own + "-clip.webm", ignored);
        error = "ffmpeg could not make the full-size clip";
        return {};
    }
    fs::rename(own + "-clip.webm", clip, ignored);
    return clip.string();
}

}  // namespace

namespace {

std::vector<CompanionClip> NumberedClips(const std::vector<int>& clipSeconds) {
    std::vector<CompanionClip> clips;
    for (std::size_t i = 0; i < clipSeconds.size(); ++i) {
        clips.push_back({"clip-" + std::to_string(i + 1) + ".webm", "Clip " + std::to_string(i + 1),
                         clipSeconds[i]});
    }
    return clips;
}

}  // namespace

CompanionServer::CompanionServer(const std::vector<int>& clipSeconds) {
    Serve(NumberedClips(clipSeconds));
}

CompanionServer::CompanionServer(std::initializer_list<CompanionClip> clips) {
    Serve(clips);
}

void CompanionServer::Serve(const std::vector<CompanionClip>& clips) {
    std::string pattern = (fs::temp_directory_path() / "tunova-companion-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error_ = "no temporary folder";
        return;
    }
    folder_ = pattern;
    const std::string library = folder_ + "/library";
    fs::create_directories(library);
    // Each clip is declared with its length, so the server lists it as it is, unread: an HEVC or
    // AVI clip stays a video the page cannot play instead of getting a playable copy.
    std::string sidecar =
        "file\ttitle\tdescription\tlanguage\trating\traters\tpublished\tseconds\n";
    for (std::size_t i = 0; i < clips.size(); ++i) {
        const CompanionClip& clip = clips[i];
        const std::string seconds = std::to_string(clip.seconds);
        const std::string tone = std::to_string(330 + 110 * static_cast<int>(i));
        const std::string path = library + "/" + clip.file;
        fs::create_directories(fs::path(path).parent_path());
        // By the file's ending: HEVC in Matroska, MPEG-4 Visual with MP3 in AVI (DivX and Xvid
        // files), else VP8 with Vorbis in WebM.
        const std::string codecs =
            clip.file.ends_with(".mkv")
                ? " -c:v libx265 -preset ultrafast -x265-params log-level=error -c:a libvorbis"
            : clip.file.ends_with(".avi")
                ? " -c:v mpeg4 -q:v 8 -c:a libmp3lame"
                : " -c:v libvpx -deadline realtime -cpu-used 8 -b:v 50k -c:a libvorbis";
        std::vector<std::string> command =
            Words("ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=96x54:rate=10:duration=" +
                  seconds + " -f lavfi -i sine=frequency=" + tone + ":duration=" + seconds +
                  codecs + " -ac 1 -ar 22050 -shortest");
        command.push_back(path);  // the one argument that may hold spaces
        files_.push_back(path);
        if (!RunQuietly(command)) {
            error_ = "ffmpeg could not make " + clip.file;
            return;
        }
        // The number in the description ties the feed's entries to the clips.
        sidecar += clip.file + "\t" + clip.title + "\ttunovaclip number " + std::to_string(i + 1) +
                   "\tko\t4.5\t10\t2026-12-01T00:00:00Z\t" + seconds + "\n";
    }
    const std::string fullSize = FullSizeClip(error_);
    if (fullSize.empty()) {
        return;
    }
    fullSizePath_ = fullSize;
    std::error_code linkError;
    fs::create_hard_link(fullSize, library + "/full-size.webm", linkError);
    if (linkError) {
        fs::copy_file(fullSize, library + "/full-size.webm");
    }
    sidecar +=
        "full-size.webm\tFull-size clip\ttunovafullsize 1280x720\tko\t4.5\t10\t"
        "2026-12-01T00:00:00Z\t20\n";
    std::ofstream(library + "/metadata.tsv", std::ios::binary) << sidecar;

    const std::string portFile = folder_ + "/port";
    const std::string log = folder_ + "/server.log";
    const std::string server = tunova::testing::RunDir() + "/tunova-server";
    const std::vector<std::string> argv =
        Words("--host 127.0.0.1 --port 0 --player-version 1 --port-file " + portFile +
              " --library " + library + " --db " + folder_ + "/catalogue.sqlite --media-cache " +
              folder_ + "/media-cache");
    std::vector<std::string> command = {server};
    command.insert(command.end(), argv.begin(), argv.end());
    pid_ = Start(command, log);
    if (pid_ <= 0) {
        pid_ = -1;
        error_ = "cannot start " + server;
        return;
    }
    bool exited = false;
    const bool listening = PumpUntil(
        [&] {
            int status = 0;
            exited = exited || waitpid(pid_, &status, WNOHANG) == pid_;
            const std::string text = ReadFile(portFile);
            return exited || (!text.empty() && text.back() == '\n');
        },
        30000);
    if (exited) {
        pid_ = -1;
        error_ = "tunova-server ended: " + ReadFile(log);
        return;
    }
    if (!listening) {
        error_ = "tunova-server did not start: " + ReadFile(log);
        return;
    }
    port_ = std::atoi(ReadFile(portFile).c_str());

    // The ids of the clips, from the server's own feed, in clip order.
    const plat::HttpResponse feed = plat::HttpGet(
        Host(),
        "/feeds/api/videos/-/Music?vq=tunovaclip&orderby=relevance&max-results=30&start-index=1");
    ids_.assign(clips.size(), std::string());
    const std::string& xml = feed.body;
    for (std::size_t at = xml.find("<entry>"); at != std::string::npos;
         at = xml.find("<entry>", at + 1)) {
        constexpr std::string_view kNumber = "tunovaclip number ";
        const std::size_t number = xml.find(kNumber, at);
        const std::size_t link = xml.find("watch?v=", at);
        if (number == std::string::npos || link == std::string::npos) {
            break;
        }
        const std::size_t index =
            std::strtoul(xml.c_str() + number + kNumber.size(), nullptr, 10) - 1;
        const std::size_t idStart = link + 8;
        const std::size_t idEnd = xml.find_first_not_of(
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-", idStart);
        if (index < ids_.size() && idEnd != std::string::npos) {
            ids_[index] = xml.substr(idStart, idEnd - idStart);
        }
    }
    const plat::HttpResponse fullSizeFeed =
        plat::HttpGet(Host(),
                      "/feeds/api/videos/-/"
                      "Music?vq=tunovafullsize&orderby=relevance&max-results=1&start-index=1");
    const std::size_t fullSizeLink = fullSizeFeed.body.find("watch?v=");
    if (fullSizeLink != std::string::npos) {
        const std::size_t idStart = fullSizeLink + 8;
        fullSizeId_ = fullSizeFeed.body.substr(
            idStart,
            fullSizeFeed.body.find_first_not_of(
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-", idStart) -
                idStart);
    }
    if (fullSizeId_.empty()) {
        error_ = "the feed did not list the full-size clip";
    }
    for (const std::string& id : ids_) {
        if (id.empty()) {
            error_ = "the feed did not list every clip: " + feed.body.substr(0, 400);
        }
    }
}

CompanionServer::~CompanionServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    std::error_code ignored;
    if (!folder_.empty()) {
        fs::remove_all(folder_, ignored);
    }
}

bool CompanionServer::DeleteClip(int i) {
    std::error_code error;
    return i >= 0 && static_cast<std::size_t>(i) < files_.size() &&
           fs::remove(files_[static_cast<std::size_t>(i)], error);
}

std::string CompanionServer::Host() const {
    return "127.0.0.1:" + std::to_string(port_);
}

}  // namespace tunova::testing
