// Playback through the real main window and the real player page against tunova-server:
// - the round trip of the current-time call on the page, idle and while a video plays
//   (median and 99th percentile of 2000 calls);
// - from a double-click on a result row to the page reporting state 1 (five rows, each timed by
//   asking the page for its state every millisecond);
// - the CPU time of this process alone and of the web engine's processes (the renderer and its
//   helpers, every descendant of this process) while the playlist plays, over SECONDS each in
//   the normal and in the big-video view, and paused in the big-video view; before that, idle
//   with the page loaded and the playlist empty.
// - from navigation to the page's first ready answer ("testAlert()" answering 1, asked every
//   millisecond), for the first page of the process (the web engine starting) and a second one.
// - with --clip, one video on the engine tunova.conf names: double-click to state 1, the round
//   trip while it plays, and CPU and resident memory (the player and its helper processes) over
//   SECONDS in the normal and in the big-video view (run-engine-bench.sh).
//
// usage: playback_bench WORD [SECONDS]   (WORD finds at least five videos, the first ten of
//        which make the playlist; SECONDS defaults to 60)
//        playback_bench --clip WORD SECONDS   (WORD finds the one video to play)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "app/player_engine.h"
#include "app/tunova_dlg.h"
#include "bench/support/pump_events.h"
#include "platform/core/allocator.h"
#include "platform/core/codepage.h"
#include "platform/core/data_dir.h"
#include "platform/core/log.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "playback/web_browser.h"
#include "process_usage.h"

namespace {

using namespace tunova::bench;
using tunova::support::PumpUntil;

void PumpFor(double ms) {
    PumpUntil([] { return false; }, static_cast<long long>(ms));
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(
        values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())));
    return values[at];
}

void RoundTrips(tunova::CTunovaDlg& window, const char* label) {
    std::vector<double> times;
    for (int i = 0; i < 2000; ++i) {
        const double start = NowMs();
        window.Page().CallFunction("getCurrentTime", {});
        times.push_back(NowMs() - start);
        if (i % 100 == 99) {
            plat::Application::ProcessEvents();
        }
    }
    std::printf("round trip getCurrentTime (%s): median %.3f ms  p99 %.3f ms  (%zu calls)\n", label,
                Percentile(times, 0.5), Percentile(times, 0.99), times.size());
}

int PlayerState(tunova::CTunovaDlg& window) {
    const plat::ScriptCallResult result = window.Page().CallFunction("getPlayerState", {});
    return result && result.value.type == plat::ScriptValue::Type::kInt ? result.value.intValue
                                                                        : -99;
}

void MeasureCpu(tunova::CTunovaDlg& window, double seconds, const char* label) {
    const std::map<int, double> enginesBefore = DescendantCpu();
    const double selfBefore = SelfCpuSeconds();
    const ThreadCpu threadsBefore = SelfThreadCpu();
    const double start = NowMs();
    plat::testing::RunEventLoopFor(static_cast<int>(seconds * 1000.0));
    const double wall = (NowMs() - start) / 1000.0;
    const double self = SelfCpuSeconds() - selfBefore;
    const ThreadCpu threads = SelfThreadCpu();
    double engines = 0;
    for (const auto& [pid, after] : DescendantCpu()) {
        const auto it = enginesBefore.find(pid);
        engines += after - (it == enginesBefore.end() ? 0.0 : it->second);
    }
    std::printf(
        "cpu over %.1f s (%s): player %.2f %% of one core, web engine %.2f %%; "
        "now playing \"%s\" at %s\n",
        wall, label, 100.0 * self / wall, 100.0 * engines / wall,
        plat::Cp949ToUtf8(window.Playback().nowPlayingTitle).c_str(),
        window.Playback().currentTimeText.c_str());
    std::printf(
        "    the player's threads: main %.2f %%, web engine compositor %.2f %%, others %.2f %%\n",
        100.0 * (threads.main - threadsBefore.main) / wall,
        100.0 * (threads.compositor - threadsBefore.compositor) / wall,
        100.0 * (threads.other - threadsBefore.other) / wall);
    const plat::Rect area = window.Page().VideoWindow().ClientRect();
    std::printf("    total %.1f %% of one core, resident %.0f MB, video area %dx%d\n",
                100.0 * (self + engines) / wall, ResidentMb(), area.Width(), area.Height());
}

// Loads the player page in a browser control of its own and times navigation to the page's
// first answer of 1 to "testAlert()"; negative when it never answers.
double NavigationToReady(const char* label, const std::string& feedHost) {
    plat::Window host;
    host.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 480, 270));
    host.Show(true);
    tunova::CWebBrowser2 browser;
    browser.CreateControl(&host, tunova::res::kIdcBrowser);
    browser.Move(plat::Rect::FromXYWH(0, 0, 480, 270));
    const double start = NowMs();
    if (!browser.LoadPlayerPage(plat::DataDir(), feedHost)) {
        std::fprintf(stderr, "playback_bench: no player page in %s\n", plat::DataDir().c_str());
        return -1;
    }
    const bool ready = PumpUntil(
        [&] {
            const plat::ScriptCallResult answer = browser.CallFunction("testAlert", {});
            return answer && answer.value.type == plat::ScriptValue::Type::kInt &&
                   answer.value.intValue == 1;
        },
        30000);
    const double elapsed = NowMs() - start;
    host.Destroy();
    if (!ready) {
        return -1;
    }
    std::printf("navigation to the first ready answer (%s): %.1f ms\n", label, elapsed);
    return elapsed;
}

bool Run(tunova::CTunovaDlg& window, const std::string& word, double seconds) {
    if (!PumpUntil([&] { return window.Playback().pageReady; }, 60000)) {
        std::fprintf(stderr, "playback_bench: the page never became ready\n");
        return false;
    }
    MeasureCpu(window, seconds, "idle, nothing played yet, empty playlist");
    RoundTrips(window, "idle");

    window.SearchEdit().SetFocus();
    plat::testing::TypeText(window.SearchEdit(), word);
    plat::testing::PressKey(window.SearchEdit(), plat::kVkReturn);
    if (!PumpUntil([&] { return !window.Search().IsSearchRunning(); }, 10000) ||
        window.ResultList().ItemCount() < 5) {
        std::fprintf(stderr, "playback_bench: \"%s\" found fewer than five videos\n", word.c_str());
        return false;
    }
    std::vector<double> starts;
    for (int row = 0; row < 5; ++row) {
        const plat::Rect rect = window.ResultList().ItemRect(row);
        window.ResultList().EnsureVisible(row);
        const double clicked = NowMs();
        plat::Trace("double-click");
        plat::testing::MouseDoubleClick(window.ResultList(),
                                        {rect.left + 60, (rect.top + rect.bottom) / 2});
        if (!PumpUntil([&] { return PlayerState(window) == 1; }, 10000)) {
            const plat::ScriptCallResult last = window.Page().CallFunction("getPlayerState", {});
            const auto* browser = dynamic_cast<const tunova::CWebBrowser2*>(&window.Page());
            std::fprintf(stderr,
                         "playback_bench: row %d never played (last call: status %d, state %d; "
                         "call outstanding %d, renderer deaths %d)\n",
                         row, static_cast<int>(last.status), last.value.intValue,
                         browser != nullptr && browser->CallOutstanding() ? 1 : 0,
                         browser != nullptr ? browser->RendererDeaths() : 0);
            return false;
        }
        starts.push_back(NowMs() - clicked);
        std::printf("double-click to state 1, row %d: %.1f ms\n", row, starts.back());
        PumpFor(1500);
    }
    std::printf("double-click to state 1: median %.1f ms  max %.1f ms\n", Percentile(starts, 0.5),
                Percentile(starts, 1.0));
    RoundTrips(window, "playing");

    // The first ten results into the playlist, played from its first row in mode all; then the
    // big-video view.
    tunova::Playlist& playlist = window.PlaylistEntries();
    for (int row = 0; row < 10 && row < window.ResultList().ItemCount(); ++row) {
        playlist.AddResult(row, window.ResultList(), window.Search().Results(),
                           tunova::AddVariant::kClick);
    }
    window.PlaylistView().SetItemState(-1, 0, plat::kLvisSelected);
    window.SendCommand(tunova::res::kIdcPlay);
    if (!PumpUntil([&] { return window.Playback().currentEntryNumber != -1; }, 5000)) {
        std::fprintf(stderr, "playback_bench: the playlist did not start (is it empty?)\n");
        return false;
    }
    MeasureCpu(window, seconds, "normal view");
    const plat::Rect video = window.Page().VideoWindow().ClientRect();
    plat::testing::MouseDoubleClick(window.Page().VideoWindow(),
                                    {video.Width() / 2, video.Height() / 2});
    PumpFor(500);
    MeasureCpu(window, seconds, "big-video view");
    // The same view with the video paused: what the player's own timers, page polls and painting
    // cost without video frames to show.
    window.SendCommand(tunova::res::kIdcPause);
    PumpFor(500);
    MeasureCpu(window, seconds, "big-video view, paused");
    return true;
}

// One video on the configured engine: double-click to playing, round trips, CPU and memory in
// both views.
bool RunClip(tunova::CTunovaDlg& window, const std::string& word, double seconds) {
    if (!PumpUntil([&] { return window.Playback().pageReady; }, 60000)) {
        std::fprintf(stderr, "playback_bench: the engine never became ready\n");
        return false;
    }
    window.SearchEdit().SetFocus();
    plat::testing::TypeText(window.SearchEdit(), word);
    plat::testing::PressKey(window.SearchEdit(), plat::kVkReturn);
    if (!PumpUntil([&] { return !window.Search().IsSearchRunning(); }, 10000) ||
        window.ResultList().ItemCount() < 1) {
        std::fprintf(stderr, "playback_bench: \"%s\" found nothing\n", word.c_str());
        return false;
    }
    const plat::Rect rect = window.ResultList().ItemRect(0);
    const double clicked = NowMs();
    plat::testing::MouseDoubleClick(window.ResultList(),
                                    {rect.left + 60, (rect.top + rect.bottom) / 2});
    if (!PumpUntil([&] { return PlayerState(window) == 1; }, 20000)) {
        std::fprintf(stderr, "playback_bench: \"%s\" never played\n", word.c_str());
        return false;
    }
    std::printf("double-click to state 1: %.1f ms\n", NowMs() - clicked);
    PumpFor(1000);
    RoundTrips(window, "playing");
    MeasureCpu(window, seconds, "normal view");
    const plat::Rect video = window.Page().VideoWindow().ClientRect();
    plat::testing::MouseDoubleClick(window.Page().VideoWindow(),
                                    {video.Width() / 2, video.Height() / 2});
    PumpFor(1000);
    MeasureCpu(window, seconds, "big-video view");
    // The video as large as the screen lets it be: big video in the maximised window.
    window.SendCommand(tunova::res::kIdcMaximize);
    PumpFor(1000);
    MeasureCpu(window, seconds, "big-video view, maximised");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: playback_bench WORD [SECONDS] | --clip WORD SECONDS\n");
        return 2;
    }
    plat::Trace(plat::kTraceProcessStart);
    plat::ReturnLargeBlocksWhenFreed();
    const tunova::AppServices services = tunova::LoadAppServices();
    // A clip plays on the configured engine, started as the player starts it.
    const bool openGl =
        std::string(argv[1]) != "--clip" ||
        tunova::PlayerEngineNeedsOpenGl(services.hosts.playerEngine, services.hosts.mpvRender);
    plat::Application application(argc, argv, {.openGl = openGl});
    if (std::string(argv[1]) == "--clip" && argc > 3) {
        tunova::CTunovaDlg window(services);
        bool ok = false;
        plat::testing::RunSoon([&] {
            ok = RunClip(window, argv[2], std::atof(argv[3]));
            window.SendCommand(plat::kIdCancel);
        });
        window.DoModal();
        return ok ? 0 : 1;
    }
    const std::string word = argv[1];
    const double seconds = argc > 2 ? std::atof(argv[2]) : 60.0;
    if (NavigationToReady("first page, the engine starting", services.hosts.feedHost) < 0 ||
        NavigationToReady("second page", services.hosts.feedHost) < 0) {
        return 1;
    }
    tunova::CTunovaDlg window(services);
    bool ok = false;
    plat::testing::RunSoon([&] {
        ok = Run(window, word, seconds);
        window.SendCommand(plat::kIdCancel);
    });
    window.DoModal();
    return ok ? 0 : 1;
}
