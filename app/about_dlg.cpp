#include "app/about_dlg.h"

#include <string>

#include "res/resource_ids.h"

namespace tunova {

CAboutDlg::CAboutDlg() : plat::Dialog(res::kIddAbout, {260, 110}, "Tunova 정보") {}

bool CAboutDlg::OnInitDialog() {
    name_.Create(this, -1, "Tunova 플레이어", plat::Rect::FromXYWH(60, 14, 190, 16));
    homePage_.Create(this, -1, std::string("홈페이지 : ") + kVendorSite,
                     plat::Rect::FromXYWH(60, 36, 190, 16));
    ok_.Create(this, plat::kIdOk, "확인", plat::Rect::FromXYWH(180, 72, 64, 24));
    return true;
}

}  // namespace tunova
