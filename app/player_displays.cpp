#include "app/player_displays.h"

#include "app/main_layout.h"
#include "app/time_digits.h"

namespace tunova {
namespace {

constexpr plat::ColorRef kTransparentKey = plat::Rgb(255, 0, 0);
constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kCountOrange = plat::Rgb(255, 182, 2);
constexpr char kFace[] = "돋움";
constexpr char kResultCountLabel[] = "검색결과           건";
constexpr int kDigitWidth = 15;
constexpr int kColonWidth = 8;
constexpr int kVolumeBarHeight = 10;
constexpr int kCountToUnitGap = 2;

void SetTextLook(plat::DC& dc, const plat::Font& font, plat::ColorRef colour) {
    dc.SelectFont(font);
    dc.SetBkMode(plat::kTransparent);
    dc.SetTextColor(colour);
}

}  // namespace

void DrawTimeDigits(plat::DC& dc, const SkinImages& skin, std::string_view timeText) {
    const plat::Rect& place = kTimeDigitsRect;
    plat::Bitmap display;
    if (!display.CreateCompatible(dc, place.Width(), place.Height())) {
        return;
    }
    {
        plat::DC composer(display);
        const std::array<int, 6> cells = TimeDigitCells(timeText);
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const plat::Bitmap& digit = skin.digits[cells[k]];
            composer.TransparentBlt(kDigitCellX[k], 0, kDigitWidth, place.Height(), digit, 0, 0,
                                    kDigitWidth, place.Height(), kTransparentKey);
        }
        for (int x : kColonX) {
            composer.TransparentBlt(x, 0, kColonWidth, place.Height(), skin.colon, 0, 0,
                                    kColonWidth, place.Height(), kTransparentKey);
        }
    }
    dc.BitBlt(place.left, place.top, place.Width(), place.Height(), display, 0, 0);
}

void DrawVolumeGauge(plat::DC& dc, const SkinImages& skin, int volume) {
    const int width = VolumeBarWidth(volume);
    if (width > 0) {
        dc.TransparentBlt(kVolumeBarRect.left, kVolumeBarRect.top, width, kVolumeBarHeight,
                          skin.volumeBar, 0, 0, width, kVolumeBarHeight, kTransparentKey);
    }
    SetTextLook(dc, plat::Font(kFace, 12, plat::kFwBold), kWhite);
    plat::Rect text = kVolumeTextRect;
    dc.DrawText(VolumeText(volume), text, plat::kDtRight | plat::kDtVCenter | plat::kDtSingleLine);
}

void DrawInfoTexts(plat::DC& dc, const InfoTexts& texts, TitleMarquee& marquee) {
    const plat::Font titleFont(kFace, 11, plat::kFwBold);
    const plat::Font plainFont(kFace, 11, plat::kFwNormal);

    SetTextLook(dc, titleFont, kWhite);
    const int titleWidth = dc.TextExtent(texts.title).cx;
    const TitleMarquee::Placement placed = marquee.Place(titleWidth);
    if (placed.scrolled) {
        // At the scrolled position, but never outside the title's rectangle (nor outside what
        // the paint may touch: a selected clip stays within the update region).
        dc.SelectClipRect(kTitleRect);
        dc.TextOut(placed.at.x, placed.at.y, texts.title);
        dc.ResetClip();
    } else {
        plat::Rect title = kTitleRect;
        dc.DrawText(texts.title, title, plat::kDtLeft | plat::kDtSingleLine);
    }

    SetTextLook(dc, plainFont, kWhite);
    plat::Rect playTime = kPlayTimeTextRect;
    dc.DrawText(texts.playTime, playTime, plat::kDtLeft | plat::kDtSingleLine);

    if (!texts.listShown) {
        return;
    }
    // The label's spaces only make room for the number, and how wide they come out depends on
    // the installed font: the word after them is set just right of the count's rectangle, so
    // the number never runs into it.
    const std::string_view label = kResultCountLabel;
    plat::Rect head = kResultCountLabelRect;
    dc.DrawText(label.substr(0, label.find(' ')), head, plat::kDtLeft | plat::kDtSingleLine);
    plat::Rect tail = kResultCountLabelRect;
    tail.left = kResultCountRect.right + kCountToUnitGap;
    dc.DrawText(label.substr(label.rfind(' ') + 1), tail, plat::kDtLeft | plat::kDtSingleLine);
    dc.SetTextColor(kCountOrange);
    plat::Rect count = kResultCountRect;
    dc.DrawText(texts.resultCount, count, plat::kDtRight | plat::kDtVCenter | plat::kDtSingleLine);
}

}  // namespace tunova
