#include "app/playlist_command.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/single_instance.h"
#include "controls/skin_list.h"
#include "lists/list_file.h"
#include "lists/playlist.h"
#include "lists/playlist_transfer.h"
#include "platform/application.h"
#include "platform/controls.h"
#include "platform/data_dir.h"
#include "platform/window.h"

namespace tunova {
namespace {

int Report(const TransferResult& result) {
    std::fprintf(result.ok ? stdout : stderr, "tunova: %s\n", result.message.c_str());
    return result.ok ? 0 : 1;
}

// The hand-over of an export or import to the running copy, which holds the playlist as it is
// now. It belongs on the remote-command channel of the single-instance socket
// (app/single_instance.*); until that channel carries requests nothing is handed over, and
// false sends the caller to its fallback.
bool HandOverToRunningCopy(const CommandLineOptions& /*options*/) {
    return false;
}

int ExportPlaylist(const CommandLineOptions& options) {
    const std::string& path = options.exportPlaylist;
    if (AnotherTunovaRunning()) {
        if (HandOverToRunningCopy(options)) {
            return 0;
        }
        std::fprintf(stderr,
                     "tunova: a player is running; writing the playlist as it was last saved\n");
    }
    return Report(ExportTracks(TracksOfListFile(plat::DataFile(kPlaylistFileName)), path));
}

int ImportPlaylist(const CommandLineOptions& options, int argc, char** argv) {
    const std::string& path = options.importPlaylist;
    if (AnotherTunovaRunning()) {
        if (HandOverToRunningCopy(options)) {
            return 0;
        }
        std::fprintf(stderr,
                     "tunova: a player is running and would overwrite the playlist when it ends; "
                     "drop %s onto its playlist, or quit it and import again\n",
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
    const TransferResult imported = AddImportedTracks(playlist, tracks, path);
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

bool WantsPlaylistCommand(const CommandLineOptions& options) {
    return !options.exportPlaylist.empty() || !options.importPlaylist.empty();
}

int RunPlaylistCommand(const CommandLineOptions& options, int argc, char** argv) {
    if (!options.exportPlaylist.empty()) {
        return ExportPlaylist(options);
    }
    return ImportPlaylist(options, argc, argv);
}

}  // namespace tunova
