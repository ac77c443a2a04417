// Playlist files (M3U, XSPF) dropped onto the playlist view.
#include "app/tunova_dlg.h"
#include "lists/playlist_transfer.h"
#include "platform/codepage.h"
#include "platform/dialog.h"
#include "platform/log.h"

namespace tunova {

void CTunovaDlg::ImportDroppedFiles(const plat::DroppedFiles& dropped) {
    for (const std::string& path : dropped.paths) {
        const TransferResult imported = ImportFile(playlist_, path);
        if (imported) {
            plat::LogInfo("playlist", imported.message);
            continue;
        }
        plat::ShowMessageBox(
            this, "재생목록 파일을 가져오지 못했습니다.\n" + plat::Utf8ToCp949(imported.message),
            kMainWindowTitle, plat::kMbOk | plat::kMbIconExclamation);
    }
}

}  // namespace tunova
