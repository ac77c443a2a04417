// The video catalogue: an SQLite database (WAL journal) with a full-text index over titles and
// descriptions, plus the counter's hit table. Safe to use from many threads: each call borrows
// a connection from a small pool. Searches are answered from an in-memory index
// (search_index.h) kept in step with the database: rebuilt after every change, whether made
// through Apply or by another process on the same file.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "server/feed_query.h"

namespace tunova::server {

struct VideoRecord {
    std::string id;           // short URL-safe id, unique
    std::string path;         // file path relative to the library root, unique
    std::string title;        // UTF-8
    std::string description;  // UTF-8
    int seconds = 0;          // whole seconds
    std::string language;     // "ko", "en", "ja", "zh" or empty
    double rating = 0;        // 0 to 5
    int raters = 0;
    std::int64_t published = 0;  // seconds since the epoch
    std::int64_t updated = 0;
    std::int64_t fileSize = 0;   // change detection for rescans
    std::int64_t fileMtime = 0;  // nanoseconds since the epoch
    std::string metaSig;         // fingerprint of the sidecar row the metadata came from
};

// What a rescan compares to decide whether a file needs reading again.
struct FileSignature {
    std::int64_t fileSize = 0;
    std::int64_t fileMtime = 0;
    std::string metaSig;
    int seconds = 0;
};

struct CataloguePage {
    int total = 0;                     // all matches, not just this page
    std::vector<VideoRecord> entries;  // at most max-results, from start-index
};

struct CounterHit {
    std::string pcode, pid, kind, mac, remote;
    std::int64_t received = 0;  // seconds since the epoch
};

class Catalogue {
  public:
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Opens or creates the database at `path` (WAL journal, schema created when missing).
    // Null with `error` set when the file cannot be opened or is not a catalogue.
    static std::unique_ptr<Catalogue> Open(const std::string& path, std::string& error);

    // One page of videos matching `query` (word, language, time window relative to `now`),
    // in the query's order, from the in-memory index (rebuilt first when the database changed).
    // Empty page for a word with nothing searchable. Empty optional with `error` set on a
    // database failure.
    std::optional<CataloguePage> Search(const FeedQuery& query, std::int64_t now,
                                        std::string& error);

    // The same search answered by SQLite alone (FTS5 MATCH, bm25() ordering): the reference the
    // in-memory index is checked against. Slow for common words. Fails as Search does.
    std::optional<CataloguePage> SearchWithFullText(const FeedQuery& query, std::int64_t now,
                                                    std::string& error);

    // Brings the in-memory index up to date with the database now rather than at the next
    // search (which would otherwise pay for the build). False with `error` set on a database
    // failure; the next search tries again.
    bool RefreshSearchIndex(std::string& error);

    // The library-relative path of video `id`, or empty optional when unknown.
    std::optional<std::string> MediaPath(const std::string& id, std::string& error);

    // Path → signature of every video, for rescans.
    std::map<std::string, FileSignature> Signatures(std::string& error);

    // Inserts or replaces `upserts` (matched by path) and deletes `removedPaths`, in one
    // transaction. False with `error` set (and nothing changed) on failure.
    bool Apply(const std::vector<VideoRecord>& upserts,
               const std::vector<std::string>& removedPaths, std::string& error);

    // Stores one counter hit. False with `error` set on failure.
    bool RecordCounterHit(const CounterHit& hit, std::string& error);

    // Number of videos.
    std::int64_t VideoCount(std::string& error);

  private:
    struct Connection;
    class Lease;
    struct SearchState;
    explicit Catalogue(std::string path);
    std::unique_ptr<Connection> Acquire(std::string& error);
    bool RefreshLocked(std::string& error);
    bool RebuildLocked(std::string& error);
    void Release(std::unique_ptr<Connection> connection);

    std::string path_;
    std::mutex poolMutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
    std::mutex searchMutex_;  // guards search_: its connection, tokenizer and current index
    std::unique_ptr<SearchState> search_;
};

}  // namespace tunova::server
