// A bare page for comparison with the player's page engine: one QWebEngineView of the given size
// showing nothing but an autoplaying HTML5 video of ADDRESS, with none of the player around it.
// Prints the CPU of this process and of the web engine's processes over SECONDS, and their
// resident memory (run-engine-bench.sh). A program of its own, so that the player's benchmark
// does not carry the web engine's libraries when it plays on the mpv engine.
//
// usage: bare_page_bench ADDRESS WIDTH HEIGHT SECONDS
#include <QString>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "bench/support/pump_events.h"
#include "platform/window/application.h"
#include "process_usage.h"

namespace {

using namespace tunova::bench;
using tunova::support::PumpUntil;

void PumpFor(double ms) {
    PumpUntil([] { return false; }, static_cast<long long>(ms));
}

bool Run(const std::string& address, int width, int height, double seconds) {
    QWebEngineView view;
    view.page()->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    view.resize(width, height);
    const QString html = QStringLiteral(
                             "<html><body style='margin:0;background:#000;overflow:hidden'>"
                             "<video style='width:100vw;height:100vh' autoplay src='%1' "
                             "onplaying=\"document.title='playing'\"></video></body></html>")
                             .arg(QString::fromStdString(address));
    view.setHtml(html, QUrl(QString::fromStdString(address)));
    view.show();
    if (!PumpUntil([&] { return view.title() == QStringLiteral("playing"); }, 30000)) {
        std::fprintf(stderr, "bare_page_bench: the bare page never played %s\n", address.c_str());
        return false;
    }
    PumpFor(1000);
    const std::map<int, double> helpersBefore = DescendantCpu();
    const double selfBefore = SelfCpuSeconds();
    const double start = NowMs();
    PumpFor(seconds * 1000.0);
    const double wall = (NowMs() - start) / 1000.0;
    double helpers = 0;
    for (const auto& [pid, after] : DescendantCpu()) {
        const auto it = helpersBefore.find(pid);
        helpers += after - (it == helpersBefore.end() ? 0.0 : it->second);
    }
    const double self = SelfCpuSeconds() - selfBefore;
    std::printf(
        "bare page, %dx%d: total %.1f %% of one core (process %.1f %%, web engine %.1f %%), "
        "resident %.0f MB\n",
        width, height, 100.0 * (self + helpers) / wall, 100.0 * self / wall, 100.0 * helpers / wall,
        ResidentMb());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: bare_page_bench ADDRESS WIDTH HEIGHT SECONDS\n");
        return 2;
    }
    plat::Application application(argc, argv, {.openGl = true});
    return Run(argv[1], std::atoi(argv[2]), std::atoi(argv[3]), std::atof(argv[4])) ? 0 : 1;
}
