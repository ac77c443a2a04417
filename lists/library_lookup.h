// Finding the library's video for an entry of another player's playlist (a local file, or a web
// link the service does not know), through the feed service's own search: first by the file's
// name, then by the entry's title. A search finds every video holding all of the words; the
// entry is taken as the one video among them whose title is the same text, ignoring case,
// punctuation and spacing (for an "Artist - Title" file name, the text after the dash will do).
// None or several such videos give nothing.
//
// Each search is a blocking request with short timeouts. Once one fails (no connection, no answer),
// the service is taken as unreachable and later lookups give nothing at once, so an import of
// many entries never waits on a dead server more than once.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/desktop/machine_services.h"
#include "search/video_item.h"

namespace tunova {

class LibraryLookup {
  public:
    // Searches `feedHost` through `machine`'s HTTP function.
    LibraryLookup(const plat::MachineServices& machine, std::string feedHost)
        : machine_(machine), feedHost_(std::move(feedHost)) {}

    // The feed service's host (with its port), whose media addresses name its videos.
    const std::string& FeedHost() const { return feedHost_; }

    // The video for `fileName` (its extension left out) or else `title`, both UTF-8; either may
    // be empty. The item's text is CP949, as search results are.
    std::optional<VideoItem> Find(std::string_view fileName, std::string_view title);

    // False once a search has failed.
    bool Reachable() const { return reachable_; }

  private:
    // The one video whose title matches `title`, searching for `words`.
    std::optional<VideoItem> FindTitled(std::string_view words, std::string_view title);
    // The results of a search for `word` (CP949), remembered for the rest of the import.
    const std::vector<VideoItem>& Search(const std::string& word);

    plat::MachineServices machine_;
    std::string feedHost_;
    bool reachable_ = true;
    std::map<std::string, std::vector<VideoItem>> searched_;
};

// `text` (UTF-8) as the lookup compares it: ASCII letters in lower case, every other ASCII
// character that is not a digit as a separator, words joined by single spaces.
std::string LookupKey(std::string_view text);

}  // namespace tunova
