// The real main window as the user meets it: what start-up shows and when, the search path from
// a typed word to the rows (against a feed server on loopback), the end of a drag, the exit
// commands and the about box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/window/application.h"
#include "search/feed_query.h"
#include "search/result_list.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"

namespace tunova::testing {
namespace {

TEST_F(MainWindowTest, StartsHiddenThenComesOnScreenAndThePageBecomesReadyLater) {
    CTunovaDlg dlg(Services(), &page);
    Run(dlg, [this](CTunovaDlg& d) {
        EXPECT_EQ(d.Text(), kMainWindowTitle);
        EXPECT_EQ(d.WindowRect().Width(), 0) << "nothing to see while start-up waits";
        EXPECT_EQ(d.SearchEdit().Text(), kSearchPlaceholder);
        EXPECT_EQ(d.VisibleCountryButton(), 1109);
        for (int hidden : {1011, 1101, 1104, 1105, 1106, 1108, 1131, 1137}) {
            ASSERT_NE(d.Child(hidden), nullptr) << hidden;
            EXPECT_FALSE(d.Child(hidden)->IsVisible()) << hidden;
        }
        for (int shown : {1000, 1001, 1005, 1107, 1119, 1120, 1124, 1125, 1126, 1133, 1138}) {
            ASSERT_NE(d.Child(shown), nullptr) << shown;
            EXPECT_TRUE(d.Child(shown)->IsVisible()) << shown;
        }
        EXPECT_EQ(d.CountryCombo().Count(), 5);
        EXPECT_EQ(d.CountryCombo().ItemText(4), "중국");
        EXPECT_EQ(d.VolumeSlider().GetPosition(), 40);

        // Start-up ended with the day's usage count and its 100 ms pause, 100 ms after timer
        // 50 started: the window is due 400 ms later.
        clock.Advance(399);
        EXPECT_EQ(d.WindowRect().Width(), 0);
        clock.Advance(1);  // the updater has ended and the version passed: the window shows
        EXPECT_TRUE(d.IsVisible());
        EXPECT_EQ(d.WindowRect().Width(), kNormalWidth);
        EXPECT_EQ(d.WindowRect().Height(), kNormalHeight);
        EXPECT_EQ(d.Child(1124)->WindowRect().left - d.WindowRect().left, kNormalWidth - 52)
            << "controls in the normal layout";
        clock.Advance(200 + 2799);
        EXPECT_FALSE(d.Playback().pageReady) << "the page needs 2.8 s after its first answer";
        clock.Advance(1);
        EXPECT_TRUE(d.Playback().pageReady);
    });
}

TEST_F(MainWindowTest, BothExitCommandsEndTheProgram) {
    for (int id : {32791, 32802}) {
        CTunovaDlg dlg(Services(), &page);
        bool ended = false;
        EXPECT_EQ(Run(dlg,
                      [&](CTunovaDlg& d) {
                          d.SendCommand(id);
                          ended = d.HasEnded();
                      }),
                  plat::kIdCancel);
        EXPECT_TRUE(ended) << id;
    }
}

TEST_F(MainWindowTest, TheSystemMenuOpensTheAboutBox) {
    menuChoice = 16;
    RunShown([](CTunovaDlg& d) {
        const auto& items = d.SystemMenu().Items();
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[1].text, "Tunova 정보(&A)...");
        std::string aboutTitle;
        plat::testing::RunSoon([&] {
            if (plat::Dialog* about = plat::testing::ActiveModalDialog()) {
                aboutTitle = about->Text();
                about->SendCommand(plat::kIdOk);
            }
        });
        d.ShowSystemMenu();
        EXPECT_EQ(aboutTitle, "Tunova 정보");
        EXPECT_FALSE(d.HasEnded());
    });
}

// A typed word, Enter, and the rows: the whole road of a search through the real window.
class MainWindowSearchTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        UseHost(server.Host());  // before the window reads its hosts
        server.SetHandler([](const ServerRequest& request) {
            const int start = request.startIndex;
            return ServerReply{ServerReply::Kind::kAnswer, 200,
                               ResultsPage(200, start, std::min(30, 200 - start + 1))};
        });
    }
    // The feed queries the server got (the update check and the counter ask it too).
    std::vector<ServerRequest> FeedRequests() const {
        std::vector<ServerRequest> feeds;
        for (const ServerRequest& request : server.Requests()) {
            // The daily chart of the start-up is not a search.
            if (request.target.starts_with("/feeds/") &&
                request.target != "/" + std::string(kChartQuery)) {
                feeds.push_back(request);
            }
        }
        return feeds;
    }
    // Types `word` into the search box and presses Enter; waits for the rows.
    static void SearchFor(CTunovaDlg& d, const std::string& word) {
        d.SearchEdit().SetFocus();
        plat::Application::ProcessEvents();
        plat::testing::TypeText(d.SearchEdit(), word);
        plat::testing::PressKey(d.SearchEdit(), plat::kVkReturn);
        ASSERT_TRUE(PumpUntil([&] { return !d.Search().IsSearchRunning(); }, 10000));
    }
    LoopbackServer server;
};

TEST_F(MainWindowSearchTest, EnterInTheSearchBoxShowsTheFeedsRows) {
    RunShown([this](CTunovaDlg& d) {
        SearchFor(d, "love song");
        ASSERT_EQ(FeedRequests().size(), 1u);
        EXPECT_EQ(FeedRequests()[0].target,
                  "/feeds/api/videos/-/Music?vq=love/song&orderby=relevance&max-results=30"
                  "&start-index=1");
        ASSERT_EQ(d.ResultList().ItemCount(), 30);
        EXPECT_EQ(d.ResultList().ItemText(0, 0), "1");
        EXPECT_EQ(d.ResultList().ItemText(0, 1), "Song 1");
        EXPECT_EQ(d.ResultList().ItemText(29, 2), "00:30");
        EXPECT_EQ(d.Search().ResultCountText(), "30");
        EXPECT_FALSE(d.HasEnded()) << "Enter never closes the window";
        // More results: button 1137 shows and the link buttons move right to make room.
        EXPECT_TRUE(d.Child(1137)->IsVisible());
        EXPECT_EQ(d.Child(1133)->WindowRect().left - d.WindowRect().left, 111 + kLinkButtonShift);
        EXPECT_EQ(d.Child(1138)->WindowRect().left - d.WindowRect().left, 157 + kLinkButtonShift);
    });
}

TEST_F(MainWindowSearchTest, ScrollingToTheEndOfTheRowsFetchesTheNextPage) {
    RunShown([this](CTunovaDlg& d) {
        SearchFor(d, "abba");
        d.ResultList().EnsureVisible(d.ResultList().ItemCount() - 1);
        clock.Advance(res::kTimerPaging.periodMs);
        ASSERT_TRUE(PumpUntil([&] { return !d.Search().IsSearchRunning(); }, 10000));
        ASSERT_EQ(FeedRequests().size(), 2u);
        EXPECT_TRUE(FeedRequests()[1].target.ends_with("&start-index=31"));
        EXPECT_EQ(d.ResultList().ItemCount(), 60);
    });
}

TEST_F(MainWindowSearchTest, ReleasingTheButtonAfterDraggingARowFreesTheMouse) {
    RunShown([this](CTunovaDlg& d) {
        SearchFor(d, "abba");
        ASSERT_GT(d.ResultList().ItemCount(), 3);
        const plat::Rect row = d.ResultList().ItemRect(2);
        const plat::Point press{row.left + 40, (row.top + row.bottom) / 2};
        plat::testing::MouseClick(d.ResultList(), press);  // selects row 2
        plat::Application::ProcessEvents();
        ASSERT_EQ(d.ResultList().SelectedCount(), 1);

        plat::testing::MouseDown(d.ResultList(), press);
        plat::testing::MouseMove(d.ResultList(), {press.x + 20, press.y + 15}, 1);
        ASSERT_TRUE(d.Search().IsDragging()) << "a press and a small move start a drag";
        EXPECT_EQ(plat::Window::Capture(), &d);

        plat::testing::MouseUp(d.ResultList(), {press.x + 20, press.y + 15});
        EXPECT_FALSE(d.Search().IsDragging());
        EXPECT_EQ(plat::Window::Capture(), nullptr) << "the release ends the drag";

        // The window reacts to the mouse again: a click on the country button opens its menu.
        menus.clear();
        plat::testing::MouseClick(*d.Child(1109), {5, 5});
        plat::Application::ProcessEvents();
        EXPECT_EQ(menus.size(), 1u);
    });
}

}  // namespace
}  // namespace tunova::testing
