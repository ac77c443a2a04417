// Test hooks (stub until filled in).
#include "platform/testing.h"

namespace plat::testing {

void PressKey(plat::Window&, int) {}
void TypeText(plat::Window&, const std::string&) {}
void MouseDown(plat::Window&, Point, int) {}
void MouseUp(plat::Window&, Point, int) {}
void MouseClick(plat::Window&, Point, int) {}
void MouseDoubleClick(plat::Window&, Point, int) {}
void InterceptMenus(std::function<int(const TrackedMenu&)>) {}
void InterceptMessageBoxes(std::function<int(const ShownMessageBox&)>) {}

}  // namespace plat::testing
