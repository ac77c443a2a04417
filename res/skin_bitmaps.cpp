// The skin's images and their sizes, roles and key colours.
#include "res/skin_bitmaps.h"

#include <algorithm>
#include <array>

#include "platform/core/data_dir.h"

namespace tunova::res {
namespace {

using R = BitmapRole;

constexpr SkinBitmap kBitmaps[] = {
    // List header and scroll bar.
    {kBmpHeaderTile, 1, 18, R::kImage, kNoKey, "header-tile"},
    {kBmpHeaderLeft, 2, 18, R::kImage, kNoKey, "header-left"},
    {kBmpHeaderRight, 2, 18, R::kImage, kNoKey, "header-right"},
    {kBmpScrollUp, 13, 14, R::kImage, kNoKey, "scroll-up"},
    {kBmpScrollTrack, 13, 1, R::kImage, kNoKey, "scroll-track"},
    {kBmpScrollThumb, 13, 31, R::kImage, kNoKey, "scroll-thumb"},
    {kBmpScrollDown, 13, 14, R::kImage, kNoKey, "scroll-down"},
    // Play modes (radio buttons): one, all, random.
    {kBmpsModeOne.mask, 30, 12, R::kMask, kKeyWhite, "mode-one"},
    {kBmpsModeOne.normal, 30, 12, R::kNormal, kNoKey, "mode-one"},
    {kBmpsModeOne.down, 30, 12, R::kPressed, kNoKey, "mode-one"},
    {kBmpsModeAll.mask, 33, 12, R::kMask, kKeyWhite, "mode-all"},
    {kBmpsModeAll.normal, 33, 12, R::kNormal, kNoKey, "mode-all"},
    {kBmpsModeAll.down, 33, 12, R::kPressed, kNoKey, "mode-all"},
    {kBmpsModeRandom.mask, 34, 12, R::kMask, kKeyWhite, "mode-random"},
    {kBmpsModeRandom.normal, 34, 12, R::kNormal, kNoKey, "mode-random"},
    {kBmpsModeRandom.down, 34, 12, R::kPressed, kNoKey, "mode-random"},
    // Transport.
    {kBmpsNext.mask, 53, 33, R::kMask, kKeyWhite, "next"},
    {kBmpsNext.normal, 53, 33, R::kNormal, kNoKey, "next"},
    {kBmpsNext.down, 53, 33, R::kPressed, kNoKey, "next"},
    {kBmpsNext.over, 53, 33, R::kHover, kNoKey, "next"},
    {kBmpsPlay.mask, 52, 33, R::kMask, kKeyWhite, "play"},
    {kBmpsPlay.normal, 52, 33, R::kNormal, kNoKey, "play"},
    {kBmpsPlay.down, 52, 33, R::kPressed, kNoKey, "play"},
    {kBmpsPlay.over, 52, 33, R::kHover, kNoKey, "play"},
    {kBmpsPrevious.mask, 53, 33, R::kMask, kKeyWhite, "previous"},
    {kBmpsPrevious.normal, 53, 33, R::kNormal, kNoKey, "previous"},
    {kBmpsPrevious.down, 53, 33, R::kPressed, kNoKey, "previous"},
    {kBmpsPrevious.over, 53, 33, R::kHover, kNoKey, "previous"},
    {kBmpsPause.mask, 52, 33, R::kMask, kKeyWhite, "pause"},
    {kBmpsPause.normal, 52, 33, R::kNormal, kNoKey, "pause"},
    {kBmpsPause.down, 52, 33, R::kPressed, kNoKey, "pause"},
    {kBmpsPause.over, 52, 33, R::kHover, kNoKey, "pause"},
    // Playlist editing.
    {kBmpsMoveDown.mask, 24, 20, R::kMask, kKeyWhite, "down"},
    {kBmpsMoveDown.normal, 24, 20, R::kNormal, kNoKey, "down"},
    {kBmpsMoveDown.down, 24, 20, R::kPressed, kNoKey, "down"},
    {kBmpsMoveDown.over, 24, 20, R::kHover, kNoKey, "down"},
    {kBmpsDelete.mask, 54, 20, R::kMask, kKeyWhite, "delete"},
    {kBmpsDelete.normal, 54, 20, R::kNormal, kNoKey, "delete"},
    {kBmpsDelete.down, 54, 20, R::kPressed, kNoKey, "delete"},
    {kBmpsDelete.over, 54, 20, R::kHover, kNoKey, "delete"},
    {kBmpsMoveUp.mask, 24, 20, R::kMask, kKeyWhite, "up"},
    {kBmpsMoveUp.normal, 24, 20, R::kNormal, kNoKey, "up"},
    {kBmpsMoveUp.down, 24, 20, R::kPressed, kNoKey, "up"},
    {kBmpsMoveUp.over, 24, 20, R::kHover, kNoKey, "up"},
    // Search (no mask).
    {kBmpsSearch.normal, 46, 19, R::kNormal, kNoKey, "search"},
    {kBmpsSearch.down, 46, 19, R::kPressed, kNoKey, "search"},
    {kBmpsSearch.over, 46, 19, R::kHover, kNoKey, "search"},
    // Sound.
    {kBmpsMute.mask, 19, 19, R::kMask, kKeyWhite, "mute"},
    {kBmpsMute.normal, 19, 19, R::kNormal, kNoKey, "mute"},
    {kBmpsMute.down, 19, 19, R::kPressed, kNoKey, "mute"},
    {kBmpsMute.over, 19, 19, R::kHover, kNoKey, "mute"},
    {kBmpsUnmute.mask, 19, 19, R::kMask, kKeyWhite, "unmute"},
    {kBmpsUnmute.normal, 19, 19, R::kNormal, kNoKey, "unmute"},
    {kBmpsUnmute.down, 19, 19, R::kPressed, kNoKey, "unmute"},
    {kBmpsUnmute.over, 19, 19, R::kHover, kNoKey, "unmute"},
    // Window buttons.
    {kBmpsMaximise.mask, 15, 15, R::kMask, kKeyWhite, "maximise"},
    {kBmpsMaximise.normal, 15, 15, R::kNormal, kNoKey, "maximise"},
    {kBmpsMaximise.down, 15, 15, R::kPressed, kNoKey, "maximise"},
    {kBmpsMaximise.over, 15, 15, R::kHover, kNoKey, "maximise"},
    {kBmpsRestore.mask, 15, 15, R::kMask, kKeyWhite, "restore"},
    {kBmpsRestore.normal, 15, 15, R::kNormal, kNoKey, "restore"},
    {kBmpsRestore.down, 15, 15, R::kPressed, kNoKey, "restore"},
    {kBmpsRestore.over, 15, 15, R::kHover, kNoKey, "restore"},
    {kBmpsClose.mask, 15, 15, R::kMask, kKeyWhite, "close"},
    {kBmpsClose.normal, 15, 15, R::kNormal, kNoKey, "close"},
    {kBmpsClose.down, 15, 15, R::kPressed, kNoKey, "close"},
    {kBmpsClose.over, 15, 15, R::kHover, kNoKey, "close"},
    {kBmpsMini.mask, 15, 15, R::kMask, kKeyWhite, "mini"},
    {kBmpsMini.normal, 15, 15, R::kNormal, kNoKey, "mini"},
    {kBmpsMini.down, 15, 15, R::kPressed, kNoKey, "mini"},
    {kBmpsMini.over, 15, 15, R::kHover, kNoKey, "mini"},
    {kBmpsMinimise.mask, 15, 15, R::kMask, kKeyWhite, "minimise"},
    {kBmpsMinimise.normal, 15, 15, R::kNormal, kNoKey, "minimise"},
    {kBmpsMinimise.down, 15, 15, R::kPressed, kNoKey, "minimise"},
    {kBmpsMinimise.over, 15, 15, R::kHover, kNoKey, "minimise"},
    // Big-video view: panel button and top-bar button.
    {kBmpsBigVideo.mask, 25, 13, R::kMask, kKeyWhite, "bigvideo"},
    {kBmpsBigVideo.normal, 25, 13, R::kNormal, kNoKey, "bigvideo"},
    {kBmpsBigVideo.down, 25, 13, R::kPressed, kNoKey, "bigvideo"},
    {kBmpsBigVideo.over, 25, 13, R::kHover, kNoKey, "bigvideo"},
    {kBmpsBigVideoTop.over, 22, 15, R::kHover, kNoKey, "bigvideo-top"},
    {kBmpsBigVideoTop.mask, 22, 15, R::kMask, kKeyWhite, "bigvideo-top"},
    {kBmpsBigVideoTop.normal, 22, 15, R::kNormal, kNoKey, "bigvideo-top"},
    {kBmpsBigVideoTop.down, 22, 15, R::kPressed, kNoKey, "bigvideo-top"},
    // Result list pictures: the add picture, and its look under the pointer and when selected.
    {kBmpAddPicture, 92, 16, R::kImage, kKeyMagenta, "add"},
    {kBmpAddHover, 92, 16, R::kHover, kKeyMagenta, "add"},
    {kBmpAddSelected, 92, 16, R::kPressed, kKeyMagenta, "add"},
    // Sort arrows.
    {kBmpSortAscending, 11, 12, R::kImage, kNoKey, "sort-ascending"},
    {kBmpSortDescending, 11, 12, R::kImage, kNoKey, "sort-descending"},
    // Sliders: volume and playing position.
    {kBmpPositionActive, 383, 8, R::kImage, kNoKey, "position-active"},
    {kBmpPositionThumb, 15, 8, R::kImage, kNoKey, "position-thumb"},
    {kBmpVolumeChannel, 75, 12, R::kImage, kNoKey, "volume-channel"},
    {kBmpVolumeActive, 75, 12, R::kImage, kNoKey, "volume-active"},
    {kBmpVolumeThumb, 11, 12, R::kImage, kNoKey, "volume-thumb"},
    {kBmpPositionChannel, 383, 8, R::kImage, kNoKey, "position-channel"},
    // Links and menu.
    {kBmpsHome.over, 40, 16, R::kHover, kNoKey, "home"},
    {kBmpsHome.mask, 40, 16, R::kMask, kKeyWhite, "home"},
    {kBmpsHome.normal, 40, 16, R::kNormal, kNoKey, "home"},
    {kBmpsHome.down, 40, 16, R::kPressed, kNoKey, "home"},
    {kBmpsMore.normal, 105, 16, R::kNormal, kNoKey, "more"},
    {kBmpsMore.down, 105, 16, R::kPressed, kNoKey, "more"},
    {kBmpsMore.over, 105, 16, R::kHover, kNoKey, "more"},
    {kBmpsMore.mask, 105, 16, R::kMask, kKeyWhite, "more"},
    {kBmpsQna.over, 40, 16, R::kHover, kNoKey, "qna"},
    {kBmpsQna.mask, 40, 16, R::kMask, kKeyWhite, "qna"},
    {kBmpsQna.normal, 40, 16, R::kNormal, kNoKey, "qna"},
    {kBmpsQna.down, 40, 16, R::kPressed, kNoKey, "qna"},
    {kBmpsMenu.over, 41, 17, R::kHover, kNoKey, "menu"},
    {kBmpsMenu.mask, 41, 17, R::kMask, kKeyWhite, "menu"},
    {kBmpsMenu.normal, 41, 17, R::kNormal, kNoKey, "menu"},
    {kBmpsMenu.down, 41, 17, R::kPressed, kNoKey, "menu"},
    // Country indicator: one shared mask; the four countries use one image as normal and
    // pressed.
    {kBmpsCountryAll.mask, 124, 19, R::kMask, kKeyWhite, "country"},
    {kBmpsCountryAll.normal, 124, 19, R::kNormal, kNoKey, "country-all"},
    {kBmpsCountryAll.down, 124, 19, R::kPressed, kNoKey, "country-all"},
    {kBmpsCountryAll.over, 124, 19, R::kHover, kNoKey, "country-all"},
    {kBmpsCountryChina.over, 124, 19, R::kHover, kNoKey, "country-china"},
    {kBmpsCountryKorea.normal, 124, 19, R::kNormal, kNoKey, "country-korea"},
    {kBmpsCountryKorea.over, 124, 19, R::kHover, kNoKey, "country-korea"},
    {kBmpsCountryUsa.normal, 124, 19, R::kNormal, kNoKey, "country-usa"},
    {kBmpsCountryUsa.over, 124, 19, R::kHover, kNoKey, "country-usa"},
    {kBmpsCountryJapan.normal, 124, 19, R::kNormal, kNoKey, "country-japan"},
    {kBmpsCountryJapan.over, 124, 19, R::kHover, kNoKey, "country-japan"},
    {kBmpsCountryChina.normal, 124, 19, R::kNormal, kNoKey, "country-china"},
    // No-connection notice.
    {kBmpsNoticeOk.over, 54, 28, R::kHover, kNoKey, "notice-ok"},
    {kBmpsNoticeOk.mask, 54, 28, R::kMask, kKeyWhite, "notice-ok"},
    {kBmpsNoticeOk.normal, 54, 28, R::kNormal, kNoKey, "notice-ok"},
    {kBmpsNoticeOk.down, 54, 28, R::kPressed, kNoKey, "notice-ok"},
    // Settings dialog (no masks).
    {kBmpsSettingsSave.over, 72, 22, R::kHover, kNoKey, "settings-save"},
    {kBmpsSettingsCancel.normal, 72, 22, R::kNormal, kNoKey, "settings-cancel"},
    {kBmpsSettingsCancel.down, 72, 22, R::kPressed, kNoKey, "settings-cancel"},
    {kBmpsSettingsCancel.over, 72, 22, R::kHover, kNoKey, "settings-cancel"},
    {kBmpsSettingsSave.normal, 72, 22, R::kNormal, kNoKey, "settings-save"},
    {kBmpsSettingsSave.down, 72, 22, R::kPressed, kNoKey, "settings-save"},
    {kBmpsSettingsClose.over, 15, 15, R::kHover, kNoKey, "settings-close"},
    {kBmpsSettingsClose.normal, 15, 15, R::kNormal, kNoKey, "settings-close"},
    {kBmpsSettingsClose.down, 15, 15, R::kPressed, kNoKey, "settings-close"},
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
