#include "search/result_list.h"

#include <cstdio>

#include "platform/controls/controls.h"
#include "platform/draw/draw.h"
#include "res/resource_ids.h"
#include "search/result_store.h"

namespace tunova {
namespace {

void AddRow(ResultStore& store, plat::ListView& list, int index, bool setItemData) {
    const VideoItem& item = store.Items()[static_cast<std::size_t>(index)];
    const int row = list.InsertItem(list.ItemCount(), std::to_string(index + 1));
    if (setItemData) {
        list.SetItemData(row, index);
    }
    list.SetItemText(row, 1, item.title);
    list.SetItemText(row, 2, FormatPlayTime(item.seconds));
    list.SetItemText(row, kAddColumn, "");
    list.SetItemImage(row, kAddColumn, 0);
    store.CountShown();
}

}  // namespace

std::string FormatPlayTime(int seconds) {
    char text[32];
    std::snprintf(text, sizeof(text), "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

void SetupResultList(plat::ListView& list, plat::ImageList& images) {
    list.InsertColumn(0, "No", plat::kLvcfmtCenter, 45);
    list.InsertColumn(1, "    제목", plat::kLvcfmtLeft, 542);
    list.InsertColumn(2, "재생시간", plat::kLvcfmtCenter, 90);
    list.InsertColumn(3, "담기", plat::kLvcfmtCenter, 98);
    list.SetExtendedStyle(plat::kLvsExFullRowSelect | plat::kLvsExSubItemImages);
    plat::Bitmap picture;
    if (!picture.LoadResource(res::kBmpAddPicture)) {
        picture.Create(92, 16);
    }
    // The picture is drawn on a magenta key, which must not show around the button.
    if (images.Count() == 0) {
        images.Add(picture, plat::Rgb(255, 0, 255));
    }
    list.SetImageList(&images);
}

std::string FillResultList(ResultStore& store, plat::ListView& list, FillMode mode) {
    const int available = static_cast<int>(store.Items().size());
    if (mode == FillMode::kReplace) {
        list.DeleteAllItems();
        for (int d = 0; d < store.PageCount() && d < available; ++d) {
            AddRow(store, list, d, true);
        }
    } else {
        const int first = store.StoredCount();
        for (int d = first; d < first + store.PageCount() && d < available; ++d) {
            AddRow(store, list, d, false);
        }
    }
    return std::to_string(list.ItemCount());
}

}  // namespace tunova
