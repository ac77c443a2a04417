// The skinned list: cell colours, the empty-playlist notice, the hover picture over the add
// column, sorting by title and the scroll bar beside it.
#include "controls/skin_list.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "controls/buffer_dc.h"
#include "res/resource_ids.h"

namespace tunova {
namespace {

constexpr int kAddColumn = 3;
constexpr int kTitleColumn = 1;

constexpr plat::ColorRef kSelectedBackground = plat::Rgb(42, 46, 57);
constexpr plat::ColorRef kSelectedText = plat::Rgb(233, 251, 253);
constexpr plat::ColorRef kResultText = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kPlaylistText = plat::Rgb(147, 175, 185);
constexpr plat::ColorRef kNowPlayingText = plat::Rgb(250, 207, 0);
constexpr plat::ColorRef kPictureKey = plat::Rgb(255, 0, 255);

// Plain byte order, each byte unsigned.
int CompareBytes(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
    if (c != 0) {
        return c;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

CSkinList::CSkinList() : font_("돋움", 11, plat::kFwNormal, plat::kHangulCharset) {
    BuildMessageTable();
}

CSkinList::~CSkinList() = default;

bool CSkinList::Create(plat::Window* parent, int id, const plat::Rect& rect, std::uint32_t style) {
    if (!ListView::Create(parent, id, rect, style)) {
        return false;
    }
    hoverPicture_.LoadResource(res::kBmpAddHover);
    selectedPicture_.LoadResource(res::kBmpAddSelected);
    header_.Attach(*this);
    SetBackgroundColor(kCommonBackground);
    SetItemPainter([this](plat::DC& dc, const ItemPaint& paint) { DrawCell(dc, paint); });
    SetOwnerPainted(true);
    return true;
}

void CSkinList::AttachScrollBar() {
    SetNativeScrollBarsVisible(false);
    if (!scrollBar_.IsCreated() && Parent() != nullptr) {
        scrollBar_.Create(Parent(), 0xFFFF, plat::Rect{});
    }
    scrollBar_.Serve(this, mode_ == kPlaylist ? 2 : 1);
    PlaceScrollBar();
}

void CSkinList::PlaceScrollBar() {
    if (!scrollBar_.IsCreated() || Parent() == nullptr) {
        return;
    }
    const plat::Rect frame = WindowRect();
    const plat::Point topLeft = Parent()->ScreenToClient({frame.left, frame.top});
    scrollBar_.Move(plat::Rect::FromXYWH(topLeft.x + frame.Width(), topLeft.y,
                                         CSkinScrollBar::kWidth, frame.Height()));
    scrollBar_.UpdateThumb();
}

void CSkinList::SortByTitle() {
    const int count = ItemCount();
    // The rows' own title bytes decide, whether or not a row carries item data (rows of
    // appended result pages carry none).
    std::vector<std::string> titles;
    titles.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        titles.push_back(ItemText(row, kTitleColumn));
    }
    const bool descending = sortFlag_;
    SortItems([&](int a, int b) {
        const int c =
            CompareBytes(titles[static_cast<std::size_t>(a)], titles[static_cast<std::size_t>(b)]);
        return descending ? c > 0 : c < 0;
    });
    sortFlag_ = !sortFlag_;
    RedrawHeader();
    Invalidate();
}

void CSkinList::BuildMessageTable() {
    using plat::LParam;
    using plat::LResult;
    using plat::WParam;
    plat::MessageMap& m = Messages();
    // Notifications the list keeps to itself.
    for (int code : {plat::kLvnItemChanged, plat::kLvnItemActivate}) {
        m.OnReflectedNotify(code, [](const plat::NotifyHeader&) { return LResult{0}; });
    }
    m.OnReflectedNotify(plat::kLvnColumnClick, [this](const plat::NotifyHeader& header) {
        if (reinterpret_cast<const plat::ListViewNotify&>(header).subItem == kTitleColumn) {
            SortByTitle();
        }
        return LResult{0};
    });
    m.OnMessage(plat::kWmEraseBkgnd, [this](WParam, LParam) {
        scrollBar_.UpdateThumb();
        return LResult{1};
    });
    m.OnMessage(plat::kWmPaint, [this](WParam, LParam) {
        if (plat::DC* dc = plat::DC::ForPaint(*this)) {
            Paint(*dc);
        }
        return LResult{0};
    });
    m.OnMessage(plat::kWmMouseMove, [this](WParam, LParam l) {
        OnMouseMove({plat::XFromLParam(l), plat::YFromLParam(l)});
        return LResult{0};
    });
    // The pointer left the rows, or the rows were all deleted for a new fill: no row is hovered.
    m.OnMessage(plat::kWmMouseLeave, [this](WParam, LParam) {
        notOver_ = true;
        if (hoverRow_ != kNoHoverRow) {
            hoverRow_ = kNoHoverRow;
            Invalidate();
        }
        return LResult{0};
    });
    for (std::uint32_t message : {plat::kWmMouseWheel, plat::kWmKeyDown, plat::kWmKeyUp}) {
        m.OnMessage(message, [this](WParam, LParam) {
            scrollBar_.UpdateThumb();
            return LResult{0};
        });
    }
}

void CSkinList::Paint(plat::DC& target) {
    const plat::Rect area = target.ClipBox();
    CBufferDC2 dc(area, target);
    dc.FillSolidRect(area, kCommonBackground);
    if (mode_ == kPlaylist && ItemCount() == 0) {
        dc.SelectFont(font_);
        dc.SetTextColor(plat::Rgb(255, 255, 255));
        dc.SetBkMode(plat::kTransparent);
        plat::Rect first{70, 35, 300, 185};
        dc.DrawText("플레이 리스트가 비어있습니다", first, plat::kDtCenter | plat::kDtSingleLine);
        plat::Rect second{70, 65, 300, 215};
        dc.DrawText("담기 버튼으로 플레이 리스트를 추가해 주세요", second,
                    plat::kDtCenter | plat::kDtSingleLine);
    }
    dc.SetBkColor(kCommonBackground);
    scrollBar_.UpdateThumb();
    PaintItems(dc);
    // The hover picture sits 4 pixels from the row's right end.
    if (hoverRow_ >= 0 && hoverRow_ < ItemCount()) {
        const plat::Rect row = ItemRect(hoverRow_);
        const plat::Rect last = HeaderItemRect(ColumnCount() - 1);
        dc.ResetClip();
        dc.TransparentBlt(last.right - 96, row.top + 2, 92, 16, hoverPicture_, 0, 0, 92, 16,
                          kPictureKey);
        ++hoverPaints_;
    }
}

void CSkinList::DrawCell(plat::DC& dc, const ItemPaint& paint) {
    plat::Rect cell = paint.cell;
    cell.top += 1;
    const std::string text = ItemText(paint.item, paint.subItem);
    const bool selected = (paint.state & plat::kLvisSelected) != 0;
    const bool nowPlaying = mode_ == kPlaylist && !highlight_.empty() && text == highlight_;
    plat::ColorRef background = plat::Rgb(0, 0, 0);
    plat::ColorRef color = mode_ == kPlaylist ? kPlaylistText : kResultText;
    if (selected) {
        if (paint.subItem != kAddColumn || !text.empty()) {
            background = kSelectedBackground;
        }
        color = kSelectedText;
    }
    if (nowPlaying) {
        color = kNowPlayingText;
    }
    dc.FillSolidRect(cell, background);
    dc.SelectFont(font_);
    dc.SetTextColor(color);
    dc.SetBkMode(plat::kTransparent);
    plat::Rect box = cell;
    box.top += 3;
    switch (paint.subItem) {
        case kTitleColumn:
            box.left += 10;
            dc.DrawText(text, box, plat::kDtLeft | plat::kDtSingleLine);
            break;
        case kAddColumn:
            if (selected && mode_ == kResults) {
                dc.TransparentBlt(cell.left + 3, paint.cell.top + 2, 92, 16, selectedPicture_, 0, 0,
                                  92, 16, kPictureKey);
            } else if (plat::ImageList* images = Images()) {
                images->Draw(dc, ItemImage(paint.item, kAddColumn),
                             {cell.left + 3, paint.cell.top + 2});
            }
            break;
        default:
            dc.DrawText(text, box, plat::kDtCenter | plat::kDtSingleLine);
            break;
    }
}

void CSkinList::OnMouseMove(plat::Point point) {
    int column = -1;
    const int row = HitTest(point, &column);
    const plat::Rect add = HeaderItemRect(kAddColumn);
    const bool overAdd = row >= 0 && add.Width() > 0 && point.x >= add.left && point.x < add.right;
    if (!overAdd) {
        if (hoverRow_ != kNoHoverRow) {
            hoverRow_ = kNoHoverRow;
            UpdateNow();
        }
        notOver_ = true;
    } else {
        if (row != hoverRow_) {
            hoverRow_ = row;
            UpdateNow();
        }
        notOver_ = false;
    }
    SetCursor(notOver_ ? plat::CursorShape::kArrow : plat::CursorShape::kHand);
}

}  // namespace tunova
