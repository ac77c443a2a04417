#include "search/search_controller.h"

#include <algorithm>

#include "platform/dialog.h"
#include "platform/log.h"
#include "platform/window.h"
#include "search/feed_query.h"
#include "search/result_list.h"

namespace tunova {
namespace {

constexpr int kLinkButtonShift = 110;

}  // namespace

SearchController::~SearchController() {
    if (worker_.joinable()) {
        cancel_ = true;
        worker_.join();
    }
}

void SearchController::Bind(plat::Window& owner, plat::ListView& resultList,
                            plat::Window& moreButton, SearchHooks hooks) {
    owner_ = &owner;
    list_ = &resultList;
    moreButton_ = &moreButton;
    hooks_ = std::move(hooks);
}

void SearchController::SetupResultList() {
    tunova::SetupResultList(*list_, images_);
}

void SearchController::StartSearch() {
    const std::string word = hooks_.searchText ? hooks_.searchText() : std::string();
    if (word.empty()) {
        plat::ShowMessageBox(owner_, "검색어 입력해 주세요", "Tunova",
                             plat::kMbOk | plat::kMbIconExclamation);
        return;
    }
    if (IsSearchRunning()) {
        return;
    }
    if (hooks_.showResultList) {
        hooks_.showResultList();
    }
    const std::string encoded = EncodeSearchWord(ApplyEncodingPairs(word));
    languageSuffix_ = std::string(CountrySuffix(hooks_.countryIndex ? hooks_.countryIndex() : 0));
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

std::pair<int, int> SearchController::ScrollLimitAndPosition() const {
    if (hooks_.scrollLimitAndPosition) {
        return hooks_.scrollLimitAndPosition();
    }
    const int limit = std::max(0, list_->ItemCount() - list_->CountPerPage());
    return {limit, list_->TopIndex()};
}

void SearchController::CheckScrollPaging() {
    if (store_.StartIndex() > kLastPagingStartIndex || IsSearchRunning()) {
        return;
    }
    if (static_cast<long long>(store_.StartIndex()) + kResultsPerPage >=
        store_.TotalResultCount()) {
        return;
    }
    const auto [limit, position] = ScrollLimitAndPosition();
    const bool atEnd = limit > 0 ? position == limit : position == 0;
    if (!atEnd) {
        return;
    }
    StartPageWorker(true);
}

void SearchController::StartWorker(bool append, std::string word) {
    const std::size_t room =
        ResultStore::kCapacity -
        std::min(ResultStore::kCapacity, append ? store_.Items().size() : std::size_t{0});
    cancel_ = false;
    FetchOptions fetch = hooks_.fetch;
    fetch.cancel = &cancel_;
    plat::Trace(plat::kTraceSearchSent);
    worker_ = std::thread([this, host = hooks_.hosts.feedHost, path = searchUrlText_, fetch, append,
                           word = std::move(word), room]() mutable {
        Delivery delivery;
        delivery.append = append;
        delivery.word = std::move(word);
        std::string answer = FetchFeed(host, path, fetch);
        plat::Trace(plat::kTraceAnswerReceived);
        delivery.page = ReadFeedPage(answer, room);
        {
            std::lock_guard lock(mailboxMutex_);
            mailbox_ = std::move(delivery);
        }
        owner_->PostMessage(kWmSearchResults);
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
    const std::string countText =
        FillResultList(store_, *list_, delivery->append ? FillMode::kAppend : FillMode::kReplace);
    resultCountText_ = countText;
    if (hooks_.repaintResultCount) {
        hooks_.repaintResultCount();
    }
    if (plat::TraceEnabled()) {
        list_->UpdateNow();  // the moment the rows are on screen, not when the next paint runs
        plat::Trace(plat::kTraceRowsDrawn);
    }
    if (!delivery->append) {
        lastQueryText_ = std::move(delivery->word);
    }
    PlaceLinkButtons();
    return 0;
}

void SearchController::RefreshResultCount() {
    resultCountText_ = std::to_string(list_->ItemCount());
    if (hooks_.repaintResultCount) {
        hooks_.repaintResultCount();
    }
}

void SearchController::PlaceLinkButtons() {
    const bool more = store_.MoreResults();
    moreButton_->Show(more);
    for (plat::Window* button : {hooks_.linkButton1133, hooks_.linkButton1138}) {
        if (button == nullptr) {
            continue;
        }
        if (hooks_.layoutRect) {
            plat::Rect rect = hooks_.layoutRect(button->ControlId());
            if (more) {
                rect.Offset(kLinkButtonShift, 0);
            }
            button->Move(rect);
        }
        button->Show(true);
    }
}

bool SearchController::Flag(const std::function<bool()>& hook, bool fallback) const {
    return hook ? hook() : fallback;
}

const plat::ItemActivate& SearchController::AsActivate(const plat::NotifyHeader& header) const {
    // NM_CLICK and NM_DBLCLK carry an ItemActivate that begins with the header.
    return reinterpret_cast<const plat::ItemActivate&>(header);
}

plat::LResult SearchController::OnResultClick(const plat::NotifyHeader& header) {
    const plat::ItemActivate& click = AsActivate(header);
    if (click.item < 0) {
        return 0;
    }
    if (click.subItem == kAddColumn && Flag(hooks_.pointerOverRow, true)) {
        if (hooks_.addToPlaylist) {
            hooks_.addToPlaylist(click.item);
        }
        return 0;
    }
    if (Flag(hooks_.playerInitialised, false) && hooks_.cueResult) {
        hooks_.cueResult(click.item);
    }
    return 0;
}

plat::LResult SearchController::OnResultDoubleClick(const plat::NotifyHeader& header) {
    const plat::ItemActivate& click = AsActivate(header);
    if (click.item < 0) {
        return 0;
    }
    if (Flag(hooks_.doubleClickAdds, false)) {
        if (hooks_.addToPlaylist) {
            hooks_.addToPlaylist(click.item);
        }
    } else if (Flag(hooks_.pageReady, false) && click.subItem != kAddColumn) {
        if (hooks_.playResult) {
            hooks_.playResult(click.item);
        }
    }
    return 0;
}

plat::LResult SearchController::OnResultBeginDrag(const plat::NotifyHeader& header) {
    if (list_->SelectedCount() == 0) {
        return 0;
    }
    const auto& notify = reinterpret_cast<const plat::ListViewNotify&>(header);
    dragRow_ = notify.item;
    dragging_ = true;
    owner_->SetCapture();
    if (hooks_.beginDrag) {
        hooks_.beginDrag(dragRow_);
    }
    return 0;
}

void SearchController::EndDrag() {
    dragging_ = false;
    dragRow_ = -1;
    list_->SetFocus();
    plat::Window::ReleaseCapture();
}

}  // namespace tunova
