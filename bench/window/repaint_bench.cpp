// What one step of the scrolling title costs to repaint on a window of 785 x 600, 1280 x 800 and
// 1920 x 1080: the window's background is painted as the main window's is (six cached strips
// copied, then the displays drawn on top), and the step invalidates only the title's rectangle.
//
// - BM_TitleStepRepaint: the real window path, InvalidateRect(title) + UpdateNow: the paint is
//   clipped to the update region, so only the title's pixels are composed and shown.
// - BM_WholeWindowRepaint: Invalidate() + UpdateNow, what every repaint cost while each one
//   redrew the whole window.
// - BM_PaintBackground/clipped and /unclipped: the background painting alone on an off-screen
//   surface, clipped to the title's rectangle or not: the part the update region saves.
//
// Run headless: QT_QPA_PLATFORM=offscreen build-bench/bin/repaint_bench
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "app/main_layout.h"
#include "platform/application.h"
#include "platform/draw.h"
#include "platform/window.h"

namespace {

using plat::Bitmap;
using plat::DC;
using plat::Rect;

// Six strips as big as the main window's, filled with something other than black.
struct Strips {
    explicit Strips(int w, int h) {
        const tunova::FrameLayout f = tunova::FrameAreas({{w, h}});
        Make(top, f.topStrip, plat::Rgb(40, 44, 52));
        Make(centre, f.centrePanel, plat::Rgb(20, 22, 26));
        Make(dots, f.dotLine, plat::Rgb(90, 90, 90));
        Make(bottom, f.bottomStrip, plat::Rgb(40, 44, 52));
        Make(left, f.leftBorder, plat::Rgb(60, 60, 60));
        Make(right, f.rightBorder, plat::Rgb(60, 60, 60));
        frame = f;
    }
    static void Make(Bitmap& bitmap, const Rect& area, plat::ColorRef colour) {
        bitmap.Create(area.Width(), area.Height());
        DC dc(bitmap);
        dc.FillSolidRect({0, 0, area.Width(), area.Height()}, colour);
    }
    // The main window's erase: the strips, then the title text.
    void Paint(DC& dc, int step) const {
        dc.BitBlt(0, 27, centre.Width(), centre.Height(), centre, 0, 0);
        dc.BitBlt(0, 0, top.Width(), top.Height(), top, 0, 0);
        dc.BitBlt(frame.dotLine.left, frame.dotLine.top, dots.Width(), 2, dots, 0, 0);
        dc.BitBlt(0, frame.bottomStrip.top, bottom.Width(), bottom.Height(), bottom, 0, 0);
        dc.BitBlt(0, 27, 2, left.Height(), left, 0, 0);
        dc.BitBlt(frame.rightBorder.left, 27, 2, right.Height(), right, 0, 0);
        Rect title = tunova::kTitleRect;
        title.Offset(-(step % 100), 0);
        dc.SetBkMode(plat::kTransparent);
        dc.SetTextColor(plat::Rgb(255, 255, 255));
        dc.DrawText("A title long enough to scroll across its rectangle", title,
                    plat::kDtLeft | plat::kDtSingleLine);
    }
    Bitmap top, centre, dots, bottom, left, right;
    tunova::FrameLayout frame;
};

class PaintedWindow {
  public:
    PaintedWindow(int w, int h) : strips_(w, h) {
        window_.Messages().OnMessage(plat::kWmEraseBkgnd, [this](plat::WParam, plat::LParam) {
            if (DC* dc = DC::ForPaint(window_)) {
                strips_.Paint(*dc, step_);
            }
            return plat::LResult{1};
        });
        window_.Create(nullptr, 0, Rect::FromXYWH(0, 0, w, h),
                       plat::kStylePopup | plat::kStyleVisible);
        window_.UpdateNow();
        plat::Application::ProcessEvents();
    }
    plat::Window& Window() { return window_; }
    void Step() { ++step_; }

  private:
    Strips strips_;
    plat::Window window_;
    int step_ = 0;
};

const int kSizes[][2] = {{785, 600}, {1280, 800}, {1920, 1080}};

void BM_TitleStepRepaint(benchmark::State& state) {
    PaintedWindow painted(kSizes[state.range(0)][0], kSizes[state.range(0)][1]);
    for (auto _ : state) {
        painted.Step();
        painted.Window().InvalidateRect(tunova::kTitleRect);
        painted.Window().UpdateNow();
    }
    state.SetLabel(std::to_string(kSizes[state.range(0)][0]) + "x" +
                   std::to_string(kSizes[state.range(0)][1]));
}

void BM_WholeWindowRepaint(benchmark::State& state) {
    PaintedWindow painted(kSizes[state.range(0)][0], kSizes[state.range(0)][1]);
    for (auto _ : state) {
        painted.Step();
        painted.Window().Invalidate();
        painted.Window().UpdateNow();
    }
    state.SetLabel(std::to_string(kSizes[state.range(0)][0]) + "x" +
                   std::to_string(kSizes[state.range(0)][1]));
}

void BM_PaintBackground(benchmark::State& state) {
    const int w = kSizes[state.range(0)][0];
    const int h = kSizes[state.range(0)][1];
    const bool clipped = state.range(1) != 0;
    Strips strips(w, h);
    Bitmap surface;
    surface.Create(w, h);
    int step = 0;
    for (auto _ : state) {
        DC dc(surface);
        if (clipped) {
            dc.SelectClipRect(tunova::kTitleRect);
        }
        strips.Paint(dc, ++step);
    }
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h) +
                   (clipped ? " clipped" : " unclipped"));
}

BENCHMARK(BM_TitleStepRepaint)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeWindowRepaint)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintBackground)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    plat::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
