// The video catalogue: an SQLite database (WAL journal) of videos and the counter's hit table,
// with a search index (search_index.h) in a folder beside it. Safe to use from many threads:
// each call borrows a connection from a small pool.
//
// The index follows the database through a change log: every change to a video appends the
// video's rowid to `index_log` in the same transaction, and the index records the last log
// entry it has applied. Whoever finds the index behind (this process after its own change or
// after another process changed the file, or the next start after a crash) applies the rest,
// one commit for the lot. An index that is missing, damaged, or built for another catalogue is
// built afresh in a separate folder and moved into place whole, with one log line.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "server/feed_query.h"
#include "server/search_index.h"

namespace tunova::server {

struct VideoRecord {
    std::string id;           // short URL-safe id, unique
    std::string path;         // file path relative to the library root, unique
    std::string title;        // UTF-8
    std::string description;  // UTF-8
    std::string artist;       // UTF-8, empty when unknown
    std::string keywords;     // searchable words not shown (album, genre, tags), one a line
    int seconds = 0;          // whole seconds
    std::string language;     // "ko", "en", "ja", "zh" or empty
    double rating = 0;        // 0 to 5
    int raters = 0;
    std::int64_t published = 0;  // seconds since the epoch
    std::int64_t updated = 0;
    std::int64_t fileSize = 0;   // change detection for rescans
    std::int64_t fileMtime = 0;  // nanoseconds since the epoch
    std::string metaSig;         // fingerprint of the sidecar row the metadata came from
    std::string mediaCopy;       // the playable copy in the media cache, empty: the file itself
    std::string probe;           // what ffprobe said of the file (SaveProbe), empty: not probed
    std::int64_t plays = 0;      // plays the server counted
};

// What a rescan compares to decide whether a file needs reading again.
struct FileSignature {
    std::int64_t fileSize = 0;
    std::int64_t fileMtime = 0;
    std::string metaSig;
    int seconds = 0;
    std::string probe;
    std::string mediaCopy;
};

// Where the bytes of a video come from: its file in the library, or its playable copy.
struct MediaSource {
    std::string path;       // relative to the library root
    std::string mediaCopy;  // file name in the media cache; empty: the file itself is served
};

struct CataloguePage {
    int total = 0;                     // all matches, not just this page
    std::vector<VideoRecord> entries;  // at most max-results, from start-index
};

struct CounterHit {
    std::string pcode, pid, kind, mac, remote;
    std::int64_t received = 0;  // seconds since the epoch
};

struct CatalogueOptions {
    std::string indexFolder;                      // empty: the database path + ".index"
    std::function<void(const std::string&)> log;  // index rebuilds; null: stderr
    // Shards a rebuild writes side by side; 0: one per core for a large catalogue.
    int indexShards = 0;
};

struct CatalogueConnection;

class Catalogue {
  public:
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Opens or creates the database at `path` (WAL journal, schema created when missing) and
    // its search index (caught up, or rebuilt with one log line when missing or damaged).
    // Null with `error` set when the file cannot be opened or is not a catalogue, or the index
    // cannot be built.
    static std::unique_ptr<Catalogue> Open(const std::string& path, std::string& error,
                                           const CatalogueOptions& options = {});

    // One page of videos matching `query` (word, language, time window relative to `now`),
    // in the query's order, from the search index (caught up first when the database changed).
    // Empty page for a word with nothing searchable. Empty optional with `error` set on a
    // database or index failure (a damaged index is rebuilt at the next search).
    std::optional<CataloguePage> Search(const FeedQuery& query, std::int64_t now,
                                        std::string& error);

    // Brings the search index up to date with the database now rather than at the next search.
    // False with `error` set on failure; the next search tries again.
    bool RefreshSearchIndex(std::string& error);

    // The folder of the search index.
    const std::string& IndexFolder() const { return indexFolder_; }

    // The file of video `id` and its playable copy, or empty optional when unknown.
    std::optional<MediaSource> Media(const std::string& id, std::string& error);

    // Path → signature of every video, for rescans.
    std::map<std::string, FileSignature> Signatures(std::string& error);

    // Inserts or replaces `upserts` (matched by path) and deletes `removedPaths`, in one
    // transaction. False with `error` set (and nothing changed) on failure.
    bool Apply(const std::vector<VideoRecord>& upserts,
               const std::vector<std::string>& removedPaths, std::string& error);

    // Adds counted plays (video id to plays) in one transaction; ids no longer listed are
    // ignored. False with `error` set (and nothing changed) on failure.
    bool AddPlays(const std::map<std::string, std::int64_t>& plays, std::string& error);

    // Stores one counter hit. False with `error` set on failure.
    bool RecordCounterHit(const CounterHit& hit, std::string& error);

    // Number of videos.
    std::int64_t VideoCount(std::string& error);

  private:
    using Connection = CatalogueConnection;
    class Lease;
    struct SearchState;
    Catalogue(std::string path, const CatalogueOptions& options);
    std::unique_ptr<Connection> Acquire(std::string& error);
    void Release(std::unique_ptr<Connection> connection);
    bool OpenIndexLocked(std::string& error);
    bool RefreshLocked(std::string& error);
    bool CatchUpLocked(std::string& error);
    bool RebuildLocked(const std::string& reason, std::string& error);
    bool ReadPage(const IndexHits& hits, CataloguePage& page, std::string& error);
    void TrimLog(std::int64_t applied);
    void Log(const std::string& line) const;

    std::string path_;
    std::string indexFolder_;
    int indexShards_;
    std::function<void(const std::string&)> log_;
    std::string catalogueId_;
    std::mutex poolMutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
    std::mutex searchMutex_;  // guards search_: its connection, tokenizer and index state
    std::unique_ptr<SearchState> search_;
};

}  // namespace tunova::server
