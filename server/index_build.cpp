#include "server/index_build.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

namespace tunova::server {

namespace {

// Videos a shard's queue holds before Put waits: enough to keep its writer busy while the reader
// serves the other shards, little enough to stay a few megabytes.
constexpr std::size_t kQueueLimit = 2048;
constexpr std::int64_t kMostShards = 4;
constexpr std::int64_t kLeastVideosPerShard = 20000;
// Videos a shard writes between commits. Xapian keeps the changes since the last commit in
// ordered maps that grow costlier per video the more they hold: committing every thousand
// videos took about 30 % less CPU and a third of the memory of its default of ten thousand.
constexpr int kVideosPerCommit = 1000;

}  // namespace

int IndexShardCount(std::int64_t videos, int requested) {
    const std::int64_t most =
        requested > 0
            ? requested
            : std::clamp<std::int64_t>(std::thread::hardware_concurrency(), 1, kMostShards);
    const std::int64_t least = requested > 0 ? 1 : kLeastVideosPerShard;
    return static_cast<int>(std::clamp<std::int64_t>(videos / least, 1, most));
}

// One shard: a writer on a thread of its own, fed through a bounded queue.
class IndexBuild::Shard {
  public:
    Shard(std::unique_ptr<SearchIndexWriter> writer, std::string folder)
        : writer_(std::move(writer)), folder_(std::move(folder)), thread_([this] { Run(); }) {}

    ~Shard() {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
            abandoned_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    const std::string& Folder() const { return folder_; }

    bool Put(IndexedVideo video, std::string& error) {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [this] { return queue_.size() < kQueueLimit || failed_; });
        if (failed_) {
            error = error_;
            return false;
        }
        queue_.push_back(std::move(video));
        if (queue_.size() == 1) {
            wake_.notify_one();
        }
        return true;
    }

    // Waits until every queued video is written, then commits. False with `error` set when a
    // video or the commit failed.
    bool Finish(const std::vector<std::pair<std::string, std::string>>& metadata,
                std::string& error) {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
        }
        wake_.notify_all();
        thread_.join();
        if (failed_) {
            error = error_;
            return false;
        }
        for (const auto& [key, value] : metadata) {
            if (!writer_->SetMetadata(key, value, error)) {
                return false;
            }
        }
        if (!writer_->Commit(error)) {
            return false;
        }
        writer_.reset();  // the merge reads the folder with no writer open on it
        return true;
    }

  private:
    void Run() {
        std::deque<IndexedVideo> batch;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return !queue_.empty() || closed_; });
                if (abandoned_ || (queue_.empty() && closed_)) {
                    return;
                }
                batch.swap(queue_);
            }
            room_.notify_all();
            std::string error;
            for (const IndexedVideo& video : batch) {
                const bool commit = ++uncommitted_ == kVideosPerCommit;
                if (commit) {
                    uncommitted_ = 0;
                }
                if (!writer_->Put(video, error) || (commit && !writer_->Commit(error))) {
                    std::lock_guard lock(mutex_);
                    failed_ = true;
                    error_ = error;
                    room_.notify_all();
                    return;
                }
            }
            batch.clear();
        }
    }

    std::unique_ptr<SearchIndexWriter> writer_;
    std::string folder_;
    std::mutex mutex_;
    std::condition_variable wake_;  // a video was queued, or the shard is closed
    std::condition_variable room_;  // the queue has room, or the writer failed
    std::deque<IndexedVideo> queue_;
    bool closed_ = false;     // no more videos come
    bool abandoned_ = false;  // the build is given up: stop without writing the rest
    bool failed_ = false;
    std::string error_;
    int uncommitted_ = 0;  // the writer thread's own
    std::thread thread_;   // last: it starts running once everything above is built
};

std::unique_ptr<IndexBuild> IndexBuild::Start(const std::string& folder,
                                              std::vector<std::int64_t> firstRowids,
                                              std::string& error) {
    namespace fs = std::filesystem;
    std::error_code failure;
    fs::remove_all(folder, failure);
    fs::create_directories(folder, failure);
    if (failure) {
        error = "cannot create " + folder + ": " + failure.message();
        return nullptr;
    }
    std::unique_ptr<IndexBuild> build(new IndexBuild);
    build->folder_ = folder;
    build->firstRowids_ = std::move(firstRowids);
    for (std::size_t i = 0; i <= build->firstRowids_.size(); ++i) {
        const std::string shardFolder = folder + "/" + std::to_string(i);
        auto writer = SearchIndexWriter::Open(shardFolder, true, error);
        if (!writer) {
            return nullptr;
        }
        build->shards_.push_back(std::make_unique<Shard>(std::move(writer), shardFolder));
    }
    return build;
}

IndexBuild::~IndexBuild() = default;

IndexBuild::Shard& IndexBuild::ShardFor(std::int64_t rowid) {
    const auto after = std::upper_bound(firstRowids_.begin(), firstRowids_.end(), rowid);
    return *shards_[static_cast<std::size_t>(after - firstRowids_.begin())];
}

bool IndexBuild::Put(IndexedVideo video, std::string& error) {
    Shard& shard = ShardFor(video.rowid);
    return shard.Put(std::move(video), error);
}

void IndexBuild::SetMetadata(const std::string& key, const std::string& value) {
    metadata_.emplace_back(key, value);
}

bool IndexBuild::Finish(const std::string& to, std::string& error) {
    namespace fs = std::filesystem;
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < shards_.size(); ++i) {
        // Metadata goes into the first shard only: the merge keeps the first value of a key.
        if (!shards_[i]->Finish(i == 0 ? metadata_ : decltype(metadata_)(), error)) {
            return false;
        }
        folders.push_back(shards_[i]->Folder());
    }
    std::error_code failure;
    fs::remove_all(to, failure);
    std::string why;
    if (SearchIndexWriter::Compact(folders, to, why)) {
        return true;
    }
    fs::remove_all(to, failure);
    if (folders.size() == 1) {
        fs::rename(folders[0], to, failure);
        if (!failure) {
            return true;
        }
        why += "; " + failure.message();
    }
    error = "cannot merge the index's shards: " + why;
    return false;
}

}  // namespace tunova::server
