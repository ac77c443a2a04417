#include "app/frame_strips.h"

namespace tunova {
namespace {

// What shows where a frame image is missing: the skin's dark interior.
constexpr plat::ColorRef kMissingImage = plat::Rgb(20, 22, 28);

// A new black strip of `width` x `height` at `like`'s density; null for an empty size.
plat::Bitmap NewStrip(int width, int height, const plat::DC& like) {
    plat::Bitmap strip;
    if (width > 0 && height > 0) {
        strip.CreateCompatible(like, width, height);
    }
    return strip;
}

// The colour of `image`'s top-left pixel, or the stand-in colour when it is missing.
plat::ColorRef TopLeftColour(const plat::Bitmap& image) {
    return image.IsNull() ? kMissingImage : image.Pixel(0, 0);
}

std::size_t PixelBytes(const plat::Bitmap& strip) {
    const std::size_t scale = static_cast<std::size_t>(strip.DensityScale());
    return static_cast<std::size_t>(strip.Width()) * strip.Height() * 4 * scale * scale;
}

}  // namespace

void FrameStrips::Build(const SkinImages& skin, const FrameLayout& frame, int playMode,
                        const plat::DC& like) {
    BuildTop(skin, frame, like);
    BuildBorders(skin, frame, like);
    BuildDotLine(skin, frame, like);
    BuildBottom(skin, frame, like);
    BuildCentrePanel(skin, frame, playMode, like);
    builtClient_ = {frame.topStrip.Width(), frame.centrePanel.bottom};
    builtBorderHeight_ = frame.borderHeight;
    builtScale_ = like.DensityScale();
}

bool FrameStrips::BuiltFor(const FrameLayout& frame, const plat::DC& like) const {
    return builtScale_ == like.DensityScale() && builtBorderHeight_ == frame.borderHeight &&
           builtClient_ == plat::Size{frame.topStrip.Width(), frame.centrePanel.bottom};
}

void FrameStrips::BuildTop(const SkinImages& skin, const FrameLayout& frame, const plat::DC& like) {
    const int height = frame.topStrip.Height();
    top_ = NewStrip(frame.topStrip.Width(), height, like);
    if (top_.IsNull()) {
        return;
    }
    plat::DC dc(top_);
    dc.BitBlt(0, 0, frame.topLeftEnd.Width(), height, skin.topLeft, 0, 0);
    for (int x = frame.topTileFirstX; x <= frame.topTileLastX; ++x) {
        dc.BitBlt(x, 0, 1, height, skin.topTile, 0, 0);
    }
    dc.BitBlt(frame.topRightEnd.left, 0, frame.topRightEnd.Width(), height, skin.topRight, 0, 0);
    dc.BitBlt(frame.logo.left, frame.logo.top, frame.logo.Width(), frame.logo.Height(), skin.logo,
              0, 0);
}

void FrameStrips::BuildBorders(const SkinImages& skin, const FrameLayout& frame,
                               const plat::DC& like) {
    const int height = frame.borderHeight;
    left_ = NewStrip(frame.leftBorder.Width(), height, like);
    right_ = NewStrip(frame.rightBorder.Width(), height, like);
    if (!left_.IsNull()) {
        // Each 2 x 2 copy lands one row below the last, so every row but the last shows the
        // texture's first row.
        plat::DC dc(left_);
        for (int y = 0; y < height; ++y) {
            dc.BitBlt(0, y, 2, 2, skin.leftBorder, 0, 0);
        }
    }
    if (!right_.IsNull()) {
        plat::DC dc(right_);
        for (int y = 0; y < height; ++y) {
            dc.BitBlt(0, y, 2, 1, skin.rightBorder, 0, 0);
        }
    }
}

void FrameStrips::BuildDotLine(const SkinImages& skin, const FrameLayout& frame,
                               const plat::DC& like) {
    dotLine_ = NewStrip(frame.dotLine.Width(), frame.dotLine.Height(), like);
    if (dotLine_.IsNull() || skin.dotLine.IsNull()) {
        return;
    }
    plat::DC dc(dotLine_);
    dc.StretchBlt(0, 0, dotLine_.Width(), dotLine_.Height(), skin.dotLine, 0, 0, 1,
                  skin.dotLine.Height());
}

void FrameStrips::BuildBottom(const SkinImages& skin, const FrameLayout& frame,
                              const plat::DC& like) {
    const int height = frame.bottomLeftEnd.Height();
    bottom_ = NewStrip(frame.topStrip.Width(), height, like);
    if (bottom_.IsNull()) {
        return;
    }
    plat::DC dc(bottom_);
    dc.BitBlt(0, 0, frame.bottomLeftEnd.Width(), height, skin.bottomLeft, 0, 0);
    for (int x = frame.bottomTileFirstX; x <= frame.bottomTileLastX; ++x) {
        dc.BitBlt(x, 0, 1, height, skin.bottomTile, 0, 0);
    }
    dc.BitBlt(frame.bottomRightEnd.left - frame.bottomLeftEnd.left, 0, frame.bottomRightEnd.Width(),
              height, skin.bottomRight, 0, 0);
}

void FrameStrips::BuildCentrePanel(const SkinImages& skin, const FrameLayout& frame, int playMode,
                                   const plat::DC& like) {
    const plat::Rect& area = frame.centrePanel;
    centre_ = NewStrip(area.Width(), area.Height(), like);
    if (centre_.IsNull()) {
        return;
    }
    plat::DC dc(centre_);
    dc.FillSolidRect({0, 0, area.Width(), area.Height()}, TopLeftColour(skin.interior));
    if (!frame.panelListArea.IsEmpty()) {
        dc.FillSolidRect(frame.panelListArea, TopLeftColour(skin.listArea));
    }
    const plat::Point panel{frame.panelImage.x - area.left, frame.panelImage.y - area.top};
    dc.BitBlt(panel.x, panel.y, skin.panel.Width(), skin.panel.Height(), skin.panel, 0, 0);
    const plat::Rect indicator = PlayModeIndicatorRect(playMode);
    if (!indicator.IsEmpty()) {
        dc.BitBlt(indicator.left - area.left, frame.playModeIndicatorTop, indicator.Width(),
                  indicator.Height(), skin.playModes[playMode - 1], 0, 0);
    }
}

void FrameStrips::Paint(plat::DC& dc, const FrameLayout& frame) const {
    const plat::Rect& panel = frame.centrePanel;
    dc.BitBlt(panel.left, panel.top, panel.Width(), panel.Height(), centre_, 0, 0);
    dc.BitBlt(0, 0, frame.topStrip.Width(), frame.topStrip.Height(), top_, 0, 0);
    dc.BitBlt(frame.dotLine.left, frame.dotLine.top, frame.dotLine.Width(), frame.dotLine.Height(),
              dotLine_, 0, 0);
    if (!frame.bottomStrip.IsEmpty()) {
        dc.BitBlt(frame.bottomStrip.left, frame.bottomStrip.top, frame.bottomStrip.Width(),
                  frame.bottomStrip.Height(), bottom_, 0, 0);
    }
    dc.BitBlt(frame.leftBorder.left, frame.leftBorder.top, frame.leftBorder.Width(),
              frame.leftBorder.Height(), left_, 0, 0);
    dc.BitBlt(frame.rightBorder.left, frame.rightBorder.top, frame.rightBorder.Width(),
              frame.rightBorder.Height(), right_, 0, 0);
}

std::size_t FrameStrips::Bytes() const {
    std::size_t bytes = 0;
    for (const plat::Bitmap* strip : {&top_, &left_, &right_, &dotLine_, &bottom_, &centre_}) {
        bytes += strip->IsNull() ? 0 : PixelBytes(*strip);
    }
    return bytes;
}

void FrameStrips::Release() {
    *this = FrameStrips{};
}

}  // namespace tunova
