// SearchController: the search box's searches, result paging and the result list (view 1000)
// of the main window.
//
// How the main window uses it:
// - It owns one SearchController by value and calls Bind() once its controls exist, then
//   SetupResultList(). Its tables route: command 1124 and Enter in edit 1125 -> StartSearch();
//   command 1137 -> RequestNextPage(); timer 3 -> CheckScrollPaging(); message
//   kWmSearchResults -> OnResultsArrived(); notifications NM_CLICK, NM_DBLCLK and LVN_BEGINDRAG
//   of view 1000 -> OnResultClick(), OnResultDoubleClick(), OnResultBeginDrag().
// - Threads: at most one worker runs at a time (IsSearchRunning()). A worker only fetches the
//   page and reads it into a FeedPage; it never touches a widget or the ResultStore. It leaves
//   the page in a mailbox and posts kWmSearchResults to the owner window; on the user-interface
//   thread OnResultsArrived() joins the worker, stores the page, fills the list, repaints the
//   result count, marks the search idle and places the link buttons. So every reader of the
//   store (clicks, painting, paging) sees only whole pages, without a lock.
// - Destroying the controller raises the worker's cancel flag (the transfer stops within about
//   a second) and joins it, so no worker outlives the window it posts to.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "platform/controls.h"
#include "platform/messages.h"
#include "platform/types.h"
#include "search/feed_fetch.h"
#include "search/feed_reader.h"
#include "search/result_store.h"
#include "services/host_config.h"

namespace tunova {

inline constexpr int kSearchButtonId = 1124;
inline constexpr int kSearchEditId = 1125;
inline constexpr int kMoreResultsButtonId = 1137;
inline constexpr int kScrollPagingTimerId = 3;
inline constexpr std::uint32_t kScrollPagingPeriodMs = 300;
// Posted by a search worker to the owner window when its page is ready.
inline constexpr std::uint32_t kWmSearchResults = plat::kWmUser + 0x130;

// What the main window supplies; every hook may be left empty (it then does nothing or
// answers false, and the scroll state is read from the list view).
struct SearchHooks {
    std::function<std::string()> searchText;  // the text of edit 1125, CP949
    std::function<int()> countryIndex;        // 0 all, 1 Korea, 2 USA, 3 Japan, 4 China
    HostConfig hosts;
    FetchOptions fetch;                        // timeouts of the workers' requests
    std::function<void()> repaintResultCount;  // invalidate the count display
    std::function<void()> showResultList;      // switch to the layout with the list
    // Buttons 1133 and 1138 at their layout rectangles (shifted right 110 px when the
    // more-results button shows); both may be null.
    plat::Window* linkButton1133 = nullptr;
    plat::Window* linkButton1138 = nullptr;
    std::function<plat::Rect(int id)> layoutRect;
    // Vertical scroll limit and position of the result list, in rows.
    std::function<std::pair<int, int>()> scrollLimitAndPosition;

    // Result list actions of the playlist and playback, given the row (= result index).
    std::function<void(int row)> addToPlaylist;
    std::function<void(int row)> cueResult;
    std::function<void(int row)> playResult;
    std::function<void(int row)> beginDrag;  // after the drag flag is set and capture taken
    std::function<bool()> playerInitialised;
    std::function<bool()> pageReady;
    std::function<bool()> doubleClickAdds;  // the double-click action flag
    std::function<bool()> pointerOverRow;   // the skinned list's hover state; empty: true
};

class SearchController {
  public:
    SearchController() = default;
    // Cancels and joins a running worker.
    ~SearchController();
    SearchController(const SearchController&) = delete;
    SearchController& operator=(const SearchController&) = delete;

    // Binds the owner window (message boxes, posting), the result list and button 1137.
    // Call once, before any other member.
    void Bind(plat::Window& owner, plat::ListView& resultList, plat::Window& moreButton,
              SearchHooks hooks);
    // Creates the result list's columns, styles and add picture.
    void SetupResultList();

    // Searches the text of edit 1125: an empty text gets a message box; nothing happens while
    // a worker runs.
    void StartSearch();
    // Fetches the page after the last one (no language filter); nothing while a worker runs
    // or past start index 4500.
    void RequestNextPage();
    // Timer 3: fetches the next page (with the stored language filter) when the list is
    // scrolled to its end and the feed has more results.
    void CheckScrollPaging();
    // kWmSearchResults: stores and shows the page the worker left. Returns 0.
    plat::LResult OnResultsArrived(plat::WParam wParam, plat::LParam lParam);
    // Shows button 1137 when there are more results and places buttons 1133 and 1138.
    void PlaceLinkButtons();

    // NM_CLICK (an ItemActivate): column 3 over a row adds the row to the playlist; another
    // row cues it once the player is initialised. Clicks off the rows do nothing. Returns 0.
    plat::LResult OnResultClick(const plat::NotifyHeader& header);
    // NM_DBLCLK: adds the row when the double-click action flag is set, else plays it once the
    // page is ready (not from column 3). Returns 0.
    plat::LResult OnResultDoubleClick(const plat::NotifyHeader& header);
    // LVN_BEGINDRAG (a ListViewNotify): with a row selected, remembers it, sets the drag flag
    // and captures the mouse for the owner window. Returns 0.
    plat::LResult OnResultBeginDrag(const plat::NotifyHeader& header);
    // Ends a drag: clears the flag and row, gives the focus back to the list, releases capture.
    void EndDrag();
    bool IsDragging() const { return dragging_; }
    int DragRow() const { return dragRow_; }  // -1 when not dragging

    // True from the start of a worker until its page has been shown.
    bool IsSearchRunning() const { return worker_.joinable(); }
    // The results shown in the list (rows and store indices agree).
    const ResultStore& Results() const { return store_; }
    // The store for the daily chart's reader, which runs before any worker exists.
    ResultStore& MutableResults() { return store_; }
    // The list's row count as decimal text, "0" at first.
    const std::string& ResultCountText() const { return resultCountText_; }
    // Sets the count text from the list's rows and repaints it (after another fill).
    void RefreshResultCount();
    // The path and query of the request sent last.
    const std::string& SearchUrlText() const { return searchUrlText_; }
    // The word of the last new search whose page arrived; paging re-encodes it.
    const std::string& LastQueryText() const { return lastQueryText_; }
    // The "&lr=" suffix chosen at the last new search (scroll paging repeats it).
    const std::string& LanguageFilterSuffix() const { return languageSuffix_; }

  private:
    struct Delivery {
        bool append = false;
        std::string word;  // the searched word (new searches only)
        FeedPage page;
    };

    void StartWorker(bool append, std::string word);
    void StartPageWorker(bool withLanguageSuffix);
    std::pair<int, int> ScrollLimitAndPosition() const;
    bool Flag(const std::function<bool()>& hook, bool fallback) const;
    const plat::ItemActivate& AsActivate(const plat::NotifyHeader& header) const;

    plat::Window* owner_ = nullptr;
    plat::ListView* list_ = nullptr;
    plat::Window* moreButton_ = nullptr;
    SearchHooks hooks_;
    plat::ImageList images_;

    ResultStore store_;
    std::string resultCountText_ = "0";
    std::string searchUrlText_;
    std::string lastQueryText_;
    std::string languageSuffix_;
    bool dragging_ = false;
    int dragRow_ = -1;

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::mutex mailboxMutex_;
    std::optional<Delivery> mailbox_;
};

}  // namespace tunova
