// Creation of the main window's controls and their placement in the normal layout
// (app/main_layout.h).
#include <string>

#include "app/control_names.h"
#include "app/tunova_dlg.h"
#include "res/resource_ids.h"

namespace tunova {

namespace {

using plat::Rect;

// Buttons that start hidden: the second of each toggling pair and the more-results button.
bool StartsHidden(int id) {
    return id == res::kIdcPause || id == res::kIdcUnmute || id == res::kIdcNormalSize ||
           id == res::kIdcSearchMore;
}

}  // namespace

void CTunovaDlg::CreateControls() {
    using namespace res;
    const Rect none{};
    resultList.Create(this, kIdcResultList, none);
    playlistView.Create(this, kIdcPlaylist, none);
    playlistView.AcceptFileDrops(true);
    for (size_t i = 0; i < playModeButtons.size(); ++i) {
        const int id = kIdcModeAll + static_cast<int>(i);
        // One dialog group: the first starts it, the slider after the last ends it.
        const std::uint32_t group = i == 0 ? std::uint32_t{plat::kStyleGroup} : 0u;
        playModeButtons[i].Create(
            this, id, "", none,
            plat::kStyleChild | plat::kStyleVisible | plat::kBsAutoRadioButton | group);
    }
    volumeSlider.Create(this, kIdcVolumeSlider, none,
                        plat::kStyleChild | plat::kStyleVisible | plat::kStyleGroup);
    positionSlider.Create(this, kIdcPositionSlider, none);
    countryCombo.Create(this, kIdcCountryCombo, none, plat::kStyleChild);
    stopButton.Create(this, kIdcStop, "■", none, plat::kStyleChild);
    volumeUpButton.Create(this, kIdcVolumeUp, "+", none, plat::kStyleChild);
    volumeDownButton.Create(this, kIdcVolumeDown, "-", none, plat::kStyleChild);
    // The country names are in the buttons' pictures.
    for (size_t i = 0; i < countryButtons.size(); ++i) {
        const int id = kIdcCountryAll + static_cast<int>(i);
        countryButtons[i].Create(
            this, id, "", none,
            i == 0 ? plat::kStyleChild | plat::kStyleVisible : plat::kStyleChild);
    }
    for (size_t i = 0; i < kSkinButtonIds.size(); ++i) {
        const int id = kSkinButtonIds[i];
        skinButtons[i].Create(
            this, id, "", none,
            StartsHidden(id) ? plat::kStyleChild : plat::kStyleChild | plat::kStyleVisible);
    }
    qnaButton.Create(this, kIdcQnaBoard, "", none);
    searchEdit.Create(this, kIdcSearchEdit, none);
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
