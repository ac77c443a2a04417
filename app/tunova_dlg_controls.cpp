// Creation of the main window's controls from the control table (app/main_controls.h) and their
// placement in the normal layout (app/main_layout.h).
#include "app/control_names.h"
#include "app/tunova_dlg.h"
#include "res/resource_ids.h"

namespace tunova {

void CTunovaDlg::CreateControls() {
    const plat::Rect none{};
    for (const MainControl& row : MainControls()) {
        std::uint32_t style = plat::kStyleChild;
        if (row.shown) {
            style |= plat::kStyleVisible;
        }
        if (row.startsGroup) {
            style |= plat::kStyleGroup;
        }
        switch (row.kind) {
            case ControlKind::kSkinButton:
                SkinButton(row.id)->Create(this, row.id, "", none, style);
                break;
            case ControlKind::kRadioButton:
                SkinButton(row.id)->Create(this, row.id, "", none,
                                           style | plat::kBsAutoRadioButton);
                break;
            case ControlKind::kPushButton:
                static_cast<plat::PushButton*>(Button(row.id))
                    ->Create(this, row.id, row.caption, none, style);
                break;
            case ControlKind::kResultList:
                resultList_.Create(this, row.id, none, style);
                break;
            case ControlKind::kPlaylist:
                playlistView_.Create(this, row.id, none, style);
                playlistView_.AcceptFileDrops(true);
                break;
            case ControlKind::kVolumeSlider:
                volumeSlider_.Create(this, row.id, none, style);
                break;
            case ControlKind::kPositionSlider:
                positionSlider_.Create(this, row.id, none, style);
                break;
            case ControlKind::kCountryCombo:
                countryCombo_.Create(this, row.id, none, style);
                break;
            case ControlKind::kSearchEdit:
                searchEdit_.Create(this, row.id, none, style);
                break;
            case ControlKind::kVideo:
                // Created once the page can load (CreateBrowserAndNavigate).
                break;
        }
    }
    NameMainWindowControls(*this);
}

plat::Rect CTunovaDlg::NormalLayoutRect(int id) const {
    const plat::Rect client = ClientRect();
    const int w = client.Width() > 0 ? client.Width() : kNormalWidth;
    const int h = client.Height() > 0 ? client.Height() : kNormalHeight;
    return tunova::NormalLayoutRect(id, w, h);
}

void CTunovaDlg::PlaceControls() {
    modes_.PlaceAllControls();
}

}  // namespace tunova
