// A bounded cache of rendered feeds. Players send the same few queries over and over (the daily
// chart, popular words, the next page), and the catalogue changes only when the library does,
// which empties the cache, so a rendered answer stays good for a short while.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace tunova::server {

class FeedCache {
  public:
    // Keeps at most `capacity` answers, each for `lifetimeSeconds` (time windows of the query
    // move by no more than that). A capacity of 0 disables the cache.
    FeedCache(std::size_t capacity, std::int64_t lifetimeSeconds);

    // The answer stored under `key` if it is younger than the lifetime at `now`.
    std::optional<std::string> Find(const std::string& key, std::int64_t now);
    // Stores `body` under `key`, dropping the least recently used answer when full. An answer
    // rendered from the catalogue as it was at `generation` (Generation() before the search) is
    // not stored once Clear() has been called since.
    void Store(const std::string& key, std::string body, std::int64_t now,
               std::uint64_t generation = kCurrent);
    // Drops every answer: the catalogue changed.
    void Clear();
    std::uint64_t Generation();

    static constexpr std::uint64_t kCurrent = ~std::uint64_t{0};

  private:
    struct Entry {
        std::string key;
        std::string body;
        std::int64_t stored = 0;
    };
    std::size_t capacity_;
    std::int64_t lifetime_;
    std::mutex mutex_;
    std::uint64_t generation_ = 0;
    std::list<Entry> entries_;  // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};

}  // namespace tunova::server
