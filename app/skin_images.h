// The main window's skin files: the frame pieces, the player panel, the play-mode indicators,
// the time digits and the volume bar, read from the skin folder once at start-up. A file that
// is missing or unreadable leaves its image null; whatever draws it then shows a plain colour
// or nothing, and everything else is drawn as usual.
#pragma once

#include <array>

#include "platform/draw/draw.h"

namespace tunova {

struct SkinImages {
    plat::Bitmap logo;                      // "tunova_logo.bmp", 81 x 19
    std::array<plat::Bitmap, 3> playModes;  // by play mode 1 all, 2 one, 3 random; 25 x 14
    plat::Bitmap volumeBar;                 // "volume10.bmp", red is transparent
    plat::Bitmap panel;                     // "skin_bg01.bmp", 396 x 148
    plat::Bitmap interior;                  // "bg_dot.bmp": its top-left pixel
    plat::Bitmap topLeft, topTile, topRight;
    plat::Bitmap bottomLeft, bottomTile, bottomRight;
    plat::Bitmap leftBorder;              // "left_bg.bmp": its top-left 2 x 2 pixels
    plat::Bitmap rightBorder;             // "right_bg.bmp": its top-left 2 x 1 pixels
    plat::Bitmap dotLine;                 // "center_bg_dot.bmp", 1 x 2
    plat::Bitmap listArea;                // "seach_bg.bmp": its top-left pixel, big-video view
    std::array<plat::Bitmap, 10> digits;  // "number0.bmp" ... "number9.bmp", red transparent
    plat::Bitmap colon;                   // "colon1.bmp", red transparent

    // Reads every file from the skin folder (res::SkinFilePath); never fails as a whole.
    void Load();
    // Frees every image.
    void Release();
};

}  // namespace tunova
