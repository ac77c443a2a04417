#include "search/search_controller.h"

#include <algorithm>

#include "platform/core/log.h"
#include "platform/window/dialog.h"
#include "platform/window/window.h"
#include "res/resource_ids.h"
#include "search/feed_query.h"
#include "search/result_list.h"

namespace tunova {

SearchController::SearchController(plat::Window& owner, CSkinList& resultList,
                                   plat::Window& moreButton, plat::EditBox& searchEdit,
                                   const plat::MachineServices& machine, std::string feedHost,
                                   FetchOptions fetch)
    : owner_(owner),
      list_(resultList),
      moreButton_(moreButton),
      searchEdit_(searchEdit),
      machine_(machine),
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

void SearchController::ShowPlaceholder() {
    placeholderActive_ = true;
    searchText_ = kSearchPlaceholder;
    searchEdit_.SetText(searchText_);
}

void SearchController::OnSearchEditFocus() {
    if (!placeholderActive_) {
        return;
    }
    placeholderActive_ = false;
    searchText_.clear();
    searchEdit_.SetText(searchText_);
}

void SearchController::SetSearchWord(const std::string& word) {
    placeholderActive_ = false;
    searchText_ = word;
    searchEdit_.SetText(word);
}

void SearchController::SelectCountry(int countryIndex) {
    if (countryIndex >= 0 && countryIndex <= 4) {
        countryIndex_ = countryIndex;
    }
}

SearchOutcome SearchController::StartSearch() {
    SearchOutcome outcome;
    searchText_ = searchEdit_.Text();
    if (searchText_.empty()) {
        plat::ShowMessageBox(&owner_, "검색어 입력해 주세요", "Tunova",
                             plat::kMbOk | plat::kMbIconExclamation);
        return outcome;
    }
    if (IsSearchRunning()) {
        return outcome;
    }
    outcome.showResultLayout = true;
    const std::string encoded = EncodeSearchWord(ApplyEncodingPairs(searchText_));
    languageSuffix_ = std::string(CountrySuffix(countryIndex_));
    searchUrlText_ = FirstPageQuery(encoded, languageSuffix_);
    StartWorker(false, searchText_);
    return outcome;
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
        const std::string answer = FetchFeed(machine_, host, path, fetch);
        plat::Trace(plat::kTraceAnswerReceived);
        delivery.page = ReadFeedPage(answer, room);
        {
            std::lock_guard lock(mailboxMutex_);
            mailbox_ = std::move(delivery);
        }
        owner_.PostMessage(res::kWmSearchResults);
    });
}

SearchOutcome SearchController::OnResultsArrived() {
    SearchOutcome outcome;
    std::optional<Delivery> delivery;
    {
        std::lock_guard lock(mailboxMutex_);
        delivery.swap(mailbox_);
    }
    if (!delivery) {
        return outcome;  // a stray message: no worker finished
    }
    if (worker_.joinable()) {
        worker_.join();  // it has finished: the post was its last step
    }
    store_.TakeSearchPage(delivery->page, delivery->append);
    resultCountText_ =
        FillResultList(store_, list_, delivery->append ? FillMode::kAppend : FillMode::kReplace);
    outcome.resultCountChanged = true;
    if (plat::TraceEnabled()) {
        list_.UpdateNow();  // the moment the rows are on screen, not when the next paint runs
        plat::Trace(plat::kTraceRowsDrawn);
    }
    if (!delivery->append) {
        lastQueryText_ = std::move(delivery->word);
    }
    ShowPageState(outcome);
    return outcome;
}

SearchOutcome SearchController::RefreshResultCount() {
    resultCountText_ = std::to_string(list_.ItemCount());
    SearchOutcome outcome;
    outcome.resultCountChanged = true;
    return outcome;
}

void SearchController::ShowPageState(SearchOutcome& outcome) {
    const bool more = store_.MoreResults();
    moreButton_.Show(more);
    outcome.linkButtons = more;
}

namespace {

// NM_CLICK and NM_DBLCLK carry an ItemActivate that begins with the header.
const plat::ItemActivate& AsActivate(const plat::NotifyHeader& header) {
    return reinterpret_cast<const plat::ItemActivate&>(header);
}

}  // namespace

SearchOutcome SearchController::OnResultClick(const plat::NotifyHeader& header) {
    SearchOutcome outcome;
    const plat::ItemActivate& click = AsActivate(header);
    if (click.item < 0) {
        return outcome;
    }
    const bool add = click.subItem == kAddColumn && list_.IsPointerOverRow();
    outcome.row = {add ? ResultRowAction::kAddToPlaylist : ResultRowAction::kCue, click.item};
    return outcome;
}

SearchOutcome SearchController::OnResultDoubleClick(const plat::NotifyHeader& header) {
    SearchOutcome outcome;
    const plat::ItemActivate& click = AsActivate(header);
    if (click.item < 0) {
        return outcome;
    }
    if (doubleClickAdds_) {
        outcome.row = {ResultRowAction::kAddToPlaylist, click.item};
    } else if (click.subItem != kAddColumn) {
        outcome.row = {ResultRowAction::kPlay, click.item};
    }
    return outcome;
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
