// The program's menu resources, built as popup menus.
#pragma once

#include <string>

#include "platform/window/menu.h"

namespace tunova::res {

// The first submenu of menu resource `id` (kMenuMouse, kMenuCountry, kMenuTray, kMenuTrayOpen).
// An unknown id gives an empty menu.
plat::PopupMenu LoadMenuPopup(int id);

// String resource `id` (CP949); empty when unknown.
std::string LoadString(int id);

}  // namespace tunova::res
