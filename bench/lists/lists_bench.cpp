// A full playlist (500 entries, 200-byte Korean titles) read from and written to playlist.ini,
// and the start-up step of a cached chart: reading today50.ini (50 entries) into the result
// store and filling the result list. Times are per whole operation, in microseconds.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "lists/daily_chart.h"
#include "lists/list_file.h"
#include "lists/playlist.h"
#include "platform/controls/controls.h"
#include "platform/core/profile.h"
#include "platform/desktop/machine_services.h"
#include "platform/window/application.h"
#include "platform/window/window.h"
#include "res/resource_ids.h"
#include "search/result_list.h"
#include "search/result_store.h"

namespace {

// A CP949 title of exactly `bytes` bytes of Hangul syllables (two bytes each), varied by `seed`.
std::string KoreanTitle(int seed, int bytes) {
    std::string title;
    for (int i = 0; static_cast<int>(title.size()) + 2 <= bytes; ++i) {
        const int syllable = (seed * 31 + i * 7) % (0xC8 - 0xB0 + 1) * 94 + (seed + i) % 94;
        title += static_cast<char>(0xB0 + syllable / 94);
        title += static_cast<char>(0xA1 + syllable % 94);
    }
    return title;
}

std::string ListFileOf(int entries, int titleBytes) {
    tunova::ListFileWriter writer(entries);
    for (int i = 0; i < entries; ++i) {
        writer.Append(KoreanTitle(i, titleBytes), 180 + i,
                      "http://www.youtube.com/watch?v=vid" + std::to_string(i) +
                          "&amp;feature=youtube_gdata");
    }
    return writer.Text();
}

std::string Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/tunova-lists-bench-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The playlist view in a window, as the main window holds it.
struct PlaylistWindow {
    PlaylistWindow() {
        owner.Create(nullptr, 102, plat::Rect::FromXYWH(0, 0, 785, 600), 0);
        view.Create(&owner, tunova::res::kIdcPlaylist, plat::Rect::FromXYWH(400, 31, 365, 116));
        playlist.Bind(view);
        playlist.SetupView();
    }
    plat::Window owner;
    tunova::CSkinList view;
    tunova::Playlist playlist;
};

void BM_PlaylistLoad500(benchmark::State& state) {
    const std::string path = Folder() + "/playlist.ini";
    WriteFile(path, ListFileOf(500, 200));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<PlaylistWindow>();
        state.ResumeTiming();
        window->playlist.Load(path);
        benchmark::DoNotOptimize(window->view.ItemCount());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    state.SetLabel("500 entries, 200-byte titles");
}
BENCHMARK(BM_PlaylistLoad500)->Unit(benchmark::kMicrosecond);

// The file alone: reading and parsing it, then the 500 entries' values.
void BM_ListFileRead500(benchmark::State& state) {
    const std::string path = Folder() + "/playlist.ini";
    WriteFile(path, ListFileOf(500, 200));
    for (auto _ : state) {
        const plat::Profile file = plat::Profile::FromFile(path);
        benchmark::DoNotOptimize(tunova::ReadListFileRows(file, 500));
    }
}
BENCHMARK(BM_ListFileRead500)->Unit(benchmark::kMicrosecond);

void BM_PlaylistSave500(benchmark::State& state) {
    const std::string path = Folder() + "/playlist.ini";
    WriteFile(path, ListFileOf(500, 200));
    PlaylistWindow window;
    window.playlist.Load(path);
    for (auto _ : state) {
        benchmark::DoNotOptimize(window.playlist.Save(path));
    }
    state.SetLabel("text, then replace with flushes");
}
BENCHMARK(BM_PlaylistSave500)->Unit(benchmark::kMicrosecond);

void BM_PlaylistFileText500(benchmark::State& state) {
    const std::string path = Folder() + "/playlist.ini";
    WriteFile(path, ListFileOf(500, 200));
    PlaylistWindow window;
    window.playlist.Load(path);
    for (auto _ : state) {
        benchmark::DoNotOptimize(window.playlist.FileText());
    }
}
BENCHMARK(BM_PlaylistFileText500)->Unit(benchmark::kMicrosecond);

void BM_StartupCachedChart50(benchmark::State& state) {
    const std::string path = Folder() + "/today50.ini";
    WriteFile(path, ListFileOf(50, 100));
    plat::Window owner;
    owner.Create(nullptr, 102, plat::Rect::FromXYWH(0, 0, 785, 600), 0);
    plat::ListView results;
    results.Create(&owner, tunova::res::kIdcResultList, plat::Rect::FromXYWH(0, 160, 780, 300));
    plat::ImageList images;
    tunova::SetupResultList(results, images);
    for (auto _ : state) {
        tunova::ResultStore store;
        tunova::LoadChartCache(path, store);
        tunova::FillChartList(store, results);
        benchmark::DoNotOptimize(results.ItemCount());
    }
    state.SetLabel("read 50 entries, fill 50 rows");
}
BENCHMARK(BM_StartupCachedChart50)->Unit(benchmark::kMicrosecond);

// The whole start-up step as the main window runs it on a day whose chart is cached: the day
// check against `downday` in the settings store (read under its lock), then the cache read and
// the 50 rows.
void BM_StartupCachedChartWithDayCheck(benchmark::State& state) {
    const std::string path = Folder() + "/today50.ini";
    WriteFile(path, ListFileOf(50, 100));
    ::setenv("XDG_CONFIG_HOME", (Folder() + "/config").c_str(), 1);
    const plat::LocalDate today{2026, 12, 8};
    const plat::MachineServices machine = plat::ThisMachine();
    machine.settings.Open(tunova::kChartDayKey)
        .WriteString(tunova::kChartDayValue, tunova::ChartDayText(today));
    plat::Window owner;
    owner.Create(nullptr, 102, plat::Rect::FromXYWH(0, 0, 785, 600), 0);
    plat::ListView results;
    results.Create(&owner, tunova::res::kIdcResultList, plat::Rect::FromXYWH(0, 160, 780, 300));
    plat::ImageList images;
    tunova::SetupResultList(results, images);
    tunova::ChartSetup setup;
    setup.chartPath = path;
    setup.today = today;
    for (auto _ : state) {
        tunova::ResultStore store;
        if (tunova::ShowDailyChart(machine, setup, store, results) != tunova::ChartSource::kCache) {
            state.SkipWithError("the cache was not current");
            break;
        }
        benchmark::DoNotOptimize(results.ItemCount());
    }
    state.SetLabel("downday check, read 50 entries, fill 50 rows");
}
BENCHMARK(BM_StartupCachedChartWithDayCheck)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    plat::Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const std::string cleanup = "rm -rf '" + Folder() + "'";
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
