// List view of the results and of the playlist. For now the plain report-mode list view; the
// skin colours, header, scroll bar and empty-playlist notice come with the skin.
#pragma once

#include "platform/controls.h"

namespace tunova {

class CSkinList : public plat::ListView {};

}  // namespace tunova
