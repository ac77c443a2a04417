#include "server/media_probe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "server/json_value.h"
#include "server/utf8_text.h"

extern char** environ;

namespace tunova::server {

namespace {

// Runs `argv` with its output captured; the exit status lands in `status`.
bool RunCapturing(std::vector<std::string> argv, std::string& output, int& status,
                  std::string& error) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> args;
    for (auto& arg : argv) {
        args.push_back(arg.data());
    }
    args.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        error = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
        return false;
    }
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) != 0) {
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (output.size() < (1u << 20)) {
            output.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(pipeEnds[0]);
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace

ProbeResult ProbeWithFfprobe(const std::string& path) {
    ProbeResult result;
    std::string output;
    int status = 0;
    if (!RunCapturing({"ffprobe", "-v", "error", "-show_entries",
                       "format=duration,format_name:format_tags:stream=codec_type,codec_name:"
                       "stream_tags=language:stream_disposition=attached_pic",
                       "-of", "json", "--", path},
                      output, status, result.error)) {
        return result;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.error = "ffprobe could not read the file";
        return result;
    }
    ReadProbeJson(output, result);
    return result;
}

void ReadProbeJson(std::string_view json, ProbeResult& result) {
    const JsonParse parse = ParseJson(json);
    const JsonValue* format = parse.value.Find("format");
    if (!parse || format == nullptr) {
        result.error = "ffprobe's answer is unreadable";
        return;
    }
    result.formatName = format->Text("format_name");
    const std::string duration = format->Text("duration");
    char* parsedEnd = nullptr;
    const double seconds = std::strtod(duration.c_str(), &parsedEnd);
    if (duration.empty() || parsedEnd == duration.c_str() || !(seconds >= 0)) {
        result.error = "no duration";
        return;
    }
    result.seconds = seconds;
    if (const JsonValue* tags = format->Find("tags")) {
        for (const auto& [key, value] : tags->members) {
            std::string lower;
            for (const char c : key) {
                lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
            }
            std::string* field = lower == "title"          ? &result.title
                                 : lower == "artist"       ? &result.artist
                                 : lower == "album_artist" ? &result.albumArtist
                                 : lower == "date"         ? &result.date
                                 : lower == "comment"      ? &result.comment
                                 : lower == "language"     ? &result.language
                                                           : nullptr;
            if (field != nullptr && field->empty() && value.kind == JsonValue::Kind::String) {
                *field = value.text;
            }
        }
    }
    if (const JsonValue* streams = parse.value.Find("streams")) {
        for (const JsonValue& stream : streams->items) {
            const std::string type = stream.Text("codec_type");
            const JsonValue* disposition = stream.Find("disposition");
            const JsonValue* picture =
                disposition != nullptr ? disposition->Find("attached_pic") : nullptr;
            if (type == "video" && result.videoCodec.empty() &&
                (picture == nullptr || picture->number == 0)) {
                result.videoCodec = stream.Text("codec_name");
            } else if (type == "audio" && result.audioCodec.empty()) {
                result.audioCodec = stream.Text("codec_name");
                const JsonValue* tags = stream.Find("tags");
                if (result.language.empty() && tags != nullptr) {
                    result.language = tags->Text("language");
                }
            }
        }
    }
}

namespace {

void AppendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

constexpr std::pair<const char*, std::string ProbeResult::*> kSavedTexts[] = {
    {"title", &ProbeResult::title},
    {"artist", &ProbeResult::artist},
    {"album_artist", &ProbeResult::albumArtist},
    {"date", &ProbeResult::date},
    {"comment", &ProbeResult::comment},
    {"language", &ProbeResult::language},
    {"format", &ProbeResult::formatName},
    {"video", &ProbeResult::videoCodec},
    {"audio", &ProbeResult::audioCodec},
};

}  // namespace

std::string SaveProbe(const ProbeResult& probe) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", probe.seconds);
    std::string out = std::string("{\"seconds\":") + seconds;
    for (const auto& [key, field] : kSavedTexts) {
        out += ",\"";
        out += key;
        out += "\":";
        AppendJsonString(out, RepairUtf8(probe.*field));
    }
    out += "}";
    return out;
}

bool LoadProbe(std::string_view text, ProbeResult& probe) {
    const JsonParse parse = ParseJson(text);
    const JsonValue* seconds = parse.value.Find("seconds");
    if (!parse || seconds == nullptr || seconds->kind != JsonValue::Kind::Number) {
        return false;
    }
    probe = {};
    probe.seconds = seconds->number;
    for (const auto& [key, field] : kSavedTexts) {
        probe.*field = parse.value.Text(key);
    }
    return true;
}

}  // namespace tunova::server
