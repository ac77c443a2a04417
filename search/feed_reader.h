// Reading one page of the service's Atom feed into results. Reading touches no shared state,
// so a search worker can read while the user-interface thread keeps the result store.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "search/video_item.h"

namespace tunova {

struct FeedPage {
    bool read = false;             // false: no feed root element (a failed download, say)
    int totalResultCount = 0;      // openSearch:totalResults, 0 when absent
    int startIndex = 0;            // openSearch:startIndex; 0 when there are no results
    int pageCount = 0;             // occurrences of the text "<entry>"; 0 when there are no results
    std::vector<VideoItem> items;  // the entries actually read, at most pageCount of them
};

// Reads a page as CP949 text (UTF-16 after a 0xFF 0xFE mark is converted first). Entries are
// read in document order after the two openSearch counts, up to `maxItems` of them.
FeedPage ReadFeedPage(std::string_view text, std::size_t maxItems);

}  // namespace tunova
