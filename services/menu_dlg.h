// CMenuDlg: the settings dialog (template kIddSettings), a borderless skinned window with rounded
// corners: the autostart check box (kIdcAutostartCheck), the double-click combo box
// (kIdcClickCombo: "바로 음악듣기" plays at once, "재생목록에 추가하기" adds to the playlist), and
// the save, cancel and close buttons (kIdcSettingsSave, kIdcSettingsCancel, kIdcSettingsClose).
// Every opening reads the stored settings afresh; save stores both, writes or removes the autostart
// entry and hands the double-click flag to the main window; cancel and close store nothing.
#pragma once

#include <string>

#include "controls/skin_button.h"
#include "platform/controls/controls.h"
#include "platform/desktop/machine_services.h"
#include "platform/draw/draw.h"
#include "platform/window/dialog.h"

namespace tunova {

class CMenuDlg : public plat::Dialog {
  public:
    // `doubleClickAdds`: the main window's double-click action flag, which a save sets.
    // `executablePath`: the program the autostart entry starts. The settings are read from and
    // saved to `store`.
    CMenuDlg(bool& doubleClickAdds, std::string executablePath, plat::SettingsStore store);

    plat::CheckBox& AutostartCheck() { return autostart_; }
    plat::ComboBox& ClickCombo() { return click_; }
    CSkinButton& SaveButton() { return save_; }
    CSkinButton& CancelButton() { return cancel_; }
    CSkinButton& CloseButton() { return close_; }
    // False when "bg_menu.bmp" could not be read (a plain background shows instead).
    bool HasBackgroundImage() const { return !background_.IsNull(); }

  protected:
    bool OnInitDialog() override;

  private:
    void FillClickCombo();
    void SkinButtons();
    // Shows the stored settings.
    void LoadSettings();
    // kIdcSettingsSave: stores the settings, sets the main window's flag, closes.
    void SaveSettings();
    void EraseBackground();

    bool& doubleClickAdds_;
    std::string executablePath_;
    plat::SettingsStore store_;
    CSkinButton save_;
    CSkinButton cancel_;
    CSkinButton close_;
    plat::CheckBox autostart_;
    plat::ComboBox click_;
    plat::Bitmap background_;
};

}  // namespace tunova
