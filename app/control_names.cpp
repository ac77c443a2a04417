// Names and Tab order of the main window's controls for assistive technology.
#include "app/control_names.h"

#include <utility>
#include <vector>

#include "app/tunova_dlg.h"
#include "res/resource_ids.h"

namespace tunova {

namespace {

// Controls without a tooltip, named by the text their picture shows or by what they are.
constexpr std::pair<int, const char*> kNames[] = {
    {res::kIdcResultList, "검색 결과"},   {res::kIdcPlaylist, "재생목록"},
    {res::kIdcVolumeSlider, "볼륨"},      {res::kIdcPositionSlider, "재생 위치"},
    {res::kIdcCountryCombo, "국가 선택"}, {res::kIdcStop, "정지"},
    {res::kIdcVolumeUp, "볼륨 크게"},     {res::kIdcVolumeDown, "볼륨 작게"},
    {res::kIdcCountryKorea, "한국 검색"}, {res::kIdcCountryUsa, "미국 검색"},
    {res::kIdcCountryJapan, "일본 검색"}, {res::kIdcCountryChina, "중국 검색"},
    {res::kIdcSettings, "설정"},          {res::kIdcSearchEdit, "검색어"},
};

// Tab's way through the window; hidden controls are passed over.
constexpr int kTabOrder[] = {
    res::kIdcSearchEdit,     res::kIdcSearch,       res::kIdcCountryAll,   res::kIdcCountryKorea,
    res::kIdcCountryUsa,     res::kIdcCountryJapan, res::kIdcCountryChina, res::kIdcResultList,
    res::kIdcSearchMore,     res::kIdcPlaylist,     res::kIdcMoveUp,       res::kIdcMoveDown,
    res::kIdcDeleteEntries,  res::kIdcPrevious,     res::kIdcPlay,         res::kIdcPause,
    res::kIdcNext,           res::kIdcModeAll,      res::kIdcModeOne,      res::kIdcModeRandom,
    res::kIdcPositionSlider, res::kIdcMute,         res::kIdcUnmute,       res::kIdcVolumeSlider,
    res::kIdcBigVideo,       res::kIdcBigVideo2,    res::kIdcSettings,     res::kIdcQnaBoard,
    res::kIdcHomePage,
};

}  // namespace

void NameMainWindowControls(CTunovaDlg& window) {
    for (const auto& [id, name] : kNames) {
        if (plat::Window* control = window.Child(id)) {
            control->SetAccessibleName(name);
        }
    }
    std::vector<plat::Window*> order;
    for (int id : kTabOrder) {
        if (plat::Window* control = window.Child(id)) {
            order.push_back(control);
        }
    }
    plat::Window::SetTabOrder(order);
}

}  // namespace tunova
