// The skin's artwork: one coherent dark look in the player's palette. Each function draws one
// image of the skin tables on a canvas whose units are the image's own pixels.
#pragma once

#include <string_view>

#include "platform/draw/canvas.h"
#include "res/skin_bitmaps.h"

namespace skingen {

// The palette.
inline constexpr plat::ColorRef kBlack = plat::Rgb(0, 0, 0);
inline constexpr plat::ColorRef kSlate = plat::Rgb(42, 46, 57);     // selected rows, panels
inline constexpr plat::ColorRef kSteel = plat::Rgb(147, 175, 185);  // symbols, playlist text
inline constexpr plat::ColorRef kYellow = plat::Rgb(250, 207, 0);   // now playing, hover
inline constexpr plat::ColorRef kOrange = plat::Rgb(255, 182, 2);   // pressed, counts
inline constexpr plat::ColorRef kInterior = plat::Rgb(20, 22, 28);  // the window's interior
inline constexpr plat::ColorRef kLcd = plat::Rgb(10, 12, 10);       // the time display
inline constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
inline constexpr plat::ColorRef kPaleText = plat::Rgb(210, 210, 210);

// Draws a numbered bitmap (button states and masks, list, scroll bar and slider pieces).
// Returns false for an art name it does not know.
bool DrawBitmapArt(plat::Canvas& canvas, const tunova::res::SkinBitmap& bitmap);
// Draws a skin file.
bool DrawFileArt(plat::Canvas& canvas, const tunova::res::SkinFile& file);
// Draws the program icon at `size` units square.
void DrawIconArt(plat::Canvas& canvas, int size);

// Pieces shared between the files.
bool DrawButtonArt(plat::Canvas& canvas, std::string_view art, tunova::res::BitmapRole role,
                   int width, int height);
bool DrawPieceArt(plat::Canvas& canvas, std::string_view art, tunova::res::BitmapRole role,
                  int width, int height);

}  // namespace skingen
