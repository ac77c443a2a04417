// The skin's images and their sizes, roles and key colours.
#include "res/skin_bitmaps.h"

#include <algorithm>
#include <array>

#include "platform/data_dir.h"

namespace tunova::res {
namespace {

using R = BitmapRole;

constexpr SkinBitmap kBitmaps[] = {
    // List header and scroll bar.
    {129, 1, 18, R::kImage, kNoKey, "header-tile"},
    {130, 2, 18, R::kImage, kNoKey, "header-left"},
    {131, 2, 18, R::kImage, kNoKey, "header-right"},
    {136, 13, 14, R::kImage, kNoKey, "scroll-up"},
    {137, 13, 1, R::kImage, kNoKey, "scroll-track"},
    {138, 13, 31, R::kImage, kNoKey, "scroll-thumb"},
    {139, 13, 14, R::kImage, kNoKey, "scroll-down"},
    // Play modes (radio buttons): one, all, random.
    {142, 30, 12, R::kMask, kKeyWhite, "mode-one"},
    {143, 30, 12, R::kNormal, kNoKey, "mode-one"},
    {145, 30, 12, R::kPressed, kNoKey, "mode-one"},
    {146, 33, 12, R::kMask, kKeyWhite, "mode-all"},
    {147, 33, 12, R::kNormal, kNoKey, "mode-all"},
    {149, 33, 12, R::kPressed, kNoKey, "mode-all"},
    {185, 34, 12, R::kMask, kKeyWhite, "mode-random"},
    {186, 34, 12, R::kNormal, kNoKey, "mode-random"},
    {188, 34, 12, R::kPressed, kNoKey, "mode-random"},
    // Transport.
    {150, 53, 33, R::kMask, kKeyWhite, "next"},
    {151, 53, 33, R::kNormal, kNoKey, "next"},
    {152, 53, 33, R::kPressed, kNoKey, "next"},
    {153, 53, 33, R::kHover, kNoKey, "next"},
    {154, 52, 33, R::kMask, kKeyWhite, "play"},
    {155, 52, 33, R::kNormal, kNoKey, "play"},
    {156, 52, 33, R::kPressed, kNoKey, "play"},
    {157, 52, 33, R::kHover, kNoKey, "play"},
    {170, 53, 33, R::kMask, kKeyWhite, "previous"},
    {171, 53, 33, R::kNormal, kNoKey, "previous"},
    {172, 53, 33, R::kPressed, kNoKey, "previous"},
    {173, 53, 33, R::kHover, kNoKey, "previous"},
    {189, 52, 33, R::kMask, kKeyWhite, "pause"},
    {190, 52, 33, R::kNormal, kNoKey, "pause"},
    {191, 52, 33, R::kPressed, kNoKey, "pause"},
    {192, 52, 33, R::kHover, kNoKey, "pause"},
    // Playlist editing.
    {158, 24, 20, R::kMask, kKeyWhite, "down"},
    {159, 24, 20, R::kNormal, kNoKey, "down"},
    {160, 24, 20, R::kPressed, kNoKey, "down"},
    {161, 24, 20, R::kHover, kNoKey, "down"},
    {162, 54, 20, R::kMask, kKeyWhite, "delete"},
    {163, 54, 20, R::kNormal, kNoKey, "delete"},
    {164, 54, 20, R::kPressed, kNoKey, "delete"},
    {165, 54, 20, R::kHover, kNoKey, "delete"},
    {166, 24, 20, R::kMask, kKeyWhite, "up"},
    {167, 24, 20, R::kNormal, kNoKey, "up"},
    {168, 24, 20, R::kPressed, kNoKey, "up"},
    {169, 24, 20, R::kHover, kNoKey, "up"},
    // Search (no mask).
    {174, 46, 19, R::kNormal, kNoKey, "search"},
    {175, 46, 19, R::kPressed, kNoKey, "search"},
    {176, 46, 19, R::kHover, kNoKey, "search"},
    // Sound.
    {177, 19, 19, R::kMask, kKeyWhite, "mute"},
    {178, 19, 19, R::kNormal, kNoKey, "mute"},
    {179, 19, 19, R::kPressed, kNoKey, "mute"},
    {180, 19, 19, R::kHover, kNoKey, "mute"},
    {181, 19, 19, R::kMask, kKeyWhite, "unmute"},
    {182, 19, 19, R::kNormal, kNoKey, "unmute"},
    {183, 19, 19, R::kPressed, kNoKey, "unmute"},
    {184, 19, 19, R::kHover, kNoKey, "unmute"},
    // Window buttons.
    {193, 15, 15, R::kMask, kKeyWhite, "maximise"},
    {194, 15, 15, R::kNormal, kNoKey, "maximise"},
    {195, 15, 15, R::kPressed, kNoKey, "maximise"},
    {196, 15, 15, R::kHover, kNoKey, "maximise"},
    {197, 15, 15, R::kMask, kKeyWhite, "restore"},
    {198, 15, 15, R::kNormal, kNoKey, "restore"},
    {199, 15, 15, R::kPressed, kNoKey, "restore"},
    {200, 15, 15, R::kHover, kNoKey, "restore"},
    {201, 15, 15, R::kMask, kKeyWhite, "close"},
    {202, 15, 15, R::kNormal, kNoKey, "close"},
    {203, 15, 15, R::kPressed, kNoKey, "close"},
    {204, 15, 15, R::kHover, kNoKey, "close"},
    {205, 15, 15, R::kMask, kKeyWhite, "mini"},
    {206, 15, 15, R::kNormal, kNoKey, "mini"},
    {207, 15, 15, R::kPressed, kNoKey, "mini"},
    {208, 15, 15, R::kHover, kNoKey, "mini"},
    {209, 15, 15, R::kMask, kKeyWhite, "minimise"},
    {210, 15, 15, R::kNormal, kNoKey, "minimise"},
    {211, 15, 15, R::kPressed, kNoKey, "minimise"},
    {212, 15, 15, R::kHover, kNoKey, "minimise"},
    // Big-video view: panel button and top-bar button.
    {213, 25, 13, R::kMask, kKeyWhite, "bigvideo"},
    {214, 25, 13, R::kNormal, kNoKey, "bigvideo"},
    {215, 25, 13, R::kPressed, kNoKey, "bigvideo"},
    {216, 25, 13, R::kHover, kNoKey, "bigvideo"},
    {242, 22, 15, R::kHover, kNoKey, "bigvideo-top"},
    {243, 22, 15, R::kMask, kKeyWhite, "bigvideo-top"},
    {244, 22, 15, R::kNormal, kNoKey, "bigvideo-top"},
    {245, 22, 15, R::kPressed, kNoKey, "bigvideo-top"},
    // Result list pictures: the add picture, and its look under the pointer and when selected.
    {231, 92, 16, R::kImage, kKeyMagenta, "add"},
    {296, 92, 16, R::kHover, kKeyMagenta, "add"},
    {297, 92, 16, R::kPressed, kKeyMagenta, "add"},
    // Sort arrows.
    {232, 11, 12, R::kImage, kNoKey, "sort-ascending"},
    {233, 11, 12, R::kImage, kNoKey, "sort-descending"},
    // Sliders: volume and playing position.
    {235, 383, 8, R::kImage, kNoKey, "position-active"},
    {236, 15, 8, R::kImage, kNoKey, "position-thumb"},
    {237, 75, 12, R::kImage, kNoKey, "volume-channel"},
    {238, 75, 12, R::kImage, kNoKey, "volume-active"},
    {239, 11, 12, R::kImage, kNoKey, "volume-thumb"},
    {240, 383, 8, R::kImage, kNoKey, "position-channel"},
    // Links and menu.
    {246, 40, 16, R::kHover, kNoKey, "home"},
    {247, 40, 16, R::kMask, kKeyWhite, "home"},
    {252, 40, 16, R::kNormal, kNoKey, "home"},
    {253, 40, 16, R::kPressed, kNoKey, "home"},
    {248, 105, 16, R::kNormal, kNoKey, "more"},
    {249, 105, 16, R::kPressed, kNoKey, "more"},
    {250, 105, 16, R::kHover, kNoKey, "more"},
    {251, 105, 16, R::kMask, kKeyWhite, "more"},
    {268, 40, 16, R::kHover, kNoKey, "qna"},
    {269, 40, 16, R::kMask, kKeyWhite, "qna"},
    {270, 40, 16, R::kNormal, kNoKey, "qna"},
    {271, 40, 16, R::kPressed, kNoKey, "qna"},
    {277, 41, 17, R::kHover, kNoKey, "menu"},
    {278, 41, 17, R::kMask, kKeyWhite, "menu"},
    {279, 41, 17, R::kNormal, kNoKey, "menu"},
    {280, 41, 17, R::kPressed, kNoKey, "menu"},
    // Country indicator: one shared mask; the four countries use one image as normal and
    // pressed.
    {254, 124, 19, R::kMask, kKeyWhite, "country"},
    {255, 124, 19, R::kNormal, kNoKey, "country-all"},
    {256, 124, 19, R::kPressed, kNoKey, "country-all"},
    {257, 124, 19, R::kHover, kNoKey, "country-all"},
    {260, 124, 19, R::kHover, kNoKey, "country-china"},
    {261, 124, 19, R::kNormal, kNoKey, "country-korea"},
    {262, 124, 19, R::kHover, kNoKey, "country-korea"},
    {263, 124, 19, R::kNormal, kNoKey, "country-usa"},
    {264, 124, 19, R::kHover, kNoKey, "country-usa"},
    {265, 124, 19, R::kNormal, kNoKey, "country-japan"},
    {266, 124, 19, R::kHover, kNoKey, "country-japan"},
    {267, 124, 19, R::kNormal, kNoKey, "country-china"},
    // No-connection notice.
    {273, 54, 28, R::kHover, kNoKey, "notice-ok"},
    {274, 54, 28, R::kMask, kKeyWhite, "notice-ok"},
    {275, 54, 28, R::kNormal, kNoKey, "notice-ok"},
    {276, 54, 28, R::kPressed, kNoKey, "notice-ok"},
    // Settings dialog (no masks).
    {282, 72, 22, R::kHover, kNoKey, "settings-save"},
    {283, 72, 22, R::kNormal, kNoKey, "settings-cancel"},
    {284, 72, 22, R::kPressed, kNoKey, "settings-cancel"},
    {285, 72, 22, R::kHover, kNoKey, "settings-cancel"},
    {286, 72, 22, R::kNormal, kNoKey, "settings-save"},
    {287, 72, 22, R::kPressed, kNoKey, "settings-save"},
    {290, 15, 15, R::kHover, kNoKey, "settings-close"},
    {291, 15, 15, R::kNormal, kNoKey, "settings-close"},
    {292, 15, 15, R::kPressed, kNoKey, "settings-close"},
};

constexpr SkinFile kFiles[] = {
    {"tunova_logo.bmp", 81, 19, kNoKey, "logo"},
    {"play01_on.bmp", 25, 14, kNoKey, "indicator-one"},
    {"play02_on.bmp", 25, 14, kNoKey, "indicator-all"},
    {"play03_on.bmp", 25, 14, kNoKey, "indicator-random"},
    {"volume10.bmp", 38, 10, kKeyRed, "volume-bar"},
    {"skin_bg01.bmp", 396, 148, kNoKey, "panel"},
    {"bg_dot.bmp", 2, 2, kNoKey, "interior"},
    {"top_left.bmp", 6, 27, kNoKey, "top-left"},
    {"top_bg.bmp", 1, 27, kNoKey, "top-tile"},
    {"top_right.bmp", 85, 27, kNoKey, "top-right"},
    {"bottom_left.bmp", 5, 25, kNoKey, "bottom-left"},
    {"bottom_bg.bmp", 1, 25, kNoKey, "bottom-tile"},
    {"bottom_right.bmp", 14, 25, kNoKey, "bottom-right"},
    {"left_bg.bmp", 2, 2, kNoKey, "left-border"},
    {"right_bg.bmp", 2, 1, kNoKey, "right-border"},
    {"center_bg_dot.bmp", 1, 2, kNoKey, "dot-line"},
    {"seach_bg.bmp", 2, 2, kNoKey, "list-area"},
    {"number0.bmp", 15, 22, kKeyRed, "digit-0"},
    {"number1.bmp", 15, 22, kKeyRed, "digit-1"},
    {"number2.bmp", 15, 22, kKeyRed, "digit-2"},
    {"number3.bmp", 15, 22, kKeyRed, "digit-3"},
    {"number4.bmp", 15, 22, kKeyRed, "digit-4"},
    {"number5.bmp", 15, 22, kKeyRed, "digit-5"},
    {"number6.bmp", 15, 22, kKeyRed, "digit-6"},
    {"number7.bmp", 15, 22, kKeyRed, "digit-7"},
    {"number8.bmp", 15, 22, kKeyRed, "digit-8"},
    {"number9.bmp", 15, 22, kKeyRed, "digit-9"},
    {"colon1.bmp", 8, 22, kKeyRed, "colon"},
    {"bg_menu.bmp", 399, 250, kNoKey, "settings-background"},
    {"bg_connectno.bmp", 398, 232, kNoKey, "notice-background"},
};

constexpr std::array kIconSizes = {16, 24, 32, 48, 64, 128, 256};

}  // namespace

std::span<const SkinBitmap> SkinBitmaps() {
    return kBitmaps;
}

const SkinBitmap* FindSkinBitmap(int id) {
    const auto it = std::find_if(std::begin(kBitmaps), std::end(kBitmaps),
                                 [id](const SkinBitmap& b) { return b.id == id; });
    return it != std::end(kBitmaps) ? &*it : nullptr;
}

std::span<const SkinFile> SkinFiles() {
    return kFiles;
}

std::string SkinFilePath(std::string_view name) {
    return plat::DataFile("skin/" + std::string(name));
}

std::span<const int> IconSizes() {
    return kIconSizes;
}

}  // namespace tunova::res
