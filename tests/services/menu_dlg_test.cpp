// The settings dialog on screen against the real settings store and autostart folder: what it
// shows when it opens, what save, cancel and close leave behind, and its skinned look.
#include "services/menu_dlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/core/files.h"
#include "platform/testing/testing.h"
#include "res/skin_bitmaps.h"
#include "services/registry_keys.h"
#include "services/services_fixture.h"
#include "services/settings.h"

namespace tunova {
namespace {

constexpr char kPlayer[] = "/opt/tunova/bin/tunova";

class MenuDlgTest : public testing::ServicesTest {
  protected:
    static void SetUpTestSuite() { res::RegisterSkinResources(); }

    // Opens the dialog; `inside` runs in its loop and must close it.
    int Open(const std::function<void(CMenuDlg&)>& inside) {
        CMenuDlg dlg(doubleClickAdds_, kPlayer, settings);
        plat::testing::RunSoon([&] {
            ASSERT_EQ(plat::testing::ActiveModalDialog(), &dlg);
            inside(dlg);
            if (dlg.IsModalRunning() && !dlg.HasEnded()) {
                ADD_FAILURE() << "the dialog stayed open";
                dlg.EndDialog(plat::kIdCancel);
            }
        });
        return dlg.DoModal();
    }
    static void Click(CSkinButton& button) {
        const plat::Rect r = button.ClientRect();
        plat::testing::MouseClick(button, {r.Width() / 2, r.Height() / 2});
    }
    static std::string AutostartFile() {
        std::string text;
        plat::ReadFile(AutostartEntryPath(), text);
        return text;
    }

    bool doubleClickAdds_ = false;
};

TEST_F(MenuDlgTest, OpensWithTheStoredSettings) {
    Open([](CMenuDlg& d) {
        EXPECT_FALSE(d.AutostartCheck().IsChecked());
        EXPECT_EQ(d.ClickCombo().Count(), 2);
        EXPECT_EQ(d.ClickCombo().CurSel(), 0);
        EXPECT_EQ(d.ClickCombo().ItemText(0), "바로 음악듣기");
        EXPECT_EQ(d.ClickCombo().ItemText(1), "재생목록에 추가하기");
        d.SendCommand(1007);
    });
    Store(kSettingKey, kValueClick, "TRUE");
    Store(kRunKey, kValueAutostart, "\"/somewhere/else/TUNOVA\" /run");
    Open([](CMenuDlg& d) {
        EXPECT_TRUE(d.AutostartCheck().IsChecked()) << "the entry names the program, any case";
        EXPECT_EQ(d.ClickCombo().CurSel(), 1);
        d.SendCommand(1119);
    });
}

TEST_F(MenuDlgTest, SaveStoresBothSettingsAndSetsTheMainWindowsFlag) {
    Store(kRunKey, kValueAutostart, "/x/TUNOVA /run");
    const int result = Open([](CMenuDlg& d) {
        EXPECT_TRUE(d.AutostartCheck().IsChecked());
        d.ClickCombo().SelectByUser(1);
        Click(d.SaveButton());
    });
    EXPECT_EQ(result, plat::kIdCancel) << "save closes the dialog with the cancel command";
    EXPECT_TRUE(doubleClickAdds_);
    EXPECT_EQ(Stored(kSettingKey, kValueClick), "true");
    EXPECT_EQ(Stored(kRunKey, kValueAutostart), AutostartCommandLine(kPlayer))
        << "the entry is replaced by one that starts this program";
    EXPECT_NE(AutostartFile().find("Exec=\"/opt/tunova/bin/tunova\" /run"), std::string::npos);

    Open([](CMenuDlg& d) {
        d.AutostartCheck().Click();  // off
        d.ClickCombo().SelectByUser(0);
        Click(d.SaveButton());
    });
    EXPECT_FALSE(doubleClickAdds_);
    EXPECT_EQ(Stored(kSettingKey, kValueClick), "false");
    EXPECT_FALSE(plat::FileExists(AutostartEntryPath()));
}

TEST_F(MenuDlgTest, CancelAndCloseLeaveTheStoreTheAutostartFileAndTheFlagAlone) {
    Open([](CMenuDlg& d) {
        d.AutostartCheck().Click();
        d.ClickCombo().SelectByUser(1);
        Click(d.SaveButton());
    });
    const std::string entry = AutostartFile();
    ASSERT_FALSE(entry.empty());
    ASSERT_TRUE(doubleClickAdds_);
    for (bool useClose : {false, true}) {
        Open([useClose](CMenuDlg& d) {
            d.AutostartCheck().Click();  // off, not saved
            d.ClickCombo().SelectByUser(0);
            Click(useClose ? d.CloseButton() : d.CancelButton());
        });
        EXPECT_TRUE(doubleClickAdds_) << useClose;
        EXPECT_EQ(Stored(kSettingKey, kValueClick), "true") << useClose;
        EXPECT_EQ(AutostartFile(), entry) << useClose;
    }
    // Opened again, it shows what is stored, not the choices that were dropped.
    Open([](CMenuDlg& d) {
        EXPECT_TRUE(d.AutostartCheck().IsChecked());
        EXPECT_EQ(d.ClickCombo().CurSel(), 1);
        d.SendCommand(1007);
    });
    // A change made elsewhere between two openings shows too.
    Store(kSettingKey, kValueClick, "false");
    plat::DeleteFile(AutostartEntryPath());
    Open([](CMenuDlg& d) {
        EXPECT_FALSE(d.AutostartCheck().IsChecked());
        EXPECT_EQ(d.ClickCombo().CurSel(), 0);
        d.SendCommand(1007);
    });
}

TEST_F(MenuDlgTest, SkinnedWithItsBackgroundButtonsAndRoundedShape) {
    Open([](CMenuDlg& d) {
        EXPECT_EQ(d.ClientRect(), (plat::Rect{0, 0, 399, 250}));
        EXPECT_TRUE(d.HasRegion());
        const plat::Rect frame = d.WindowRect();
        auto at = [&](plat::Window& w) {
            const plat::Rect r = w.WindowRect();
            return plat::Rect::FromXYWH(r.left - frame.left, r.top - frame.top, r.Width(),
                                        r.Height());
        };
        EXPECT_EQ(at(d.SaveButton()), plat::Rect::FromXYWH(122, 219, 72, 22));
        EXPECT_EQ(at(d.CancelButton()), plat::Rect::FromXYWH(203, 219, 72, 22));
        EXPECT_EQ(at(d.CloseButton()), plat::Rect::FromXYWH(375, 7, 15, 15));
        EXPECT_EQ(at(d.AutostartCheck()), plat::Rect::FromXYWH(30, 70, 13, 13));
        EXPECT_EQ(at(d.ClickCombo()).left, 197);
        EXPECT_EQ(at(d.ClickCombo()).top, 150);
        EXPECT_EQ(d.SaveButton().Tooltip(), "저장");
        EXPECT_EQ(d.CancelButton().Tooltip(), "취소");
        EXPECT_EQ(d.CloseButton().Tooltip(), "닫기");
        EXPECT_FALSE(d.SaveButton().HasMask()) << "no masks: no button regions";

        ASSERT_TRUE(d.HasBackgroundImage());
        plat::Bitmap background;
        ASSERT_TRUE(background.LoadFile(res::SkinFilePath("bg_menu.bmp")));
        plat::Bitmap saveLook;
        ASSERT_TRUE(saveLook.LoadResource(286));
        const plat::Bitmap shown = plat::testing::GrabWindow(d);
        EXPECT_EQ(shown.Pixel(60, 40), background.Pixel(60, 40));
        EXPECT_EQ(shown.Pixel(380, 240), background.Pixel(380, 240));
        EXPECT_EQ(shown.Pixel(122 + 36, 219 + 11), saveLook.Pixel(36, 11));
        d.SendCommand(1119);
    });
}

}  // namespace
}  // namespace tunova
