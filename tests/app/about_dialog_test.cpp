// The about box: its texts, and OK closing it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/about_dlg.h"
#include "platform/core/messages.h"

namespace tunova {
namespace {

class InspectedAboutDlg : public CAboutDlg {
  public:
    std::vector<std::string> texts;

  protected:
    bool OnInitDialog() override {
        const bool result = CAboutDlg::OnInitDialog();
        for (const plat::Window* child : Children()) {
            texts.push_back(child->Text());
        }
        texts.push_back(Text());
        PostMessage(plat::kWmCommand, plat::MakeWParam(plat::kIdOk, plat::kBnClicked));
        return result;
    }
};

TEST(AboutDialogTest, ShowsTheNameAndHomePageAndClosesOnOk) {
    InspectedAboutDlg about;
    EXPECT_EQ(about.TemplateId(), 100);
    EXPECT_EQ(about.DoModal(), plat::kIdOk);
    EXPECT_EQ(about.texts,
              (std::vector<std::string>{"Tunova 플레이어", std::string("홈페이지 : ") + kVendorSite,
                                        "확인", "Tunova 정보"}));
}

}  // namespace
}  // namespace tunova
