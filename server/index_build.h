// Builds a fresh search index from every video of the catalogue. Writing the Xapian documents
// is nearly all of a rebuild's time, so the rowids are cut into contiguous ranges, each written
// into a part of its own by a thread of its own, and the parts are merged into one compacted
// index at the end (keeping the rowids as document ids, which the ranges keep apart).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "server/search_index.h"

namespace tunova::server {

// How many parts a rebuild of `videos` videos is written in: `requested` when positive (at most
// one a video), else one per core but none of fewer than 20,000 videos (merging parts costs
// more than it saves on a small catalogue), and at most four.
int IndexPartCount(std::int64_t videos, int requested);

class IndexBuild {
  public:
    // Starts writing into `folder` (emptied first; the parts are its subfolders). `firstRowids`
    // are the first rowids of the second and later parts, ascending: a video goes to the last
    // part whose first rowid it reaches. Null with `error` set when a part cannot be created.
    static std::unique_ptr<IndexBuild> Start(const std::string& folder,
                                             std::vector<std::int64_t> firstRowids,
                                             std::string& error);
    // Stops the writers; what they wrote stays in the folder for the caller to remove.
    ~IndexBuild();
    IndexBuild(const IndexBuild&) = delete;
    IndexBuild& operator=(const IndexBuild&) = delete;

    int Parts() const { return static_cast<int>(parts_.size()); }
    // Hands a video to its part's writer, waiting while that writer is far behind. False with
    // `error` set once any part has failed.
    bool Put(IndexedVideo video, std::string& error);
    // A metadata value for the finished index.
    void SetMetadata(const std::string& key, const std::string& value);
    // Waits for every part, commits them and merges them into `to` with full blocks. When that
    // copy cannot be written (no room for it), an index of one part is moved to `to` as built.
    // False with `error` set when a part failed or the parts cannot be merged.
    bool Finish(const std::string& to, std::string& error);

  private:
    class Part;
    IndexBuild() = default;
    Part& PartFor(std::int64_t rowid);

    std::string folder_;
    std::vector<std::int64_t> firstRowids_;
    std::vector<std::unique_ptr<Part>> parts_;
    std::vector<std::pair<std::string, std::string>> metadata_;
};

}  // namespace tunova::server
