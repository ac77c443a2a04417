// Player commands from other starts of the program and from the desktop's media controls: each
// becomes the command the window's own button sends.
#include <string>

#include "app/remote_commands.h"
#include "app/tunova_dlg.h"
#include "platform/core/codepage.h"
#include "platform/desktop/remote_request.h"

namespace tunova {

namespace {

// What a handled command answers; the sender only needs to know it was taken.
constexpr char kTaken[] = "ok";

}  // namespace

void CTunovaDlg::ServeRemoteCommands() {
    // Posted, not sent: the sender is answered at once, and whatever the command shows (a
    // message box for an empty playlist) runs from the window's own loop.
    auto post = [this](int id) {
        PostMessage(plat::kWmCommand, plat::MakeWParam(id, plat::kBnClicked), 0);
    };
    for (const RemoteCommandRow& row : kRemoteCommands) {
        plat::SetRequestHandler(row.name,
                                [post, id = row.command](std::string_view) -> std::string {
                                    post(id);
                                    return kTaken;
                                });
    }
    plat::SetRequestHandler(kRemotePlayPause, [this, post](std::string_view) -> std::string {
        post(PlayPauseCommand(playback_));
        return kTaken;
    });
    plat::SetRequestHandler(
        kRemoteSearch, [this](std::string_view word) -> std::optional<std::string> {
            const std::string_view cut = plat::CutCp949(word, kMaxRemoteSearchBytes);
            if (cut.empty()) {
                return std::nullopt;
            }
            SendCommand(res::kCmdOpenPlayer);
            SearchFor(std::string(cut));
            return kTaken;
        });
}

void CTunovaDlg::StopServingRemoteCommands() {
    for (const RemoteCommandRow& row : kRemoteCommands) {
        plat::SetRequestHandler(row.name, {});
    }
    plat::SetRequestHandler(kRemotePlayPause, {});
    plat::SetRequestHandler(kRemoteSearch, {});
}

void CTunovaDlg::SearchFor(const std::string& cp949) {
    search_.SetSearchWord(cp949);
    PostMessage(plat::kWmCommand, plat::MakeWParam(res::kIdcSearch, plat::kBnClicked), 0);
}

void CTunovaDlg::StartDesktopControls() {
    mediaPanel_.Start();
    mediaPanel_.Refresh();
}

}  // namespace tunova
