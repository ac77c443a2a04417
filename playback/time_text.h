// The time texts of the player's displays.
#pragma once

#include <string>

namespace tunova {

// "HH:MM:SS" of whole seconds (negatives count as 0); hours may exceed two digits.
std::string CurrentTimeText(int seconds);
// "MM:SS" of a length in whole seconds (negatives count as 0); minutes may exceed 99.
std::string DurationText(int seconds);

}  // namespace tunova
