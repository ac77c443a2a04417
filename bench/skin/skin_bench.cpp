// The skin's costs: drawing every image (the build step), the bytes the images add to the
// program and the memory they take decoded, and repainting the visible rows of a 5,000-row
// result list scrolled to the middle, painted by the skinned list itself.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "controls/skin_list.h"
#include "platform/controls/controls.h"
#include "platform/draw/draw.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "res/skin_bitmaps.h"
#include "search/result_list.h"
#include "tools/skingen/generate.h"

namespace {

void BM_DrawWholeSkin(benchmark::State& state) {
    const std::string dir = std::filesystem::temp_directory_path() / "tunova-skin-bench";
    for (auto _ : state) {
        skingen::Totals totals;
        std::string error;
        if (!skingen::GenerateSkin({dir + "/skin", dir + "/skin.cpp", "", ""}, &totals, &error)) {
            state.SkipWithError(error.c_str());
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DrawWholeSkin)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadEveryBitmap(benchmark::State& state) {
    std::size_t decoded1x = 0, decoded2x = 0;
    for (auto _ : state) {
        decoded1x = decoded2x = 0;
        for (const tunova::res::SkinBitmap& entry : tunova::res::SkinBitmaps()) {
            plat::Bitmap b;
            b.LoadResource(entry.id);
            decoded1x += static_cast<std::size_t>(b.Width()) * b.Height() * 4;
            const plat::Bitmap twice = b.HighDensity();
            decoded2x += static_cast<std::size_t>(twice.Width()) * twice.Height() * 4;
        }
    }
    // The skin files the main window loads (frame pieces, panel, digits, gauge), decoded.
    std::size_t files1x = 0, files2x = 0;
    for (const tunova::res::SkinFile& file : tunova::res::SkinFiles()) {
        plat::Bitmap b;
        b.LoadFile(tunova::res::SkinFilePath(file.name));
        files1x += static_cast<std::size_t>(b.Width()) * b.Height() * 4;
        const plat::Bitmap twice = b.HighDensity();
        files2x += static_cast<std::size_t>(twice.Width()) * twice.Height() * 4;
    }
    state.counters["skin_files_1x_bytes"] = static_cast<double>(files1x);
    state.counters["skin_files_2x_bytes"] = static_cast<double>(files2x);
    state.counters["encoded_1x_bytes"] = static_cast<double>(tunova::res::SkinResourceBytes(false));
    state.counters["encoded_2x_bytes"] = static_cast<double>(tunova::res::SkinResourceBytes(true));
    state.counters["decoded_1x_bytes"] = static_cast<double>(decoded1x);
    state.counters["decoded_2x_bytes"] = static_cast<double>(decoded2x);
}
BENCHMARK(BM_LoadEveryBitmap)->Unit(benchmark::kMillisecond);

// The player's own result list: set up as the search sets it up, painted by CSkinList in its
// results mode, 5,000 rows with titles of a realistic length, scrolled to the middle. Each
// iteration repaints the whole list at once (UpdateNow with nothing marked: every visible row).
void BM_RepaintResultList5000Middle(benchmark::State& state) {
    plat::Window dialog;
    dialog.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 785, 600));
    tunova::CSkinList list;
    list.Create(&dialog, tunova::res::kIdcResultList, plat::Rect::FromXYWH(5, 224, 760, 350));
    plat::ImageList images;
    tunova::SetupResultList(list, images);
    list.SetColumnWidth(1, 760 - 233);
    list.SetPaintMode(tunova::CSkinList::kResults);
    for (int i = 0; i < 5000; ++i) {
        const int row = list.InsertItem(i, std::to_string(i + 1));
        list.SetItemText(
            row, 1,
            "\xbe\xc6\xc0\xcc\xc0\xaf - A fairly long music video title " + std::to_string(i));
        list.SetItemText(row, 2, "03:45");
        list.SetItemImage(row, 3, 0);
    }
    list.AttachScrollBar();
    dialog.Show(true);
    plat::Application::ProcessEvents();
    list.Scroll(2500 * list.RowHeight());
    list.SetItemState(2505, plat::kLvisSelected, plat::kLvisSelected);
    plat::Application::ProcessEvents();
    // The pointer rests on a row's add picture, so each paint also draws the hover picture and
    // counts itself: the counter below shows that every iteration painted the rows.
    plat::testing::MouseMove(list, {700, list.ItemRect(2510).top + 5});
    const int paintsBefore = list.HoverPaints();
    for (auto _ : state) {
        list.UpdateNow();
    }
    state.counters["paints_per_iteration"] =
        static_cast<double>(list.HoverPaints() - paintsBefore) /
        static_cast<double>(state.iterations());
    state.counters["rows_visible"] = list.CountPerPage();
    state.counters["top_row"] = list.ScrollPosition();
}
BENCHMARK(BM_RepaintResultList5000Middle)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    plat::Application app(argc, argv);
    tunova::res::RegisterSkinResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
