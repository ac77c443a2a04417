#include "app/time_digits.h"

#include <algorithm>

namespace tunova {

std::array<int, 6> TimeDigitCells(std::string_view timeText) {
    std::string digits;
    for (char c : timeText) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    if (digits.size() > 6) {
        digits = "995959";
    }
    digits.insert(0, 6 - digits.size(), '0');
    std::array<int, 6> cells{};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        cells[i] = digits[i] - '0';
    }
    return cells;
}

int GaugeVolume(int volume) {
    return std::clamp(volume, 0, 100);
}

int VolumeBarWidth(int volume) {
    // (volume / 10) * 3.8, truncated, in whole numbers.
    return GaugeVolume(volume) / 10 * 38 / 10;
}

std::string VolumeText(int volume) {
    return std::to_string(GaugeVolume(volume)) + "%";
}

}  // namespace tunova
