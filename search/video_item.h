// One search or chart result, all text in CP949.
#pragma once

#include <string>

namespace tunova {

struct VideoItem {
    std::string title;
    std::string link;     // the watch-page link from the entry's first link element
    std::string updated;  // carried into playlist entries, never shown
    std::string content;  // the description, carried into playlist entries, never shown
    int seconds = 0;      // play time; 0 when the entry has none
};

}  // namespace tunova
