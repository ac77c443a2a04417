// The search controller in a plain window with a real list view, against a feed server on
// loopback: searching, both ways of paging and their limits, failures, one worker at a time,
// and the list's notifications.
#include <gtest/gtest.h>

#include "platform/controls/controls.h"
#include "platform/core/clock.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "platform/window/dialog.h"
#include "res/resource_ids.h"
#include "search/result_list.h"
#include "search/search_controller.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/test_machine.h"

namespace tunova {
namespace {

using testing::LoopbackServer;
using testing::ResultsPage;
using testing::ServerReply;
using testing::ServerRequest;
using testing::Stopwatch;

// The main window's side of the search, as a test sees it: what the outcomes asked of it.
struct WindowRecord {
    int countRepaints = 0;
    int resultLayoutShown = 0;
    std::vector<bool> linkPlacements;  // the more-results flag of each placement
    std::vector<std::string> rowActions;

    plat::LResult Apply(const SearchOutcome& outcome) {
        resultLayoutShown += outcome.showResultLayout ? 1 : 0;
        countRepaints += outcome.resultCountChanged ? 1 : 0;
        if (outcome.linkButtons) {
            linkPlacements.push_back(*outcome.linkButtons);
        }
        if (outcome.row) {
            const ResultRowAction action = outcome.row->action;
            const char* name = action == ResultRowAction::kAddToPlaylist ? "add "
                               : action == ResultRowAction::kCue         ? "cue "
                                                                         : "play ";
            rowActions.push_back(name + std::to_string(outcome.row->row));
        }
        return 0;
    }
};

FetchOptions ShortTimeouts() {
    FetchOptions fetch;
    fetch.totalTimeoutMs = 2000;
    return fetch;
}

class SearchControllerTest : public ::testing::Test {
  protected:
    SearchControllerTest()
        : controller_(owner_, list_, more_, edit_, testing::TestMachine(clock_), server_.Host(),
                      ShortTimeouts()) {}

    void SetUp() override {
        plat::InstallClock(&clock_);
        plat::testing::InterceptMessageBoxes([this](const plat::testing::ShownMessageBox& box) {
            boxes_.push_back(box);
            return plat::kIdOk;
        });
        ASSERT_TRUE(owner_.Create(nullptr, 102, plat::Rect::FromXYWH(0, 0, 800, 500), 0));
        owner_.Show(true);
        ASSERT_TRUE(
            list_.Create(&owner_, res::kIdcResultList, plat::Rect::FromXYWH(0, 0, 780, 300)));
        ASSERT_TRUE(more_.Create(&owner_, res::kIdcSearchMore, "more",
                                 plat::Rect::FromXYWH(0, 400, 80, 20)));
        ASSERT_TRUE(
            edit_.Create(&owner_, res::kIdcSearchEdit, plat::Rect::FromXYWH(0, 440, 200, 20)));
        controller_.SetupResultList();
        // The main window's table entries for the search.
        auto& map = owner_.Messages();
        map.OnCommand(res::kIdcSearch, [this] { window_.Apply(controller_.StartSearch()); });
        map.OnCommand(res::kIdcSearchMore, [this] { controller_.RequestNextPage(); });
        map.OnTimer(res::kTimerPaging.id, [this] { controller_.CheckScrollPaging(); });
        map.OnMessage(res::kWmSearchResults, [this](plat::WParam, plat::LParam) {
            return window_.Apply(controller_.OnResultsArrived());
        });
        map.OnNotify(res::kIdcResultList, plat::kNmClick, [this](const plat::NotifyHeader& h) {
            return window_.Apply(controller_.OnResultClick(h));
        });
        map.OnNotify(res::kIdcResultList, plat::kNmDblClk, [this](const plat::NotifyHeader& h) {
            return window_.Apply(controller_.OnResultDoubleClick(h));
        });
        map.OnNotify(res::kIdcResultList, plat::kLvnBeginDrag, [this](const plat::NotifyHeader& h) {
            return controller_.OnResultBeginDrag(h);
        });
    }
    void TearDown() override {
        plat::testing::InterceptMessageBoxes(nullptr);
        plat::InstallClock(nullptr);
    }

    // Pumps the event loop until the worker's page has been shown (at most 10 s).
    bool WaitForIdle() {
        return testing::PumpUntil([this] { return !controller_.IsSearchRunning(); }, 10000);
    }
    void Search(const std::string& word) {
        edit_.SetText(word);
        owner_.SendCommand(res::kIdcSearch);
        ASSERT_TRUE(WaitForIdle());
    }
    // Answers each query with the page its start-index asks for, out of `total` results.
    void ServePages(int total) {
        server_.SetHandler([total](const ServerRequest& request) {
            const int start = request.startIndex;
            const int count = std::max(0, std::min(30, total - start + 1));
            return ServerReply{ServerReply::Kind::kAnswer, 200, ResultsPage(total, start, count)};
        });
    }
    std::string LastTarget() { return server_.Requests().back().target; }
    plat::LResult Notify(int code, int item, int subItem) {
        plat::ItemActivate activate;
        activate.hdr = {&list_, res::kIdcResultList, code};
        activate.item = item;
        activate.subItem = subItem;
        return owner_.SendMessage(plat::kWmNotify, res::kIdcResultList,
                                  reinterpret_cast<plat::LParam>(&activate.hdr));
    }
    // Ticks the paging timer once.
    void TickPagingTimer() {
        owner_.SetTimer(res::kTimerPaging.id, res::kTimerPaging.periodMs);
        clock_.Advance(res::kTimerPaging.periodMs);
        owner_.KillTimer(res::kTimerPaging.id);
    }

    plat::ManualClock clock_;
    LoopbackServer server_;
    plat::Window owner_;
    CSkinList list_;
    plat::PushButton more_;
    plat::EditBox edit_;
    WindowRecord window_;
    SearchController controller_;
    std::vector<plat::testing::ShownMessageBox> boxes_;
};

TEST_F(SearchControllerTest, ASearchFillsTheListFromTheFeedServer) {
    ServePages(100);
    Search("한국 노래");
    ASSERT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(LastTarget(),
              "/feeds/api/videos/-/Music?vq=%ED%95%9C%EA%B5%AD/%EB%85%B8%EB%9E%98"
              "&orderby=relevance&max-results=30&start-index=1");
    EXPECT_EQ(server_.Requests()[0].userAgent, "youtube");
    ASSERT_EQ(list_.ItemCount(), 30);
    EXPECT_EQ(list_.ItemText(0, 0), "1");
    EXPECT_EQ(list_.ItemText(0, 1), "Song 1");
    EXPECT_EQ(list_.ItemText(29, 2), "00:30");
    EXPECT_EQ(list_.ItemImage(29, kAddColumn), 0);
    EXPECT_EQ(controller_.ResultCountText(), "30");
    EXPECT_EQ(window_.countRepaints, 1);
    EXPECT_EQ(window_.resultLayoutShown, 1);
    EXPECT_EQ(controller_.LastQueryText(), "한국 노래");
    EXPECT_TRUE(more_.IsVisible());
    EXPECT_EQ(window_.linkPlacements, std::vector<bool>{true});
}

TEST_F(SearchControllerTest, AnEmptyWordGetsAMessageBoxAndNoRequest) {
    Search("");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "검색어 입력해 주세요");
    EXPECT_EQ(boxes_[0].caption, "Tunova");
    EXPECT_EQ(boxes_[0].flags, plat::kMbOk | plat::kMbIconExclamation);
    EXPECT_TRUE(server_.Requests().empty());
    EXPECT_FALSE(controller_.IsSearchRunning());
}

TEST_F(SearchControllerTest, ASecondSearchWhileOneRunsDoesNothing) {
    server_.SetHandler([](const ServerRequest&) {
        return ServerReply{ServerReply::Kind::kHold, 200, ResultsPage(100, 1, 30)};
    });
    edit_.SetText("first");
    owner_.SendCommand(res::kIdcSearch);
    ASSERT_TRUE(server_.WaitForRequests(1));
    edit_.SetText("second");
    owner_.SendCommand(res::kIdcSearch);
    owner_.SendCommand(res::kIdcSearchMore);
    EXPECT_TRUE(controller_.IsSearchRunning());
    server_.Release();
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(controller_.LastQueryText(), "first");
    EXPECT_EQ(list_.ItemCount(), 30);
}

TEST_F(SearchControllerTest, ScrollPagingKeepsTheLanguageFilterAndTheButtonDropsIt) {
    ServePages(200);
    controller_.SelectCountry(3);
    Search("a");
    EXPECT_TRUE(LastTarget().ends_with("&start-index=1&lr=ja"));
    controller_.SelectCountry(1);  // changing the country later does not change the paging filter
    list_.EnsureVisible(list_.ItemCount() - 1);
    TickPagingTimer();
    ASSERT_TRUE(WaitForIdle());
    ASSERT_EQ(server_.Requests().size(), 2u);
    EXPECT_EQ(LastTarget(),
              "/feeds/api/videos/-/Music?q=a&orderby=relevance&max-results=30&start-index=31"
              "&lr=ja");
    ASSERT_EQ(list_.ItemCount(), 60);
    EXPECT_EQ(list_.ItemText(30, 0), "31");
    EXPECT_EQ(list_.ItemText(59, 1), "Song 60");
    more_.Click();
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(LastTarget(),
              "/feeds/api/videos/-/Music?q=a&orderby=relevance&max-results=30&start-index=61");
    EXPECT_EQ(list_.ItemCount(), 90);
    EXPECT_EQ(controller_.ResultCountText(), "90");
}

TEST_F(SearchControllerTest, ScrollPagingWaitsForTheEndOfTheListAndForMoreResults) {
    ServePages(200);
    Search("a");
    ASSERT_GT(list_.ItemCount(), list_.CountPerPage()) << "the list must need scrolling";
    list_.EnsureVisible(0);
    TickPagingTimer();
    list_.EnsureVisible(list_.ItemCount() / 2);
    TickPagingTimer();
    EXPECT_FALSE(controller_.IsSearchRunning());
    EXPECT_EQ(server_.Requests().size(), 1u) << "no page while the list's end is out of view";
    list_.EnsureVisible(list_.ItemCount() - 1);
    TickPagingTimer();
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(server_.Requests().size(), 2u) << "the next page once it is in view";
    EXPECT_EQ(list_.ItemCount(), 60);

    // The last page: start index 181 + 30 >= 200, so no more results to ask for.
    server_.Serve(ResultsPage(200, 181, 20));
    Search("b");
    EXPECT_FALSE(more_.IsVisible());
    EXPECT_EQ(window_.linkPlacements.back(), false);
    list_.EnsureVisible(list_.ItemCount() - 1);
    TickPagingTimer();
    EXPECT_FALSE(controller_.IsSearchRunning());
    EXPECT_EQ(server_.Requests().size(), 3u);
}

TEST_F(SearchControllerTest, PagingStopsPastStartIndex4500) {
    server_.Serve(ResultsPage(9000, 4501, 3));  // all rows fit: limit 0, position 0
    Search("a");
    controller_.CheckScrollPaging();
    controller_.RequestNextPage();
    EXPECT_FALSE(controller_.IsSearchRunning());
    EXPECT_EQ(server_.Requests().size(), 1u);

    server_.Serve(ResultsPage(9000, 4500, 3));
    Search("a");
    controller_.CheckScrollPaging();
    ASSERT_TRUE(WaitForIdle());
    ASSERT_EQ(server_.Requests().size(), 3u);
    EXPECT_TRUE(LastTarget().ends_with("&start-index=4530"));
}

TEST_F(SearchControllerTest, AFailedSearchEmptiesTheListAndKeepsTheButton) {
    ServePages(100);
    Search("a");
    ASSERT_TRUE(more_.IsVisible());
    server_.SetHandler([](const ServerRequest&) {
        return ServerReply{ServerReply::Kind::kDropAfterHead, 200, ResultsPage(100, 1, 30)};
    });
    Search("b");
    EXPECT_EQ(list_.ItemCount(), 0);
    EXPECT_EQ(controller_.ResultCountText(), "0");
    EXPECT_TRUE(more_.IsVisible());
    // An error page is read like a feed and yields no rows.
    server_.SetHandler([](const ServerRequest&) {
        return ServerReply{ServerReply::Kind::kAnswer, 503, "<html><body>busy</body></html>"};
    });
    Search("c");
    EXPECT_EQ(list_.ItemCount(), 0);
}

TEST_F(SearchControllerTest, ASlowServerTimesOutInsteadOfHangingTheWorker) {
    server_.SetHandler([](const ServerRequest&) {
        return ServerReply{ServerReply::Kind::kHold, 200, ResultsPage(100, 1, 30)};
    });
    const Stopwatch watch;
    Search("a");  // the worker's total timeout is 2 s in this fixture
    EXPECT_LT(watch.ElapsedMs(), 8000);
    EXPECT_EQ(list_.ItemCount(), 0);
    server_.Release();
}

TEST_F(SearchControllerTest, ClicksAndDoubleClicksRouteRowsToTheirActions) {
    ServePages(100);
    Search("a");
    // The pointer rests on row 4's add column (the list's hover state): a click there adds.
    owner_.Show(true);
    const plat::Rect add = list_.HeaderItemRect(kAddColumn);
    const plat::Rect row = list_.ItemRect(4);
    list_.SendMessage(plat::kWmMouseMove, 0, plat::MakeLParam(add.left + 5, row.top + 3));
    Notify(plat::kNmClick, 4, kAddColumn);
    Notify(plat::kNmClick, 6, 1);
    Notify(plat::kNmClick, -1, 1);  // not on a row
    Notify(plat::kNmDblClk, 8, 1);
    Notify(plat::kNmDblClk, 9, kAddColumn);  // playing needs another column
    Notify(plat::kNmDblClk, -1, 1);
    controller_.SetDoubleClickAdds(true);
    Notify(plat::kNmDblClk, 10, kAddColumn);
    Notify(plat::kNmDblClk, 11, 1);
    EXPECT_EQ(window_.rowActions,
              (std::vector<std::string>{"add 4", "cue 6", "play 8", "add 10", "add 11"}));
}

TEST_F(SearchControllerTest, DraggingNeedsASelectedRow) {
    ServePages(100);
    Search("a");
    plat::ListViewNotify drag;
    drag.hdr = {&list_, res::kIdcResultList, plat::kLvnBeginDrag};
    drag.item = 2;
    owner_.SendMessage(plat::kWmNotify, res::kIdcResultList,
                       reinterpret_cast<plat::LParam>(&drag.hdr));
    EXPECT_FALSE(controller_.IsDragging());
    list_.SetItemState(2, plat::kLvisSelected, plat::kLvisSelected);
    owner_.SendMessage(plat::kWmNotify, res::kIdcResultList,
                       reinterpret_cast<plat::LParam>(&drag.hdr));
    EXPECT_TRUE(controller_.IsDragging());
    EXPECT_EQ(controller_.DragRow(), 2);
    EXPECT_EQ(plat::Window::Capture(), &owner_);
    controller_.EndDrag();
    EXPECT_FALSE(controller_.IsDragging());
    EXPECT_EQ(plat::Window::Capture(), nullptr);
    EXPECT_TRUE(window_.rowActions.empty()) << "a drag neither adds nor plays by itself";
}

TEST_F(SearchControllerTest, DestroyingTheControllerStopsARunningWorker) {
    server_.SetHandler([](const ServerRequest&) {
        return ServerReply{ServerReply::Kind::kHold, 200, "<feed/>"};
    });
    edit_.SetText("a");
    auto controller = std::make_unique<SearchController>(
        owner_, list_, more_, edit_, testing::TestMachine(clock_), server_.Host());
    (void)controller->StartSearch();  // no window here to lay out
    ASSERT_TRUE(server_.WaitForRequests(1));
    const Stopwatch watch;
    controller.reset();
    EXPECT_LT(watch.ElapsedMs(), 5000);
    server_.Release();
    plat::Application::ProcessEvents();  // the stray post finds the fixture's idle controller
    EXPECT_EQ(list_.ItemCount(), 0);
}

}  // namespace
}  // namespace tunova
