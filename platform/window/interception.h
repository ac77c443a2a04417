// Where tests stand in for the user at a popup menu or a message box: while an interception is
// set, the menu or the box calls it instead of showing itself. The tests' library sets them
// (platform/testing/testing.h); the product only reads them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/types.h"
#include "platform/window/menu.h"

namespace plat::testing {

// While set, PopupMenu::Track calls `chooser` instead of showing the menu; its result is the
// chosen id (0 = dismissed). Null restores the real menu.
struct TrackedMenu {
    std::vector<PopupMenu::Item> items;
    Point screen;
};
void InterceptMenus(std::function<int(const TrackedMenu&)> chooser);

// While set, ShowMessageBox calls `answer` instead of showing the box.
struct ShownMessageBox {
    std::string text;     // CP949
    std::string caption;  // CP949
    unsigned flags = 0;
};
void InterceptMessageBoxes(std::function<int(const ShownMessageBox&)> answer);

// The interceptions set now; empty when none is.
const std::function<int(const TrackedMenu&)>& MenuInterceptor();
const std::function<int(const ShownMessageBox&)>& MessageBoxInterceptor();

}  // namespace plat::testing
