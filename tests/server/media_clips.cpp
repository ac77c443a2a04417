#include "media_clips.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace tunova::server::testing {

bool HaveFfmpeg() {
    return std::system("command -v ffmpeg >/dev/null 2>&1 && command -v ffprobe >/dev/null 2>&1") ==
           0;
}

bool RunQuietly(const std::vector<std::string>& argv) {
    std::vector<std::string> copy = argv;
    std::vector<char*> args;
    for (auto& arg : copy) {
        args.push_back(arg.data());
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool MakeClip(const std::filesystem::path& path, ClipKind kind,
              const std::vector<std::string>& tags) {
    std::filesystem::create_directories(path.parent_path());
    std::vector<std::string> argv = {"ffmpeg",
                                     "-nostdin",
                                     "-v",
                                     "error",
                                     "-y",
                                     "-f",
                                     "lavfi",
                                     "-i",
                                     "testsrc2=size=64x48:rate=10:duration=1",
                                     "-f",
                                     "lavfi",
                                     "-i",
                                     "sine=frequency=440:duration=1",
                                     "-pix_fmt",
                                     "yuv420p"};
    const std::vector<std::string> codecs =
        kind == ClipKind::H264AacMp4 || kind == ClipKind::H264AacMkv
            ? std::vector<std::string>{"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}
        : kind == ClipKind::Vp8VorbisWebm
            ? std::vector<std::string>{"-c:v",     "libvpx", "-deadline",
                                       "realtime", "-c:a",   "libvorbis"}
        : kind == ClipKind::HevcAacMkv
            ? std::vector<std::string>{"-c:v",         "libx265",         "-preset", "ultrafast",
                                       "-x265-params", "log-level=error", "-c:a",    "aac"}
            : std::vector<std::string>{"-c:v", "mpeg4", "-c:a", "libmp3lame"};
    argv.insert(argv.end(), codecs.begin(), codecs.end());
    for (const std::string& tag : tags) {
        argv.push_back("-metadata");
        argv.push_back(tag);
    }
    argv.push_back("-shortest");
    argv.push_back(path.string());
    return RunQuietly(argv);
}

std::string ProbeCodecs(const std::filesystem::path& path) {
    std::string codecs;
    for (const char* stream : {"v:0", "a:0"}) {
        const std::string command = std::string("ffprobe -v error -select_streams ") + stream +
                                    " -show_entries stream=codec_name -of csv=p=0 '" +
                                    path.string() + "'";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return {};
        }
        char line[64] = {};
        const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
        pclose(pipe);
        std::string name = got ? line : "";
        while (!name.empty() && (name.back() == '\n' || name.back() == ',')) {
            name.pop_back();
        }
        codecs += (codecs.empty() ? "" : ",") + name;
    }
    return codecs;
}

}  // namespace tunova::server::testing
