// Playlist files (M3U, XSPF) dropped onto the playlist view, and the exports and imports other
// starts of the program hand to this one (app/playlist_command.h).
#include <optional>
#include <string>
#include <string_view>

#include "app/playlist_command.h"
#include "app/tunova_dlg.h"
#include "lists/library_lookup.h"
#include "lists/playlist_transfer.h"
#include "platform/core/codepage.h"
#include "platform/core/log.h"
#include "platform/desktop/remote_request.h"
#include "platform/window/dialog.h"
#include "services/host_config.h"

namespace tunova {

void CTunovaDlg::ImportDroppedFiles(const plat::DroppedFiles& dropped) {
    LibraryLookup library(machine_, hosts_.feedHost);
    for (const std::string& path : dropped.paths) {
        const TransferResult imported = ImportFile(playlist_, path, library);
        plat::LogInfo("playlist", imported.message);
        if (!imported) {
            plat::ShowMessageBox(
                this,
                "재생목록 파일을 가져오지 못했습니다.\n" + plat::Utf8ToCp949(imported.message),
                kMainWindowTitle, plat::kMbOk | plat::kMbIconExclamation);
        } else if (imported.skipped > 0) {
            // What was left out would otherwise go unnoticed.
            plat::ShowMessageBox(this,
                                 "재생목록 파일의 일부 항목을 찾지 못했습니다.\n" +
                                     plat::Utf8ToCp949(imported.message),
                                 kMainWindowTitle, plat::kMbOk | plat::kMbIconInformation);
        }
    }
}

void CTunovaDlg::ServePlaylistRequests() {
    // The path comes from the root; the answer carries the outcome back to be printed there.
    plat::SetRequestHandler(
        kExportPlaylistRequest, [this](std::string_view path) -> std::optional<std::string> {
            if (!path.starts_with('/')) {
                return std::nullopt;
            }
            return PlaylistRequestAnswer(
                ExportTracks(TracksOf(playlist_), std::string(path), hosts_.feedHost));
        });
    // As a dropped file is imported, without the message box: the other start prints the outcome.
    plat::SetRequestHandler(
        kImportPlaylistRequest, [this](std::string_view path) -> std::optional<std::string> {
            if (!path.starts_with('/')) {
                return std::nullopt;
            }
            LibraryLookup library(machine_, hosts_.feedHost);
            const TransferResult imported = ImportFile(playlist_, std::string(path), library);
            plat::LogInfo("playlist", imported.message);
            return PlaylistRequestAnswer(imported);
        });
}

void CTunovaDlg::StopServingPlaylistRequests() {
    plat::SetRequestHandler(kExportPlaylistRequest, {});
    plat::SetRequestHandler(kImportPlaylistRequest, {});
}

}  // namespace tunova
