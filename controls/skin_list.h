// List view of the results and of the playlist. For now the plain report-mode list view; the
// skin colours, header, scroll bar, hover look and empty-playlist notice come with the skin.
#pragma once

#include "platform/controls.h"

namespace tunova {

class CSkinList : public plat::ListView {
  public:
    // Whether the pointer is over one of the rows (the hover state). Until the skin tracks
    // the pointer, a click that reached a row counts as over it.
    bool IsPointerOverRow() const { return true; }
};

}  // namespace tunova
