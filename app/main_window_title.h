// The main window's title, by which other starts of the program find the running copy.
#pragma once

namespace tunova {

inline constexpr char kMainWindowTitle[] = "Tunova 플레이어";

}  // namespace tunova
