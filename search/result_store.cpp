#include "search/result_store.h"

#include "search/feed_query.h"

namespace tunova {

void ResultStore::Append(const std::vector<VideoItem>& items) {
    for (const VideoItem& item : items) {
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
    Append(page.items);
    moreResults_ = static_cast<long long>(startIndex_) + kResultsPerPage < totalResultCount_;
}

void ResultStore::TakeChartPage(const FeedPage& page) {
    Append(page.items);
    totalResultCount_ = 50;
    pageCount_ = 50;
    startIndex_ = 1;
}

void ResultStore::TakeCachedChart(const std::vector<VideoItem>& items) {
    Append(items);
    const int count = static_cast<int>(items.size());
    totalResultCount_ = count;
    pageCount_ = count;
    startIndex_ = 0;
}

void ResultStore::StopPaging() {
    totalResultCount_ = 0;
    startIndex_ = 0;
    pageCount_ = 0;
}

const VideoItem* ResultStore::At(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) {
        return nullptr;
    }
    return &items_[static_cast<std::size_t>(index)];
}

}  // namespace tunova
