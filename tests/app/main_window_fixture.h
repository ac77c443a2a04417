// Runs the real main window, modally, under the manual clock, with menus and message boxes
// answered by the test. Nothing of the window is replaced: what a test fakes is only the outside
// (the servers on loopback, the clock, the menus and boxes a headless run cannot click, and the
// player page: a page that plays on the manual clock, so the web engine does not start).
//
// Every test starts as an installed player on a working network: the settings store holds the
// installed version 1, and every host is an update server on loopback that answers the probe,
// the version (1) and the counter. A test that needs another host calls UseHost() before it
// builds the window with Services(), the hosts in force and the manual clock. The window reads this
// test program's command line: a test name holding "run" would start it as the autostart entry does
// (one probe attempt, no usage count).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/app_services.h"
#include "app/tunova_dlg.h"
#include "installed_player.h"
#include "platform/core/clock.h"
#include "platform/testing/testing.h"
#include "support/loopback_server.h"
#include "support/scripted_page.h"
#include "support/test_environment.h"
#include "support/test_machine.h"

namespace tunova::testing {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AnswerAsUpdateServer(updateServer, serverVersion);
        UseHost(updateServer.Host());
        InstallPlayerVersion("1");
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
        UseHost(kNoHost);
    }

    // What the program's start would build now: the hosts in force, and the manual clock with
    // this process's settings store and HTTP.
    AppServices Services() { return {LoadHosts(), TestMachine(clock)}; }

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
    // Runs a main window and brings it on screen (the updater wait and the show-window
    // timer) before `body`.
    void RunShown(std::function<void(CTunovaDlg&)> body) {
        CTunovaDlg dlg(Services(), &page);
        Run(dlg, [&](CTunovaDlg& d) {
            clock.Advance(res::kTimerUpdaterWait.periodMs + res::kTimerShowWindow.periodMs);
            ASSERT_TRUE(d.IsVisible());
            menus.clear();
            body(d);
        });
    }

    LoopbackServer updateServer;
    std::shared_ptr<std::string> serverVersion = std::make_shared<std::string>("1");
    plat::ManualClock clock;
    FakePlayerPage page;  // the player page of the windows the tests make
    int menuChoice = 0;   // what every menu answers (0: dismissed)
    std::vector<plat::testing::TrackedMenu> menus;
    std::vector<plat::testing::ShownMessageBox> boxes;
};

}  // namespace tunova::testing
