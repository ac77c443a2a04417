// tunova-snapshot OUTPUT_FOLDER: the player's windows as a user sees them, grabbed to PNG files
// in OUTPUT_FOLDER: main.png (the main window with a chart in the result list, a playlist and
// one of its entries playing), mini.png and bigvideo.png (the same window in those views),
// notice.png (the no-connection notice) and settings.png (the settings dialog).
//
// It runs the real window in a private folder against an update server on loopback and the
// manual clock, as the tests do; the chart and the playlist come from their files, and the
// player page is the tests' page that plays on the clock (the video area stays dark: no web
// engine runs).
#include <cstdio>
#include <functional>
#include <string>

#include "app/tunova_dlg.h"
#include "controls/connect_no.h"
#include "lists/daily_chart.h"
#include "lists/list_file.h"
#include "platform/core/clock.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/desktop/settings_store.h"
#include "platform/draw/draw.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "res/resource_ids.h"
#include "res/skin_bitmaps.h"
#include "services/menu_dlg.h"
#include "support/loopback_server.h"
#include "support/scripted_page.h"
#include "support/test_environment.h"
#include "support/test_machine.h"

namespace {

constexpr const char* kChartTitles[] = {
    "아이유 - 좋은 날",
    "빅뱅 - 거짓말",
    "소녀시대 - Gee",
    "원더걸스 - Tell Me",
    "2NE1 - I Don't Care",
    "샤이니 - 누난 너무 예뻐",
    "카라 - 미스터",
    "동방신기 - 주문",
    "브라운 아이드 걸스 - 아브라카다브라",
    "2PM - Again & Again",
    "티아라 - 보핍보핍",
    "애프터스쿨 - 너 때문에",
    "슈퍼주니어 - Sorry, Sorry",
    "씨엔블루 - 외톨이야",
    "포미닛 - Muzik",
    "에픽하이 - 우산",
    "이승기 - 내 여자라니까",
    "백지영 - 총맞은 것처럼",
};
constexpr const char* kPlaylistTitles[] = {
    "아이유 - 좋은 날", "빅뱅 - 거짓말",          "소녀시대 - Gee",
    "에픽하이 - 우산",  "백지영 - 총맞은 것처럼", "씨엔블루 - 외톨이야",
};

// The length of clip `i` of the lists, in seconds.
int ClipSeconds(int i) {
    return 150 + (i * 37) % 150;
}

// A list file of `count` entries cycling through `titles`, entry i linking to clip i.
template <std::size_t N>
std::string ListFile(const char* const (&titles)[N], int count) {
    tunova::ListFileWriter file(count);
    for (int i = 0; i < count; ++i) {
        file.Append(titles[i % N], ClipSeconds(i),
                    "http://www.youtube.com/watch?v=clip" + std::to_string(i));
    }
    return file.Text();
}

bool SavePng(const plat::Bitmap& image, const std::string& path) {
    const std::vector<unsigned char> png = image.EncodePng();
    const bool saved =
        !png.empty() &&
        plat::ReplaceFile(path, std::string(reinterpret_cast<const char*>(png.data()), png.size()));
    std::printf("%s %s\n", saved ? "wrote" : "could not write", path.c_str());
    return saved;
}

bool Grab(plat::Window& window, const std::string& path) {
    plat::Application::ProcessEvents();
    return SavePng(plat::testing::GrabWindow(window), path);
}

// Runs `dialog` modally and grabs it once it is on screen.
bool GrabDialog(plat::Dialog& dialog, const std::string& path) {
    bool saved = false;
    plat::testing::RunSoon([&] {
        saved = Grab(dialog, path);
        dialog.EndDialog(plat::kIdCancel);
    });
    dialog.DoModal();
    return saved;
}

// The main window in its three views, filled from the chart and playlist files, with the
// playlist's second entry playing for 77 seconds on the player page that runs on the clock.
bool GrabMainWindow(const std::string& out, plat::ManualClock& clock) {
    bool ok = true;
    tunova::testing::FakePlayerPage page;
    for (int i = 0; i < 50; ++i) {
        page.lengths["clip" + std::to_string(i)] = ClipSeconds(i);
    }
    tunova::CTunovaDlg dlg({tunova::LoadHosts(), tunova::testing::TestMachine(clock)}, &page);
    plat::testing::RunSoon([&] {
        clock.Advance(tunova::res::kTimerUpdaterWait.periodMs +
                      tunova::res::kTimerShowWindow.periodMs);
        clock.Advance(tunova::res::kTimerPageProbe.periodMs +
                      tunova::res::kTimerPageReady.periodMs);
        if (!dlg.IsVisible() || !dlg.Playback().pageReady) {
            std::fprintf(stderr, "tunova-snapshot: the main window did not come on screen\n");
            ok = false;
            dlg.SendCommand(plat::kIdCancel);
            return;
        }
        dlg.Sequencer().PlayPlaylistRow(1);
        clock.Advance(tunova::res::kTimerVolumeRestore.periodMs);
        dlg.VolumeSlider().SetPosition(70);
        dlg.SendMessage(tunova::res::kWmSliderMoving, tunova::res::kIdcVolumeSlider, 70);
        clock.Advance(77000 - tunova::res::kTimerVolumeRestore.periodMs);
        dlg.ResultList().SetItemState(2, plat::kLvisSelected, plat::kLvisSelected);
        ok = Grab(dlg, out + "/main.png") && ok;
        dlg.SendCommand(tunova::res::kIdcMiniSize);
        ok = Grab(dlg, out + "/mini.png") && ok;
        dlg.SendCommand(tunova::res::kIdcNormalSize);
        dlg.SendCommand(tunova::res::kIdcBigVideo);
        ok = dlg.Modes().Layout().bigVideo && ok;
        ok = Grab(dlg, out + "/bigvideo.png") && ok;
        dlg.SendCommand(plat::kIdCancel);
    });
    dlg.DoModal();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tunova-snapshot OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string out = argv[1];
    if (!plat::MakeFolders(out, 0755)) {
        std::fprintf(stderr, "tunova-snapshot: cannot make %s\n", out.c_str());
        return 1;
    }
    tunova::testing::SetUpTestEnvironment();
    bool ok = true;
    {
        plat::Application app(argc, argv);
        tunova::res::RegisterSkinResources();
        plat::ManualClock clock;
        plat::InstallClock(&clock);

        // An installed player whose update server answers, with today's chart cached.
        tunova::testing::LoopbackServer updateServer;
        updateServer.SetHandler([](const tunova::testing::ServerRequest& request) {
            tunova::testing::ServerReply reply;
            reply.contentType = "text/plain";
            reply.body = request.target == "/update/player_ver.php" ? "1" : "ok\n";
            return reply;
        });
        tunova::testing::UseHost(updateServer.Host());
        plat::SettingsKey::Open("SOFTWARE\\tunova").WriteString("tunova_ver", "1");
        const plat::LocalDate today = clock.Now();
        char day[8];
        std::snprintf(day, sizeof day, "%02d%02d%02d", today.year % 100, today.month, today.day);
        plat::SettingsKey::Open(tunova::kChartDayKey).WriteString(tunova::kChartDayValue, day);
        plat::ReplaceFile(plat::DataFile(tunova::kChartFileName), ListFile(kChartTitles, 50));
        plat::ReplaceFile(plat::DataFile(tunova::kPlaylistFileName), ListFile(kPlaylistTitles, 6));

        ok = GrabMainWindow(out, clock) && ok;
        tunova::CConnectNo notice(nullptr);
        ok = GrabDialog(notice, out + "/notice.png") && ok;
        bool doubleClickAdds = false;
        tunova::CMenuDlg settings(doubleClickAdds, "/usr/bin/tunova",
                                  tunova::testing::TestMachine(clock).settings);
        ok = GrabDialog(settings, out + "/settings.png") && ok;

        tunova::testing::UseHost(tunova::testing::kNoHost);
        plat::InstallClock(nullptr);
    }
    tunova::testing::TearDownTestEnvironment();
    return ok ? 0 : 1;
}
