#include "playback/time_text.h"

#include <cstdio>

namespace tunova {

std::string CurrentTimeText(int seconds) {
    const int t = seconds > 0 ? seconds : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t / 3600, (t % 3600) / 60, t % 60);
    return text;
}

std::string DurationText(int seconds) {
    const int t = seconds > 0 ? seconds : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", t / 60, t % 60);
    return text;
}

}  // namespace tunova
