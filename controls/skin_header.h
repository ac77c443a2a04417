// CSkinHeader: paints a CSkinList's column headings from the header bitmaps, with the sort
// arrow on the title column.
#pragma once

#include "platform/draw/draw.h"

namespace tunova {

class CSkinList;

class CSkinHeader {
  public:
    CSkinHeader();
    // Paints `list`'s header from now on.
    void Attach(CSkinList& list);
    void Paint(plat::DC& dc, const plat::Rect& client);

  private:
    CSkinList* list_ = nullptr;
    plat::Bitmap tile_, left_, right_, ascending_, descending_;
    plat::Font font_;
};

}  // namespace tunova
