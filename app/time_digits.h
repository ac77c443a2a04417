// The time display's six digit cells and the volume gauge's bar, from the texts and numbers the
// player keeps.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tunova {

// The digits of a current-time text "HH:MM:SS", one per cell, left to right. Characters other
// than digits are skipped; fewer than six digits are padded with zeros on the left; more than
// six (100 hours and above) show 99:59:59.
std::array<int, 6> TimeDigitCells(std::string_view timeText);

// Where each of the six digits and the two colons stand in the 106 x 22 display.
inline constexpr std::array<int, 6> kDigitCellX = {0, 15, 38, 53, 76, 91};
inline constexpr std::array<int, 2> kColonX = {30, 68};

// The volume as the gauge shows it: clamped to 0-100.
int GaugeVolume(int volume);
// The bar's width in pixels: 3.8 pixels for each full 10 % (0 below 10 %, 38 at 100 %).
int VolumeBarWidth(int volume);
// The percentage beside the bar, "35%".
std::string VolumeText(int volume);

}  // namespace tunova
