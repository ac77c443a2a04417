// Extended M3U: "#EXTM3U", then per entry "#EXTINF:SECONDS,TITLE", "#TUNOVA-PAGE:LINK" and the
// location on the next line that is neither blank nor a comment. Attributes between the seconds
// and the comma (as in `#EXTINF:-1 tvg-name="a,b",Title`) are skipped, quoted commas included.
#include <algorithm>
#include <string>

#include "platform/desktop/playlist_formats.h"
#include "platform/desktop/playlist_text_impl.h"

namespace plat {
namespace {

namespace text = playlist_text;

constexpr std::string_view kExtInf = "#EXTINF:";
// The page of the next entry: a comment to other players.
constexpr std::string_view kPageComment = "#TUNOVA-PAGE:";
// Longer durations are taken as this many seconds (more than a day of video).
constexpr int kMaxSeconds = 100000;

struct ExtInf {
    int seconds = 0;
    std::string_view title;
};

ExtInf ParseExtInf(std::string_view rest) {
    ExtInf info;
    std::size_t i = 0;
    const bool negative = i < rest.size() && rest[i] == '-';
    i += negative ? 1 : 0;
    int seconds = 0;
    for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) {
        seconds = std::min(kMaxSeconds, seconds * 10 + (rest[i] - '0'));
    }
    info.seconds = negative ? 0 : seconds;
    bool quoted = false;
    for (; i < rest.size(); ++i) {
        if (rest[i] == '"') {
            quoted = !quoted;
        } else if (rest[i] == ',' && !quoted) {
            info.title = rest.substr(i + 1);
            break;
        }
    }
    return info;
}

std::string_view TrimmedLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    return line;
}

PlaylistReadResult Refused(std::string reason) {
    PlaylistReadResult result;
    result.error = std::move(reason);
    return result;
}

}  // namespace

PlaylistReadResult ReadM3u(std::string_view bytes) {
    bytes = text::WithoutByteOrderMark(bytes);
    if (std::string problem = text::FileProblem(bytes); !problem.empty()) {
        return Refused(std::move(problem));
    }
    PlaylistReadResult result;
    bool titled = false;
    ExtInf pending;
    std::string_view page;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = TrimmedLine(bytes.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty()) {
            continue;
        }
        if (line.substr(0, kExtInf.size()) == kExtInf) {
            pending = ParseExtInf(line.substr(kExtInf.size()));
            if (pending.title.size() > kMaxPlaylistTitleBytes) {
                return Refused(text::AtLine(
                    lineNumber,
                    "a title longer than " + std::to_string(kMaxPlaylistTitleBytes) + " bytes"));
            }
            titled = true;
            continue;
        }
        if (line.substr(0, kPageComment.size()) == kPageComment) {
            page = TrimmedLine(line.substr(kPageComment.size()));
            continue;
        }
        if (line.front() == '#') {
            continue;  // the header, other directives and comments
        }
        if (std::string problem = text::LocationProblem(line); !problem.empty()) {
            return Refused(text::AtLine(lineNumber, problem));
        }
        if (result.tracks.size() == kMaxPlaylistFileTracks) {
            return Refused("the file has more than " + std::to_string(kMaxPlaylistFileTracks) +
                           " entries");
        }
        PlaylistTrack track;
        track.link = std::string(line);
        track.title = titled ? text::CleanTitle(pending.title) : std::string();
        track.seconds = titled ? pending.seconds : 0;
        if (track.title.empty()) {
            track.title = track.link;
        }
        if (text::IsWebLink(page)) {
            track.page = std::string(page);
        }
        result.tracks.push_back(std::move(track));
        titled = false;
        page = {};
    }
    return result;
}

std::string WriteM3u(const std::vector<PlaylistTrack>& tracks) {
    std::string out = "#EXTM3U\n";
    for (const PlaylistTrack& track : tracks) {
        out += kExtInf;
        out += std::to_string(track.seconds > 0 ? track.seconds : -1);
        out += ',';
        out += text::CleanTitle(track.title);
        out += '\n';
        if (!track.page.empty()) {
            out += kPageComment;
            out += text::EncodedLink(track.page);
            out += '\n';
        }
        out += text::EncodedLink(track.link);
        out += '\n';
    }
    return out;
}

}  // namespace plat
