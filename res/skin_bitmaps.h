// The skin's images: every numbered bitmap resource with its size, role and key colour, the
// skin files that lie in the skin folder, and the sizes of the program icon. The skin
// generator draws from these tables and the tests check the drawn images against them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "res/resource_ids.h"

namespace tunova::res {

// What an image is for. Button states are drawn for the button's own shape; a mask is black
// inside the shape and pure white outside it; an image is any other piece of the skin.
enum class BitmapRole { kNormal, kPressed, kHover, kDisabled, kMask, kImage };

// Colours as 0x00BBGGRR. kNoKey: every pixel is drawn.
inline constexpr std::uint32_t kNoKey = 0xFF000000;
inline constexpr std::uint32_t kKeyRed = 0x000000FF;      // RGB(255, 0, 0)
inline constexpr std::uint32_t kKeyMagenta = 0x00FF00FF;  // RGB(255, 0, 255)
inline constexpr std::uint32_t kKeyWhite = 0x00FFFFFF;    // outside a mask's shape

struct SkinBitmap {
    int id;
    int width;
    int height;
    BitmapRole role;
    std::uint32_t key;  // pixels of this colour are not drawn (kNoKey: none)
    const char* art;    // what the image shows, for the generator
};

struct SkinFile {
    const char* name;  // file name in the skin folder
    int width;
    int height;
    std::uint32_t key;
    const char* art;
};

// Every numbered bitmap resource of the program, by id.
std::span<const SkinBitmap> SkinBitmaps();
// The entry of `id`, or null when the program has no such bitmap.
const SkinBitmap* FindSkinBitmap(int id);
// Every skin file of the skin folder.
std::span<const SkinFile> SkinFiles();
// The path of skin file `name`: the "skin" folder of the data folder (platform/core/data_dir.h).
std::string SkinFilePath(std::string_view name);

// The program icon (icon resource kIconMain): one square image per size.
std::span<const int> IconSizes();

// Registers the images compiled into the program as its numbered bitmap resources and its
// icon (generated at build time from these tables). Later calls do nothing.
void RegisterSkinResources();
// How many bytes of encoded images the program carries, at single and at double density.
std::size_t SkinResourceBytes(bool highDensity);

}  // namespace tunova::res
