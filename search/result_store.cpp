#include "search/result_store.h"

#include "search/feed_query.h"

namespace tunova {

void ResultStore::Append(const FeedPage& page) {
    for (const VideoItem& item : page.items) {
        if (items_.size() >= kCapacity) {
            break;
        }
        items_.push_back(item);
    }
}

void ResultStore::TakeSearchPage(const FeedPage& page, bool append) {
    totalResultCount_ = 0;
    pageCount_ = 0;
    startIndex_ = 0;
    if (!append) {
        items_.clear();
        storedCount_ = 0;
    }
    if (!page.read) {
        return;
    }
    totalResultCount_ = page.totalResultCount;
    startIndex_ = page.startIndex;
    pageCount_ = page.pageCount;
    Append(page);
    moreResults_ = static_cast<long long>(startIndex_) + kResultsPerPage < totalResultCount_;
}

void ResultStore::TakeChartPage(const FeedPage& page) {
    Append(page);
    totalResultCount_ = 50;
    pageCount_ = 50;
    startIndex_ = 1;
}

const VideoItem* ResultStore::At(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) {
        return nullptr;
    }
    return &items_[static_cast<std::size_t>(index)];
}

}  // namespace tunova
