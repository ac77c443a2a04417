// What one step of the scrolling title costs to repaint on a window of 785 x 600, 1280 x 800 and
// 1920 x 1080 painted as the main window paints itself: the six frame strips composed from the
// skin files and copied, then the time digits, the texts (the title placed by the marquee) and
// the volume gauge drawn on top.
//
// - BM_TitleStepRepaint: the marquee's step timer (two pixels left, only the title's rectangle
//   marked) and UpdateNow: the paint is clipped to the update region.
// - BM_TitleStepWholeRepaint: the same step with the whole window marked, what every step cost
//   while each repaint redrew the whole window.
// - BM_PaintBackground/clipped and /unclipped: the background painting alone on an off-screen
//   surface, clipped to the title's rectangle or not: the part the update region saves.
//
// Run headless from the build's bin/ folder (the skin folder lies there):
//   QT_QPA_PLATFORM=offscreen build-release/bin/repaint_bench
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

using plat::DC;
using plat::Rect;

const tunova::SkinImages& Skin() {
    static const tunova::SkinImages skin = [] {
        tunova::SkinImages loaded;
        loaded.Load();
        return loaded;
    }();
    return skin;
}

constexpr char kLongTitle[] = "A music video title long enough to scroll across its rectangle";

// The main window's erase: strips, digits, texts, gauge.
void PaintBackground(DC& dc, tunova::FrameStrips& strips, const tunova::FrameLayout& frame,
                     tunova::TitleMarquee& marquee) {
    if (!strips.BuiltFor(frame, dc)) {
        strips.Build(Skin(), frame, 1, dc);
    }
    strips.Paint(dc, frame);
    tunova::DrawTimeDigits(dc, Skin(), "00:01:17");
    tunova::DrawInfoTexts(dc, {kLongTitle, "03:54", "50", true}, marquee);
    tunova::DrawVolumeGauge(dc, Skin(), 70);
}

class PaintedWindow {
  public:
    PaintedWindow(int w, int h)
        : frame_(tunova::FrameAreas({{w, h}})), marquee_(window_, tunova::kTitleRect) {
        window_.Messages().OnMessage(plat::kWmEraseBkgnd, [this](plat::WParam, plat::LParam) {
            if (DC* dc = DC::ForPaint(window_)) {
                PaintBackground(*dc, strips_, frame_, marquee_);
            }
            return plat::LResult{1};
        });
        window_.Create(nullptr, 0, Rect::FromXYWH(0, 0, w, h),
                       plat::kStylePopup | plat::kStyleVisible);
        window_.Invalidate();
        window_.UpdateNow();
        plat::Application::ProcessEvents();
    }
    plat::Window& Window() { return window_; }
    tunova::TitleMarquee& Marquee() { return marquee_; }

  private:
    tunova::FrameLayout frame_;
    tunova::FrameStrips strips_;
    plat::Window window_;
    tunova::TitleMarquee marquee_;
};

const int kSizes[][2] = {{785, 600}, {1280, 800}, {1920, 1080}};

// One step of the title: two pixels left; every 40 steps the title starts over from the left,
// so the steps keep drawing the title inside its rectangle.
void Step(tunova::TitleMarquee& marquee, int& steps) {
    if (++steps % 40 == 0) {
        marquee.Reset();
    }
    marquee.OnStepTimer();
}

std::string SizeLabel(int index) {
    return std::to_string(kSizes[index][0]) + "x" + std::to_string(kSizes[index][1]);
}

void BM_TitleStepRepaint(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    PaintedWindow painted(kSizes[size][0], kSizes[size][1]);
    int steps = 0;
    for (auto _ : state) {
        Step(painted.Marquee(), steps);
        painted.Window().UpdateNow();
    }
    state.SetLabel(SizeLabel(size));
}

void BM_TitleStepWholeRepaint(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    PaintedWindow painted(kSizes[size][0], kSizes[size][1]);
    int steps = 0;
    for (auto _ : state) {
        Step(painted.Marquee(), steps);
        painted.Window().Invalidate();
        painted.Window().UpdateNow();
    }
    state.SetLabel(SizeLabel(size));
}

void BM_PaintBackground(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const bool clipped = state.range(1) != 0;
    const int w = kSizes[size][0];
    const int h = kSizes[size][1];
    const tunova::FrameLayout frame = tunova::FrameAreas({{w, h}});
    plat::Window owner;
    owner.Create(nullptr, 0, Rect::FromXYWH(0, 0, 10, 10));
    tunova::TitleMarquee marquee(owner, tunova::kTitleRect);
    tunova::FrameStrips strips;
    plat::Bitmap surface;
    surface.Create(w, h);
    int steps = 0;
    for (auto _ : state) {
        DC dc(surface);
        if (clipped) {
            dc.SelectClipRect(tunova::kTitleRect);
        }
        Step(marquee, steps);
        PaintBackground(dc, strips, frame, marquee);
    }
    state.SetLabel(SizeLabel(size) + (clipped ? " clipped" : " unclipped"));
}

BENCHMARK(BM_TitleStepRepaint)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TitleStepWholeRepaint)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintBackground)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    plat::Application application(argc, argv);
    if (Skin().topTile.IsNull()) {
        std::fprintf(stderr, "repaint_bench: no skin folder beside the program\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
