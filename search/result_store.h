// The results of the current search (or the daily chart) and the counters paging works from.
// Owned and touched by the user-interface thread only: workers hand over a FeedPage.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "search/feed_reader.h"
#include "search/video_item.h"

namespace tunova {

class ResultStore {
  public:
    // Results kept at most: enough for paging up to start index 4500 plus one page.
    static constexpr std::size_t kCapacity = 5000;

    // Takes a search page: resets the three counters, empties the store first unless
    // `append`, stores the page's entries (entries beyond kCapacity are dropped) and, when the
    // page was read, sets the more-results flag to (start index + 30 < total result count).
    // A page that was not read leaves the flag as it was.
    void TakeSearchPage(const FeedPage& page, bool append);
    // Takes the daily chart: stores its entries without emptying the store, then sets the
    // total result count and page count to 50 and the start index to 1; the flag stays.
    void TakeChartPage(const FeedPage& page);

    // Takes the daily chart read from its cache file: stores its entries without emptying the
    // store (entries beyond kCapacity are dropped), then sets the page count and the total
    // result count to the number of entries and the start index to 0.
    void TakeCachedChart(const std::vector<VideoItem>& items);
    // Sets the total result count, start index and page count to 0, so that neither kind of
    // paging fetches a page after the one shown (the chart has none).
    void StopPaging();

    // Every stored result, in list order.
    const std::vector<VideoItem>& Items() const { return items_; }
    // The item at `index`, or null when there is none.
    const VideoItem* At(int index) const;
    // Results already taken into the list view.
    int StoredCount() const { return storedCount_; }
    // Counts one more item taken into the list view.
    void CountShown() { ++storedCount_; }
    // Counters of the page read last (all 0 after a page that could not be read).
    int TotalResultCount() const { return totalResultCount_; }
    int StartIndex() const { return startIndex_; }
    int PageCount() const { return pageCount_; }
    // Whether another full page can be asked for; false at first.
    bool MoreResults() const { return moreResults_; }

  private:
    void Append(const std::vector<VideoItem>& items);

    std::vector<VideoItem> items_;
    int storedCount_ = 0;
    int totalResultCount_ = 0;
    int pageCount_ = 0;
    int startIndex_ = 0;
    bool moreResults_ = false;
};

}  // namespace tunova
