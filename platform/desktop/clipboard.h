// The desktop's clipboard: text the user can paste into other programs.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// Puts CP949 program text on the clipboard (and, where the desktop has one, on the selection
// a middle click pastes).
void SetClipboardText(std::string_view cp949);
// The clipboard's text as CP949 program text; empty when it holds none.
std::string ClipboardText();

}  // namespace plat
