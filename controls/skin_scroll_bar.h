// CSkinScrollBar: the bitmap scroll bar beside a CSkinList (13 pixels wide). Variant 1 (the
// result list) has a cap above its up arrow; variant 2 (the playlist) has none. The thumb
// follows the list's scroll position; arrows scroll a line (and repeat while held: the first
// repeat 300 ms after the press, then every 50 ms), clicks on the track scroll a page, and the
// thumb can be dragged.
#pragma once

#include "platform/draw/draw.h"
#include "platform/window/window.h"

namespace tunova {

class CSkinList;

class CSkinScrollBar : public plat::Window {
  public:
    static constexpr int kWidth = 13;
    static constexpr int kThumbHeight = 31;
    static constexpr int kArrowHeight = 14;
    static constexpr int kRepeatDelayTimer = 2;  // 250 ms after the press
    static constexpr int kRepeatTimer = 1;       // then every 50 ms
    static constexpr unsigned kRepeatDelayMs = 250;
    static constexpr unsigned kRepeatMs = 50;

    CSkinScrollBar();
    ~CSkinScrollBar() override;

    // The list served and the layout variant (1 results, 2 playlist).
    void Serve(CSkinList* list, int variant);
    // Recomputes the thumb from the list's scroll position and repaints.
    void UpdateThumb();
    int ThumbTop() const { return thumbTop_; }
    // Whether the thumb shows (the list can scroll).
    bool ThumbShown() const;
    // The main window's compact mode: the results' bar then takes no mouse input and paints
    // itself black unless it is exactly 116 pixels high.
    void SetCompactMode(bool compact);

    // The track's first pixel below the up arrow.
    int TrackTop() const { return variant_ == 2 ? kArrowHeight : 32; }

  private:
    void BuildMessageTable();
    void Paint(plat::DC& dc);
    void ClampThumb();
    void LineScroll(int request);
    bool OnUpArrow(plat::Point p) const;
    bool OnDownArrow(plat::Point p) const;
    int Height() const { return ClientRect().Height(); }

    CSkinList* list_ = nullptr;
    int variant_ = 1;
    int thumbTop_ = 0;
    bool upPressed_ = false;
    bool downPressed_ = false;
    bool dragging_ = false;
    bool compact_ = false;
    plat::Bitmap cap_, capEdge_, up_, track_, thumb_, down_;
};

}  // namespace tunova
