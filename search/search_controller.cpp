#include "search/search_controller.h"

#include <algorithm>

#include "platform/dialog.h"
#include "platform/log.h"
#include "platform/window.h"
#include "res/resource_ids.h"
#include "search/feed_query.h"
#include "search/result_list.h"

namespace tunova {

SearchController::SearchController(plat::Window& owner, CSkinList& resultList,
                                   plat::Window& moreButton, SearchWindow& window,
                                   std::string feedHost, FetchOptions fetch)
    : owner_(owner),
      list_(resultList),
      moreButton_(moreButton),
      window_(window),
      feedHost_(std::move(feedHost)),
      fetch_(fetch) {}

SearchController::~SearchController() {
    if (worker_.joinable()) {
        cancel_ = true;
        worker_.join();
    }
}

void SearchController::SetupResultList() {
    tunova::SetupResultList(list_, images_);
}

void SearchController::StartSearch() {
    const std::string word = window_.SearchWord();
    if (word.empty()) {
        plat::ShowMessageBox(&owner_, "검색어 입력해 주세요", "Tunova",
                             plat::kMbOk | plat::kMbIconExclamation);
        return;
    }
    if (IsSearchRunning()) {
        return;
    }
    window_.ShowResultLayout();
    const std::string encoded = EncodeSearchWord(ApplyEncodingPairs(word));
    languageSuffix_ = std::string(CountrySuffix(window_.CountryIndex()));
    searchUrlText_ = FirstPageQuery(encoded, languageSuffix_);
    StartWorker(false, word);
}

void SearchController::StartPageWorker(bool withLanguageSuffix) {
    const std::string encoded = EncodeSearchWord(ApplyEncodingPairs(lastQueryText_));
    searchUrlText_ = NextPageQuery(encoded, store_.StartIndex() + kResultsPerPage,
                                   withLanguageSuffix ? languageSuffix_ : std::string());
    StartWorker(true, {});
}

void SearchController::RequestNextPage() {
    if (IsSearchRunning() || store_.StartIndex() > kLastPagingStartIndex) {
        return;
    }
    StartPageWorker(false);
}

bool SearchController::ScrolledToEnd() const {
    const int limit = list_.ScrollLimit();
    const int position = list_.ScrollPosition();
    return limit > 0 ? position == limit : position == 0;
}

void SearchController::CheckScrollPaging() {
    if (store_.StartIndex() > kLastPagingStartIndex || IsSearchRunning()) {
        return;
    }
    if (static_cast<long long>(store_.StartIndex()) + kResultsPerPage >=
        store_.TotalResultCount()) {
        return;
    }
    if (!ScrolledToEnd()) {
        return;
    }
    StartPageWorker(true);
}

void SearchController::StartWorker(bool append, std::string word) {
    const std::size_t room =
        ResultStore::kCapacity -
        std::min(ResultStore::kCapacity, append ? store_.Items().size() : std::size_t{0});
    cancel_ = false;
    FetchOptions fetch = fetch_;
    fetch.cancel = &cancel_;
    plat::Trace(plat::kTraceSearchSent);
    worker_ = std::thread([this, host = feedHost_, path = searchUrlText_, fetch, append,
                           word = std::move(word), room]() mutable {
        Delivery delivery;
        delivery.append = append;
        delivery.word = std::move(word);
        const std::string answer = FetchFeed(host, path, fetch);
        plat::Trace(plat::kTraceAnswerReceived);
        delivery.page = ReadFeedPage(answer, room);
        {
            std::lock_guard lock(mailboxMutex_);
            mailbox_ = std::move(delivery);
        }
        owner_.PostMessage(res::kWmSearchResults);
    });
}

plat::LResult SearchController::OnResultsArrived(plat::WParam, plat::LParam) {
    std::optional<Delivery> delivery;
    {
        std::lock_guard lock(mailboxMutex_);
        delivery.swap(mailbox_);
    }
    if (!delivery) {
        return 0;  // a stray message: no worker finished
    }
    if (worker_.joinable()) {
        worker_.join();  // it has finished: the post was its last step
    }
    store_.TakeSearchPage(delivery->page, delivery->append);
    resultCountText_ =
        FillResultList(store_, list_, delivery->append ? FillMode::kAppend : FillMode::kReplace);
    window_.ResultCountChanged();
    if (plat::TraceEnabled()) {
        list_.UpdateNow();  // the moment the rows are on screen, not when the next paint runs
        plat::Trace(plat::kTraceRowsDrawn);
    }
    if (!delivery->append) {
        lastQueryText_ = std::move(delivery->word);
    }
    ShowPageState();
    return 0;
}

void SearchController::RefreshResultCount() {
    resultCountText_ = std::to_string(list_.ItemCount());
    window_.ResultCountChanged();
}

void SearchController::ShowPageState() {
    const bool more = store_.MoreResults();
    moreButton_.Show(more);
    window_.PlaceLinkButtons(more);
}

namespace {

// NM_CLICK and NM_DBLCLK carry an ItemActivate that begins with the header.
const plat::ItemActivate& AsActivate(const plat::NotifyHeader& header) {
    return reinterpret_cast<const plat::ItemActivate&>(header);
}

}  // namespace

plat::LResult SearchController::OnResultClick(const plat::NotifyHeader& header) {
    const plat::ItemActivate& click = AsActivate(header);
    if (click.item < 0) {
        return 0;
    }
    if (click.subItem == kAddColumn && list_.IsPointerOverRow()) {
        window_.OnResultRow(ResultRowAction::kAddToPlaylist, click.item);
        return 0;
    }
    window_.OnResultRow(ResultRowAction::kCue, click.item);
    return 0;
}

plat::LResult SearchController::OnResultDoubleClick(const plat::NotifyHeader& header) {
    const plat::ItemActivate& click = AsActivate(header);
    if (click.item < 0) {
        return 0;
    }
    if (window_.DoubleClickAdds()) {
        window_.OnResultRow(ResultRowAction::kAddToPlaylist, click.item);
    } else if (click.subItem != kAddColumn) {
        window_.OnResultRow(ResultRowAction::kPlay, click.item);
    }
    return 0;
}

plat::LResult SearchController::OnResultBeginDrag(const plat::NotifyHeader& header) {
    if (list_.SelectedCount() == 0) {
        return 0;
    }
    const auto& notify = reinterpret_cast<const plat::ListViewNotify&>(header);
    dragRow_ = notify.item;
    dragging_ = true;
    owner_.SetCapture();
    return 0;
}

void SearchController::EndDrag() {
    dragging_ = false;
    dragRow_ = -1;
    list_.SetFocus();
    plat::Window::ReleaseCapture();
}

}  // namespace tunova
