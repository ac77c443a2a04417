// CAboutDlg: the about box (template kIddAbout), opened from the system menu.
#pragma once

#include "platform/controls/controls.h"
#include "platform/window/dialog.h"

namespace tunova {

// The vendor's web site shown in the about box.
inline constexpr char kVendorSite[] = "http://www.tunova.net";

class CAboutDlg : public plat::Dialog {
  public:
    CAboutDlg();

  protected:
    bool OnInitDialog() override;

  private:
    plat::StaticText name_;
    plat::StaticText homePage_;
    plat::PushButton ok_;
};

}  // namespace tunova
