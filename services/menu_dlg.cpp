// The settings dialog: its layout, skin, shape, and loading and saving the two settings.
#include "services/menu_dlg.h"

#include <utility>

#include "controls/rounded_region.h"
#include "res/resource_ids.h"
#include "res/skin_bitmaps.h"
#include "services/settings.h"

namespace tunova {
namespace {

constexpr plat::Size kDialogSize{399, 250};
constexpr plat::Rect kSaveRect = plat::Rect::FromXYWH(122, 219, 72, 22);
constexpr plat::Rect kCancelRect = plat::Rect::FromXYWH(203, 219, 72, 22);
constexpr plat::Rect kCloseRect = plat::Rect::FromXYWH(375, 7, 15, 15);
constexpr plat::Rect kAutostartRect = plat::Rect::FromXYWH(30, 70, 13, 13);
constexpr plat::Rect kClickComboRect = plat::Rect::FromXYWH(197, 150, 147, 20);
// What shows when the background image is missing.
constexpr plat::ColorRef kPlainBackground = plat::Rgb(26, 29, 36);

struct ButtonSkin {
    res::ButtonBitmaps bitmaps;
    const char* tooltip;
};

}  // namespace

CMenuDlg::CMenuDlg(bool& doubleClickAdds, std::string executablePath, plat::SettingsStore store)
    : plat::Dialog(res::kIddSettings, kDialogSize),
      doubleClickAdds_(doubleClickAdds),
      executablePath_(std::move(executablePath)),
      store_(std::move(store)) {
    Messages().OnCommand(res::kIdcSettingsSave, [this] { SaveSettings(); });
    for (int id : {res::kIdcSettingsCancel, res::kIdcSettingsClose}) {
        Messages().OnCommand(id, [this] { SendCommand(plat::kIdCancel); });
    }
    Messages().OnMessage(plat::kWmEraseBkgnd, [this](plat::WParam, plat::LParam) {
        EraseBackground();
        return plat::LResult{1};
    });
}

bool CMenuDlg::OnInitDialog() {
    save_.Create(this, res::kIdcSettingsSave, "", kSaveRect);
    cancel_.Create(this, res::kIdcSettingsCancel, "", kCancelRect);
    close_.Create(this, res::kIdcSettingsClose, "", kCloseRect);
    autostart_.Create(this, res::kIdcAutostartCheck, "", kAutostartRect);
    click_.Create(this, res::kIdcClickCombo, kClickComboRect);
    FillClickCombo();
    // Named by the text beside them in the dialog's picture.
    autostart_.SetAccessibleName("로그인하면 투노바를 자동으로 실행합니다");
    click_.SetAccessibleName("검색 결과를 더블클릭하면");
    const plat::Rect frame = WindowRect();
    Move(frame.left, frame.top, kDialogSize.cx, kDialogSize.cy);
    autostart_.Move(kAutostartRect);
    click_.Move(kClickComboRect);
    SkinButtons();
    const plat::Rect client = ClientRect();
    SetRegion(RoundedDialogRegion({client.Width(), client.Height()}));
    LoadSettings();
    return true;
}

void CMenuDlg::FillClickCombo() {
    click_.AddString("바로 음악듣기");
    click_.AddString("재생목록에 추가하기");
    click_.SetCurSel(0);
}

void CMenuDlg::SkinButtons() {
    background_.Reset();
    background_.LoadFile(res::SkinFilePath("bg_menu.bmp"));
    const std::pair<CSkinButton*, ButtonSkin> skins[] = {
        {&save_, {res::kBmpsSettingsSave, "저장"}},
        {&cancel_, {res::kBmpsSettingsCancel, "취소"}},
        {&close_, {res::kBmpsSettingsClose, "닫기"}},
    };
    const plat::Rect rects[] = {kSaveRect, kCancelRect, kCloseRect};
    for (int i = 0; i < 3; ++i) {
        CSkinButton& button = *skins[i].first;
        const ButtonSkin& skin = skins[i].second;
        button.ApplySkin(skin.bitmaps);
        button.AttachTooltip(skin.tooltip);
        button.Move(rects[i]);
    }
}

void CMenuDlg::LoadSettings() {
    const MenuSettings stored = tunova::LoadSettings(store_, executablePath_);
    click_.SetCurSel(stored.clickSelection != 0 ? 1 : 0);
    autostart_.SetCheck(stored.autostart);
}

void CMenuDlg::SaveSettings() {
    MenuSettings chosen;
    chosen.autostart = autostart_.IsChecked();
    chosen.clickSelection = click_.CurSel();
    doubleClickAdds_ = tunova::SaveSettings(store_, chosen, executablePath_) == 1;
    SendCommand(plat::kIdCancel);
}

void CMenuDlg::EraseBackground() {
    plat::DC* dc = plat::DC::ForPaint(*this);
    if (dc == nullptr) {
        return;
    }
    if (save_.IsCreated()) {
        const plat::Rect button = save_.WindowRect();
        const plat::Point topLeft = ScreenToClient({button.left, button.top});
        dc->ExcludeClipRect(
            plat::Rect::FromXYWH(topLeft.x, topLeft.y, button.Width(), button.Height()));
    }
    const plat::Rect client = ClientRect();
    if (background_.IsNull()) {
        dc->FillSolidRect(client, kPlainBackground);
        return;
    }
    dc->BitBlt(0, 0, client.Width(), client.Height(), background_, 0, 0);
}

}  // namespace tunova
