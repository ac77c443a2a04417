// The reference answer for catalogue searches: SQLite's FTS5 over the same index terms, with the
// same filters and the SQL orders the feed promises. Its matches and totals are what the search
// index must give; its relevance order (bm25) is not, so relevance answers are compared as sets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/catalogue.h"
#include "server/sqlite_handle.h"

namespace tunova::server::testing {

class Fts5Reference {
  public:
    // An in-memory FTS5 table of `videos`, rowids in the order given (as the catalogue's).
    explicit Fts5Reference(const std::vector<VideoRecord>& videos);

    // Deletes the video with `path`.
    void Remove(const std::string& path);

    // The ids of every match of `query` at `now`: by rating or publication time as the feed
    // orders them, by rowid for relevance with a word. Fails the test on an SQL error.
    std::vector<std::string> Ids(const FeedQuery& query, std::int64_t now);

  private:
    void Load(const std::vector<VideoRecord>& videos);
    SqliteDatabase db_;
};

}  // namespace tunova::server::testing
