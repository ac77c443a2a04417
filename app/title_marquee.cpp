#include "app/title_marquee.h"

#include "res/resource_ids.h"

namespace tunova {
namespace {

constexpr int kStepPixels = 2;

}  // namespace

TitleMarquee::TitleMarquee(plat::Window& window, const plat::Rect& area)
    : window_(window), area_(area), at_{area.left, area.top} {}

TitleMarquee::Placement TitleMarquee::Place(int titleWidth) {
    // The pass is over once the title has moved its overhang: rest, then start again. Only a
    // scrolling title can get here; an empty one (width 0) would otherwise restart the pause
    // timer at every paint.
    if (scrolling_ && offset_ >= titleWidth) {
        window_.KillTimer(res::kTimerTitleScroll.id);
        window_.SetTimer(res::kTimerTitlePause.id, res::kTimerTitlePause.periodMs);
        offset_ = 0;
    }
    if (area_.Width() >= titleWidth || scrolling_) {
        if (scrolling_) {
            return {true, at_};
        }
        offset_ = 0;
        window_.KillTimer(res::kTimerTitleScroll.id);
        return {false, {area_.left, area_.top}};
    }
    // Too wide and standing still: rest at the left edge, then scroll. The pass ends when the
    // title has moved by its width less the area's, so the offset starts at the area's width.
    at_ = {area_.left, area_.top};
    offset_ = area_.Width();
    scrolling_ = true;
    window_.SetTimer(res::kTimerTitleScroll.id, res::kTimerTitleScroll.periodMs);
    return {false, at_};
}

void TitleMarquee::OnStepTimer() {
    window_.SetTimer(res::kTimerTitleScroll.id, res::kTitleScrollStepMs);
    at_.x -= kStepPixels;
    offset_ += kStepPixels;
    InvalidateArea();
}

void TitleMarquee::OnPauseTimer() {
    window_.KillTimer(res::kTimerTitlePause.id);
    scrolling_ = false;
    InvalidateArea();
}

void TitleMarquee::Reset() {
    at_ = {area_.left, area_.top};
    offset_ = 0;
    scrolling_ = false;
    window_.KillTimer(res::kTimerTitleScroll.id);
}

void TitleMarquee::InvalidateArea() {
    window_.InvalidateRect(area_);
}

}  // namespace tunova
