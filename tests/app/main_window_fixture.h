// Runs the real main window, modally, under the manual clock, with menus and message boxes
// answered by the test. Nothing of the window is replaced: what a test fakes is only the outside
// (the feed server on loopback, the clock, the menus and boxes a headless run cannot click).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/tunova_dlg.h"
#include "platform/clock.h"
#include "platform/testing.h"

namespace tunova::testing {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::InstallClock(&clock);
        plat::testing::InterceptMenus([this](const plat::testing::TrackedMenu& menu) {
            menus.push_back(menu);
            return menuChoice;
        });
        plat::testing::InterceptMessageBoxes([this](const plat::testing::ShownMessageBox& box) {
            boxes.push_back(box);
            return plat::kIdOk;
        });
    }
    void TearDown() override {
        plat::testing::InterceptMessageBoxes(nullptr);
        plat::testing::InterceptMenus(nullptr);
        plat::InstallClock(nullptr);
    }

    // Runs `dlg` modally; `body` runs inside its loop once start-up has finished, and the
    // window is closed afterwards if it is still open. Returns what DoModal returned.
    int Run(CTunovaDlg& dlg, std::function<void(CTunovaDlg&)> body) {
        auto armed = std::make_shared<bool>(true);
        plat::testing::RunSoon([armed, &dlg, &body] {
            if (!*armed || dlg.HasEnded()) {
                return;
            }
            body(dlg);
            if (!dlg.HasEnded()) {
                dlg.SendCommand(plat::kIdCancel);
            }
        });
        const int result = dlg.DoModal();
        *armed = false;
        return result;
    }
    // Runs a main window and brings it on screen (timers 50 and 33) before `body`.
    void RunShown(std::function<void(CTunovaDlg&)> body) {
        CTunovaDlg dlg;
        Run(dlg, [&](CTunovaDlg& d) {
            clock.Advance(res::kTimerUpdaterWait.periodMs + res::kTimerShowWindow.periodMs);
            ASSERT_TRUE(d.IsVisible());
            menus.clear();
            body(d);
        });
    }

    plat::ManualClock clock;
    int menuChoice = 0;  // what every menu answers (0: dismissed)
    std::vector<plat::testing::TrackedMenu> menus;
    std::vector<plat::testing::ShownMessageBox> boxes;
};

}  // namespace tunova::testing
