#include "lists/library_lookup.h"

#include "platform/core/codepage.h"
#include "search/feed_fetch.h"
#include "search/feed_query.h"
#include "search/feed_reader.h"

namespace tunova {
namespace {

// A search on loopback or a local network answers in milliseconds; these bound a dead one.
constexpr long kConnectTimeoutMs = 2000;
constexpr long kTotalTimeoutMs = 5000;

// `fileName` without its extension (a last '.' after which come 1 to 5 letters or digits).
std::string_view Stem(std::string_view fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0 || fileName.size() - dot - 1 > 5) {
        return fileName;
    }
    for (const char c : fileName.substr(dot + 1)) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return fileName;
        }
    }
    return fileName.substr(0, dot);
}

}  // namespace

std::string LookupKey(std::string_view text) {
    std::string key;
    bool separated = false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        const bool kept =
            u >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!kept) {
            separated = true;
            continue;
        }
        if (separated && !key.empty()) {
            key += ' ';
        }
        separated = false;
        key += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return key;
}

std::optional<VideoItem> LibraryLookup::Find(std::string_view fileName, std::string_view title) {
    const std::string_view stem = Stem(fileName);
    if (std::optional<VideoItem> byName = FindTitled(stem, stem)) {
        return byName;
    }
    // The library reads "Artist - Title" file names as an artist (searchable) and a title.
    if (const std::size_t dash = stem.find(" - "); dash != std::string_view::npos) {
        if (std::optional<VideoItem> byName = FindTitled(stem, stem.substr(dash + 3))) {
            return byName;
        }
    }
    return FindTitled(title, title);
}

std::optional<VideoItem> LibraryLookup::FindTitled(std::string_view words, std::string_view title) {
    // Compared as the service sees it: through the program's code page, where what it cannot
    // hold becomes a separator.
    const auto keyOf = [](std::string_view text) {
        return LookupKey(plat::Cp949ToUtf8(plat::Utf8ToCp949(LookupKey(text))));
    };
    const std::string key = keyOf(title);
    const std::string word = plat::Utf8ToCp949(keyOf(words));
    if (key.empty() || word.empty() || !reachable_) {
        return std::nullopt;
    }
    std::optional<VideoItem> found;
    for (const VideoItem& item : Search(word)) {
        if (LookupKey(plat::Cp949ToUtf8(item.title)) != key) {
            continue;
        }
        if (found) {
            return std::nullopt;  // two videos of that title: neither is taken
        }
        found = item;
    }
    return found;
}

const std::vector<VideoItem>& LibraryLookup::Search(const std::string& word) {
    if (const auto known = searched_.find(word); known != searched_.end()) {
        return known->second;
    }
    FetchOptions options;
    options.connectTimeoutMs = kConnectTimeoutMs;
    options.totalTimeoutMs = kTotalTimeoutMs;
    const std::string answer =
        FetchFeed(machine_, feedHost_, FirstPageQuery(EncodeSearchWord(word), {}), options);
    if (answer == kFetchFailed) {
        reachable_ = false;
    }
    return searched_[word] = ReadFeedPage(answer, kResultsPerPage).items;
}

}  // namespace tunova
