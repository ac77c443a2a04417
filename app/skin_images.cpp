#include "app/skin_images.h"

#include <string>

#include "res/skin_bitmaps.h"

namespace tunova {
namespace {

void LoadSkinFile(plat::Bitmap& image, const std::string& name) {
    image.Reset();
    image.LoadFile(res::SkinFilePath(name));
}

}  // namespace

void SkinImages::Load() {
    LoadSkinFile(logo, "tunova_logo.bmp");
    LoadSkinFile(playModes[0], "play02_on.bmp");
    LoadSkinFile(playModes[1], "play01_on.bmp");
    LoadSkinFile(playModes[2], "play03_on.bmp");
    LoadSkinFile(volumeBar, "volume10.bmp");
    LoadSkinFile(panel, "skin_bg01.bmp");
    LoadSkinFile(interior, "bg_dot.bmp");
    LoadSkinFile(topLeft, "top_left.bmp");
    LoadSkinFile(topTile, "top_bg.bmp");
    LoadSkinFile(topRight, "top_right.bmp");
    LoadSkinFile(bottomLeft, "bottom_left.bmp");
    LoadSkinFile(bottomTile, "bottom_bg.bmp");
    LoadSkinFile(bottomRight, "bottom_right.bmp");
    LoadSkinFile(leftBorder, "left_bg.bmp");
    LoadSkinFile(rightBorder, "right_bg.bmp");
    LoadSkinFile(dotLine, "center_bg_dot.bmp");
    LoadSkinFile(listArea, "seach_bg.bmp");
    for (int d = 0; d < 10; ++d) {
        LoadSkinFile(digits[d], "number" + std::to_string(d) + ".bmp");
    }
    LoadSkinFile(colon, "colon1.bmp");
}

void SkinImages::Release() {
    *this = SkinImages{};
}

}  // namespace tunova
