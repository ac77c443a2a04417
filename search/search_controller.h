// SearchController: the search box's searches, result paging and the result list (control
// res::kIdcResultList) of the main window.
//
// How the main window uses it:
// - It owns one SearchController, built with the window, the result list, the more-results
//   button, the window's side of the search (SearchWindow, below) and the feed host, and calls
//   SetupResultList() once the controls exist. Its tables route: command res::kIdcSearch and
//   Enter in the search box -> StartSearch(); command res::kIdcSearchMore -> RequestNextPage();
//   timer res::kTimerPaging -> CheckScrollPaging(); message res::kWmSearchResults ->
//   OnResultsArrived(); the result list's NM_CLICK, NM_DBLCLK and LVN_BEGINDRAG ->
//   OnResultClick(), OnResultDoubleClick(), OnResultBeginDrag(); the left button's release
//   while IsDragging() -> EndDrag().
// - Threads: at most one worker runs at a time (IsSearchRunning()). A worker only fetches the
//   page and reads it into a FeedPage; it never touches a widget or the ResultStore. It leaves
//   the page in a mailbox and posts res::kWmSearchResults to the owner window; on the
//   user-interface thread OnResultsArrived() joins the worker, stores the page, fills the list,
//   marks the search idle and asks the window to repaint the count and place the link buttons.
//   So every reader of the store (clicks, painting, paging) sees only whole pages, without a
//   lock.
// - Destroying the controller raises the worker's cancel flag (the transfer stops within about
//   a second) and joins it, so no worker outlives the window it posts to.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "controls/skin_list.h"
#include "platform/controls/controls.h"
#include "platform/core/types.h"
#include "search/feed_fetch.h"
#include "search/feed_reader.h"
#include "search/result_store.h"

namespace tunova {

// What a click or double-click on a result row asks for.
enum class ResultRowAction {
    kAddToPlaylist,  // add the result to the playlist
    kCue,            // cue the result in the player
    kPlay,           // play the result at once
};

// The search box's text until the user first puts the cursor there.
inline constexpr char kSearchPlaceholder[] = "검색어를 입력해 주세요";

// What the main window must do after a call to the controller; dropping it loses a layout
// change, so the compiler warns.
struct [[nodiscard]] SearchOutcome {
    struct RowRequest {
        ResultRowAction action;
        int row;  // the result's index; whether the player can take it yet is the window's business
    };
    bool showResultLayout = false;    // a search starts: show the layout with the result list
    bool resultCountChanged = false;  // the result count text changed: repaint it
    // A page was shown: place the link buttons beside the more-results button, which shows
    // when this is true (a layout rule of the window).
    std::optional<bool> linkButtons;
    std::optional<RowRequest> row;  // a row was clicked or double-clicked
};

class SearchController {
  public:
    // `owner` gets the workers' messages and owns the message boxes; `feedHost` ("host:port")
    // answers the queries, asked through `machine`'s HTTP function. Nothing is touched until the
    // first call.
    SearchController(plat::Window& owner, CSkinList& resultList, plat::Window& moreButton,
                     plat::EditBox& searchEdit, const plat::MachineServices& machine,
                     std::string feedHost, FetchOptions fetch = {});
    // Cancels and joins a running worker.
    ~SearchController();
    SearchController(const SearchController&) = delete;
    SearchController& operator=(const SearchController&) = delete;

    // Creates the result list's columns, styles and add picture.
    void SetupResultList();

    // The search box's state. The placeholder stands in the box at start-up and goes at the
    // box's first focus; SetSearchWord() puts a word there (a search asked for from outside).
    void ShowPlaceholder();
    void OnSearchEditFocus();
    void SetSearchWord(const std::string& word);
    const std::string& SearchText() const { return searchText_; }
    bool PlaceholderActive() const { return placeholderActive_; }
    // The country filter: 0 all, 1 Korea, 2 USA, 3 Japan, 4 China; other values are ignored.
    void SelectCountry(int countryIndex);
    int CountryIndex() const { return countryIndex_; }
    // The double-click setting: true adds a double-clicked result, false plays it.
    void SetDoubleClickAdds(bool adds) { doubleClickAdds_ = adds; }
    bool DoubleClickAdds() const { return doubleClickAdds_; }

    // Searches the text of the search box: an empty text gets a message box; nothing happens
    // while a worker runs.
    SearchOutcome StartSearch();
    // Fetches the page after the last one (no language filter); nothing while a worker runs
    // or past start index 4500.
    void RequestNextPage();
    // Timer res::kTimerPaging: fetches the next page (with the stored language filter) when the
    // list is scrolled to its end and the feed has more results.
    void CheckScrollPaging();
    // res::kWmSearchResults: stores and shows the page the worker left. Returns 0.
    SearchOutcome OnResultsArrived();

    // NM_CLICK (an ItemActivate): a click in the add column over a row adds the row; a click
    // elsewhere on a row cues it. Clicks off the rows do nothing.
    SearchOutcome OnResultClick(const plat::NotifyHeader& header);
    // NM_DBLCLK: adds the row when the double-click setting says so, else plays it (not from
    // the add column).
    SearchOutcome OnResultDoubleClick(const plat::NotifyHeader& header);
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
    // Sets the count text from the list's rows (after another fill); the window repaints it.
    SearchOutcome RefreshResultCount();
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
    bool ScrolledToEnd() const;
    // Shows or hides the more-results button; the window places the link buttons beside it.
    void ShowPageState(SearchOutcome& outcome);

    plat::Window& owner_;
    CSkinList& list_;
    plat::Window& moreButton_;
    plat::EditBox& searchEdit_;
    const plat::MachineServices machine_;  // read by the workers too: never changed
    std::string feedHost_;
    FetchOptions fetch_;
    plat::ImageList images_;

    ResultStore store_;
    std::string resultCountText_ = "0";
    std::string searchUrlText_;
    std::string lastQueryText_;
    std::string languageSuffix_;
    std::string searchText_;  // mirrors the search box
    bool placeholderActive_ = true;
    int countryIndex_ = 0;
    bool doubleClickAdds_ = false;
    bool dragging_ = false;
    int dragRow_ = -1;

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::mutex mailboxMutex_;
    std::optional<Delivery> mailbox_;
};

}  // namespace tunova
