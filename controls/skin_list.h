// CSkinList: the report-mode list of the search results (paint mode 1) and of the playlist
// (paint mode 2), drawn on a dark background with its own colours and font. Its header is
// painted by CSkinHeader with a sort arrow, its scroll bar is a CSkinScrollBar beside it, the
// fourth column shows a hand cursor and a hover picture, a click on the second column's heading
// sorts the rows by it, and an empty playlist shows two notice lines.
//
// The list's own notifications about item changes and activation and its column clicks stay
// with it; clicks, double-clicks and drags reach the parent.
#pragma once

#include <string>
#include <string_view>

#include "controls/skin_header.h"
#include "controls/skin_scroll_bar.h"
#include "platform/controls/controls.h"
#include "platform/draw/draw.h"

namespace tunova {

class CSkinList : public plat::ListView {
  public:
    enum PaintMode { kResults = 1, kPlaylist = 2 };
    // Row hovered: none.
    static constexpr int kNoHoverRow = -19;

    CSkinList();
    ~CSkinList() override;

    // Creates the list and takes over its header's painting.
    bool Create(plat::Window* parent, int id, const plat::Rect& rect,
                std::uint32_t style = plat::kStyleChild | plat::kStyleVisible);
    // Set before AttachScrollBar.
    void SetPaintMode(PaintMode mode) { mode_ = mode; }
    PaintMode Mode() const { return mode_; }
    // Turns the native scroll bars off and puts the skinned one beside the list.
    void AttachScrollBar();
    // Moves the scroll bar to the list's right edge, as tall as the list.
    void PlaceScrollBar();
    CSkinScrollBar& ScrollBar() { return scrollBar_; }

    // Playlist cells with exactly this text are drawn in the now-playing colours.
    void SetHighlightTitle(std::string_view titleCp949) { highlight_.assign(titleCp949); }
    const std::string& HighlightTitle() const { return highlight_; }

    // The sort direction flag: false at first; the next sort is ascending while it is false,
    // and every sort toggles it. The header shows kBmpSortDescending while it is true, else
    // kBmpSortAscending.
    bool SortDirectionFlag() const { return sortFlag_; }
    // Sorts all rows by the title column's bytes: ascending first, then alternating.
    void SortByTitle();

    // The row under the pointer's fourth column, kNoHoverRow when none; whether the pointer is
    // off the fourth column (the arrow cursor shows).
    int HoverRow() const { return hoverRow_; }
    // Whether the pointer is over a cell of the add column (a click there adds the row).
    bool IsPointerOverRow() const { return !notOver_; }
    bool PointerOffAddColumn() const { return notOver_; }
    int HoverPaints() const { return hoverPaints_; }

  private:
    void BuildMessageTable();
    void DrawCell(plat::DC& dc, const ItemPaint& paint);
    void Paint(plat::DC& dc);
    void OnMouseMove(plat::Point point);

    CSkinHeader header_;
    CSkinScrollBar scrollBar_;
    bool sortFlag_ = false;
    plat::Font font_;
    std::string highlight_;
    PaintMode mode_ = kResults;
    int hoverRow_ = kNoHoverRow;
    bool notOver_ = true;
    int hoverPaints_ = 0;
    plat::Bitmap hoverPicture_;     // kBmpAddHover
    plat::Bitmap selectedPicture_;  // kBmpAddSelected
};

}  // namespace tunova
