#include "app/playlist_command.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window_title.h"
#include "app/single_instance.h"
#include "controls/skin_list.h"
#include "lists/library_lookup.h"
#include "lists/list_file.h"
#include "lists/playlist.h"
#include "lists/playlist_transfer.h"
#include "platform/controls/controls.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/desktop/remote_request.h"
#include "platform/window/application.h"
#include "platform/window/window.h"

namespace tunova {
namespace {

int Report(const TransferResult& result) {
    std::fprintf(result.ok ? stdout : stderr, "tunova: %s\n", result.message.c_str());
    return result.ok ? 0 : 1;
}

constexpr std::string_view kAnswerOk = "ok\n";
constexpr std::string_view kAnswerFailed = "failed\n";
// How long a step of the hand-over may take: an import may look its entries up in the library,
// one search at a time, before it answers.
constexpr int kExportAnswerMs = 5000;
constexpr int kImportAnswerMs = 60000;

// Hands the export or import of the file at `path` to the running copy, which holds the playlist
// as it is now. Returns the exit status, or nullopt when no copy answers (the caller falls back).
std::optional<int> HandOverToRunningCopy(const AppServices& services, std::string_view request,
                                         const std::string& path) {
    // The running copy has a working folder of its own: it gets the path from the root.
    const std::string absolute = plat::AbsolutePath(path);
    if (absolute.empty()) {
        std::fprintf(stderr, "tunova: %s: the working folder cannot be read\n", path.c_str());
        return 1;
    }
    const plat::RequestResult result =
        SendToRunningCopy(services.machine.clock, kMainWindowTitle, request, absolute, 5000,
                          request == kImportPlaylistRequest ? kImportAnswerMs : kExportAnswerMs);
    switch (result.status) {
        case plat::RequestStatus::kAnswered:
            return Report(ReadPlaylistRequestAnswer(result.answer));
        case plat::RequestStatus::kRefused:
            std::fprintf(stderr, "tunova: the running player refused the playlist file\n");
            return 1;
        case plat::RequestStatus::kUnreachable:
            break;
    }
    return std::nullopt;
}

int ExportPlaylist(const AppServices& services, const CommandLineOptions& options) {
    const std::string& path = options.exportPlaylist;
    if (AnotherTunovaRunning()) {
        if (const std::optional<int> status =
                HandOverToRunningCopy(services, kExportPlaylistRequest, path)) {
            return *status;
        }
        std::fprintf(stderr,
                     "tunova: the running player does not answer; writing the playlist as it "
                     "was last saved\n");
    }
    return Report(ExportTracks(TracksOfListFile(plat::DataFile(kPlaylistFileName)), path,
                               services.hosts.feedHost));
}

int ImportPlaylist(const AppServices& services, const CommandLineOptions& options, int argc,
                   char** argv) {
    const std::string& path = options.importPlaylist;
    if (AnotherTunovaRunning()) {
        if (const std::optional<int> status =
                HandOverToRunningCopy(services, kImportPlaylistRequest, path)) {
            return *status;
        }
        std::fprintf(stderr,
                     "tunova: a player is running but does not answer, and would overwrite the "
                     "playlist when it ends; drop %s onto its playlist, or quit it and import "
                     "again\n",
                     path.c_str());
        return 1;
    }
    std::vector<plat::PlaylistTrack> tracks;
    if (const TransferResult read = ReadImportFile(path, tracks); !read) {
        return Report(read);
    }
    // The playlist and its view, never shown: nothing here needs a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    plat::Application application(argc, argv);
    plat::Window owner;
    CSkinList view;
    if (!owner.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 400, 300), 0) ||
        !view.Create(&owner, 0, plat::Rect::FromXYWH(0, 0, 400, 300))) {
        std::fprintf(stderr, "tunova: cannot set up the playlist\n");
        return 1;
    }
    Playlist playlist;
    playlist.Bind(view);
    playlist.SetupView();
    const std::string listFile = plat::DataFile(kPlaylistFileName);
    playlist.Load(listFile);
    LibraryLookup library(services.machine, services.hosts.feedHost);
    const TransferResult imported = AddImportedTracks(playlist, tracks, path, library);
    if (imported.ok && imported.added > 0) {
        const Playlist::SaveResult saved = playlist.Save(listFile);
        if (!saved) {
            std::fprintf(stderr, "tunova: %s\n", saved.error.c_str());
            return 1;
        }
    }
    return Report(imported);
}

}  // namespace

std::string PlaylistRequestAnswer(const TransferResult& result) {
    return std::string(result.ok ? kAnswerOk : kAnswerFailed) + result.message;
}

TransferResult ReadPlaylistRequestAnswer(std::string_view answer) {
    TransferResult result;
    if (answer.starts_with(kAnswerOk)) {
        result.ok = true;
        result.message = answer.substr(kAnswerOk.size());
    } else if (answer.starts_with(kAnswerFailed)) {
        result.message = answer.substr(kAnswerFailed.size());
    } else {
        result.message = "the running player gave an answer that is not understood";
    }
    return result;
}

bool WantsPlaylistCommand(const CommandLineOptions& options) {
    return !options.exportPlaylist.empty() || !options.importPlaylist.empty();
}

int RunPlaylistCommand(const AppServices& services, const CommandLineOptions& options, int argc,
                       char** argv) {
    if (!options.exportPlaylist.empty()) {
        return ExportPlaylist(services, options);
    }
    return ImportPlaylist(services, options, argc, argv);
}

}  // namespace tunova
