// Platform-internal: font set-up done once when the application starts.
#pragma once

namespace plat {

// Makes the program's classic face names ("돋움", "굴림", "MS Shell Dlg", ...) draw in the
// installed Korean font. Does nothing when no font covers Hangul.
void InstallFontSubstitutions();

}  // namespace plat
