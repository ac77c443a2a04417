// The skinned list header: tiles, item edges, the sort arrow and the headings.
#include "controls/skin_header.h"

#include "controls/buffer_dc.h"
#include "controls/skin_list.h"
#include "res/resource_ids.h"

namespace tunova {
namespace {

constexpr int kBitmapHeight = 18;

}  // namespace

CSkinHeader::CSkinHeader() : font_("돋움", 11) {}

void CSkinHeader::Attach(CSkinList& list) {
    list_ = &list;
    tile_.LoadResource(res::kBmpHeaderTile);
    left_.LoadResource(res::kBmpHeaderLeft);
    right_.LoadResource(res::kBmpHeaderRight);
    ascending_.LoadResource(res::kBmpSortAscending);
    descending_.LoadResource(res::kBmpSortDescending);
    list.SetHeaderHeight(kBitmapHeight);
    list.SetHeaderPainter([this](plat::DC& dc, const plat::Rect& client) { Paint(dc, client); });
}

void CSkinHeader::Paint(plat::DC& target, const plat::Rect& client) {
    if (list_ == nullptr) {
        return;
    }
    CBufferDC2 dc(client, target);
    dc.FillSolidRect(client, kCommonBackground);
    dc.StretchBlt(0, 0, client.Width(), kBitmapHeight, tile_, 0, 0, 1, kBitmapHeight);
    dc.SelectFont(font_);
    dc.SetTextColor(plat::Rgb(210, 210, 210));
    dc.SetBkMode(plat::kTransparent);
    for (int column = 0; column < list_->ColumnCount(); ++column) {
        const plat::Rect item = list_->HeaderItemRect(column);
        if (item.Width() <= 0) {
            continue;
        }
        dc.BitBlt(item.left, 0, 2, kBitmapHeight, left_, 0, 0);
        dc.StretchBlt(item.left + 2, 0, item.Width() - 4, kBitmapHeight, tile_, 0, 0, 1,
                      kBitmapHeight);
        if (list_->ColumnOrder(column) == 1) {
            const plat::Bitmap& arrow = list_->SortDirectionFlag() ? descending_ : ascending_;
            dc.BitBlt(item.right - 17, 4, arrow.Width(), arrow.Height(), arrow, 0, 0);
        }
        if (column != 3) {
            dc.BitBlt(item.right - 2, 0, 2, kBitmapHeight, right_, 0, 0);
        }
        plat::Rect text{item.left + 2, item.top + 4, item.right - 2, item.bottom - 2};
        dc.DrawText(list_->ColumnHeading(column), text,
                    plat::kDtCenter | plat::kDtSingleLine | plat::kDtEndEllipsis);
    }
}

}  // namespace tunova
