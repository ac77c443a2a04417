// The main window's painting with the real skin files: composing the six frame strips (with the
// memory they take) and painting the whole background (strips, digits, texts, gauge) at three
// window sizes. The title step's repaint, clipped or not, is measured in bench/window/.
//
// Run headless from the build's bin/ folder (the skin folder lies there).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/frame_strips.h"
#include "app/main_layout.h"
#include "app/player_displays.h"
#include "app/skin_images.h"
#include "app/title_marquee.h"
#include "platform/draw/draw.h"
#include "platform/window/application.h"
#include "platform/window/window.h"

namespace {

const tunova::SkinImages& Skin() {
    static const tunova::SkinImages skin = [] {
        tunova::SkinImages loaded;
        loaded.Load();
        return loaded;
    }();
    return skin;
}

tunova::FrameLayout FrameFor(int width, int height) {
    tunova::LayoutView view;
    view.client = {width, height};
    return tunova::FrameAreas(view);
}

void BM_BuildFrameStrips(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const tunova::FrameLayout frame = FrameFor(width, height);
    plat::Bitmap surface;
    surface.Create(width, height);
    plat::DC dc(surface);
    tunova::FrameStrips strips;
    for (auto _ : state) {
        strips.Build(Skin(), frame, 1, dc);
    }
    state.counters["strip_bytes"] = static_cast<double>(strips.Bytes());
}
BENCHMARK(BM_BuildFrameStrips)
    ->Args({785, 600})
    ->Args({1280, 800})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);

void BM_PaintBackground(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const tunova::FrameLayout frame = FrameFor(width, height);
    plat::Bitmap surface;
    surface.Create(width, height);
    plat::DC dc(surface);
    tunova::FrameStrips strips;
    strips.Build(Skin(), frame, 1, dc);
    plat::Window owner;
    owner.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 10, 10));
    tunova::TitleMarquee marquee(owner, tunova::kTitleRect);
    for (auto _ : state) {
        strips.Paint(dc, frame);
        tunova::DrawTimeDigits(dc, Skin(), "01:02:03");
        tunova::DrawInfoTexts(dc, {"A music video title", "03:45", "30", true}, marquee);
        tunova::DrawVolumeGauge(dc, Skin(), 55);
    }
}
BENCHMARK(BM_PaintBackground)
    ->Args({785, 600})
    ->Args({1280, 800})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    plat::Application app(argc, argv);
    if (Skin().topTile.IsNull()) {
        std::fprintf(stderr, "paint_bench: no skin folder beside the program\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
