// The main window's frame composed once per size or view into six cached images (top bar,
// left and right borders, dotted separator, bottom bar, centre panel), so that erasing the
// window only copies them. The frame pieces are stamped one pixel at a time, which is too slow
// to repeat on every erase.
#pragma once

#include <cstddef>

#include "app/main_layout.h"
#include "app/skin_images.h"
#include "platform/draw/draw.h"

namespace tunova {

class FrameStrips {
  public:
    // Composes every strip for `frame` at the density of `like` (the DC they are copied to).
    void Build(const SkinImages& skin, const FrameLayout& frame, int playMode,
               const plat::DC& like);
    // Composes only the centre panel again (a play-mode change).
    void BuildCentrePanel(const SkinImages& skin, const FrameLayout& frame, int playMode,
                          const plat::DC& like);
    // Whether the strips were built for `frame` at `like`'s density.
    bool BuiltFor(const FrameLayout& frame, const plat::DC& like) const;

    // Copies the strips to their places: centre panel, top bar, dotted separator, bottom bar
    // (not in mini size), borders.
    void Paint(plat::DC& dc, const FrameLayout& frame) const;

    // The memory the strips' pixels take, in bytes.
    std::size_t Bytes() const;
    // Frees every strip.
    void Release();

  private:
    void BuildTop(const SkinImages& skin, const FrameLayout& frame, const plat::DC& like);
    void BuildBorders(const SkinImages& skin, const FrameLayout& frame, const plat::DC& like);
    void BuildDotLine(const SkinImages& skin, const FrameLayout& frame, const plat::DC& like);
    void BuildBottom(const SkinImages& skin, const FrameLayout& frame, const plat::DC& like);

    plat::Bitmap top_;
    plat::Bitmap left_;
    plat::Bitmap right_;
    plat::Bitmap dotLine_;
    plat::Bitmap bottom_;
    plat::Bitmap centre_;
    plat::Size builtClient_;
    int builtBorderHeight_ = -1;
    int builtScale_ = 0;
};

}  // namespace tunova
