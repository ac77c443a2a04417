// Builds a fresh search index from every video of the catalogue. Writing the Xapian documents
// is nearly all of a rebuild's time, so the rowids are cut into contiguous ranges, each written
// into a shard of its own by a thread of its own, and the shards are merged into one compacted
// index at the end (keeping the rowids as document ids, which the ranges keep apart).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "server/search_index.h"

namespace tunova::server {

// How many shards a rebuild of `videos` videos is written in: `requested` when positive (at most
// one a video), else one per core but none of fewer than 20,000 videos (merging shards costs
// more than it saves on a small catalogue), and at most four.
int IndexShardCount(std::int64_t videos, int requested);

class IndexBuild {
  public:
    // Starts writing into `folder` (emptied first; the shards are its subfolders). `firstRowids`
    // are the first rowids of the second and later shards, ascending: a video goes to the last
    // shard whose first rowid it reaches. Null with `error` set when a shard cannot be created.
    static std::unique_ptr<IndexBuild> Start(const std::string& folder,
                                             std::vector<std::int64_t> firstRowids,
                                             std::string& error);
    // Stops the writers; what they wrote stays in the folder for the caller to remove.
    ~IndexBuild();
    IndexBuild(const IndexBuild&) = delete;
    IndexBuild& operator=(const IndexBuild&) = delete;

    int Shards() const { return static_cast<int>(shards_.size()); }
    // Hands a video to its shard's writer, waiting while that writer is far behind. False with
    // `error` set once any shard has failed.
    bool Put(IndexedVideo video, std::string& error);
    // A metadata value for the finished index.
    void SetMetadata(const std::string& key, const std::string& value);
    // Waits for every shard, commits them and merges them into `to` with full blocks. When that
    // copy cannot be written (no room for it), an index of one shard is moved to `to` as built.
    // False with `error` set when a shard failed or the shards cannot be merged.
    bool Finish(const std::string& to, std::string& error);

  private:
    class Shard;
    IndexBuild() = default;
    Shard& ShardFor(std::int64_t rowid);

    std::string folder_;
    std::vector<std::int64_t> firstRowids_;
    std::vector<std::unique_ptr<Shard>> shards_;
    std::vector<std::pair<std::string, std::string>> metadata_;
};

}  // namespace tunova::server
