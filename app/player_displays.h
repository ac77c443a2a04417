// The displays drawn over the main window's background: the six-digit time, the volume bar
// and its percentage, the play-time text, the now-playing title and the result count. Each is
// drawn from the texts and numbers the window keeps; none asks the player for anything.
#pragma once

#include <string_view>

#include "app/skin_images.h"
#include "app/title_marquee.h"
#include "platform/draw/draw.h"

namespace tunova {

// The time text "HH:MM:SS" as six digit images and two colons, red transparent, on a black
// 106 x 22 display at its fixed place. Non-digits are skipped; from 100 hours on it shows
// 99:59:59.
void DrawTimeDigits(plat::DC& dc, const SkinImages& skin, std::string_view timeText);

// The volume bar (3.8 pixels for each full 10 %, at most 38) and the percentage beside it; the
// volume is taken as 0-100. Right of the bar the panel shows through.
void DrawVolumeGauge(plat::DC& dc, const SkinImages& skin, int volume);

// What DrawInfoTexts shows.
struct InfoTexts {
    std::string_view title;        // the now-playing title
    std::string_view playTime;     // the video's length, "%02d:%02d"
    std::string_view resultCount;  // "%d" of the result list's rows
    bool listShown = true;         // false in big-video view: no count
};
// The title (placed by `marquee`), the play-time text and, while the result list shows, the
// result-count label and count. Leaves `dc` without a clip of its own.
void DrawInfoTexts(plat::DC& dc, const InfoTexts& texts, TitleMarquee& marquee);

}  // namespace tunova
