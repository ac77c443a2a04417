// The catalogue's search index: a Xapian database in a folder beside the catalogue, one document
// per video, whose document id is the video's rowid. The catalogue stays the record; the index
// holds only what matching, filtering and ordering need (tokens with positions, the language
// as a filter term, the publication time and rating (then plays) as sort keys), and pages are read
// back from the catalogue by rowid.
//
// Matching keeps the catalogue's full-text rules: tokens are FTS5's unicode61 tokens of the
// index terms (search_terms.h), a quoted phrase matches where its tokens stand at consecutive
// positions of one column (title, description, artist or keywords), phrases are ANDed, and a prefix
// phrase (a lone CJK character) matches every token that starts with it. Title tokens weigh 4,
// artist tokens 2, description and keyword tokens 1 in BM25 (k1 1.2, b 0.75); ties go to the lower
// rowid, as do equal sort keys in the rating and publication orders.
//
// Totals are exact, not estimated: a page is ranked with the matcher free to skip what cannot
// reach it, and the matches are counted apart (a lone term's document count, else a counting
// pass that ranks nothing).
//
// A SearchIndex is a pool of read handles and is safe to use from many threads. A writer
// (SearchIndexWriter) may change the folder at the same time, from this process or another;
// readers see its changes after Reopen(). Xapian lets one writer in at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/feed_query.h"

namespace Xapian {
class Database;
class WritableDatabase;
}  // namespace Xapian

namespace tunova::server {

// One quoted phrase of a query as tokens; `prefix` matches the last token as a prefix when the
// phrase is that one token.
struct PhraseTokens {
    std::vector<std::string> tokens;
    bool prefix = false;
};

// What the index stores of one video.
struct IndexedVideo {
    std::int64_t rowid = 0;
    std::vector<std::string> titleTokens;
    std::vector<std::string> descriptionTokens;
    std::vector<std::string> artistTokens;
    std::vector<std::string> keywordTokens;  // album, genre, tags: searchable, weighed as text
    std::string language;                    // "ko", "en", "ja", "zh" or empty
    double rating = 0;
    std::int64_t plays = 0;  // ranks videos of equal rating (those without any, mostly)
    std::int64_t published = 0;
};

// One page of a search: every match counted, the page's rowids in order.
struct IndexHits {
    int total = 0;
    std::vector<std::int64_t> rowids;
};

// Metadata keys the catalogue keeps in the index.
inline constexpr const char* kIndexFormatKey = "tunova.format";
inline constexpr const char* kIndexFormat = "3";
inline constexpr const char* kIndexCatalogueKey = "tunova.catalogue";  // the catalogue's id
inline constexpr const char* kIndexAppliedKey = "tunova.applied";      // last change applied

class SearchIndex {
  public:
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // Opens the index in `folder` for reading. Null with `error` set when the folder is missing,
    // not a Xapian database, damaged, or of another format.
    static std::unique_ptr<SearchIndex> Open(const std::string& folder, std::string& error);

    // One page for `query`: `phrases` is null for a query without a word (every video), else the
    // ANDed phrases of the word (phrases without tokens are skipped; none left matches nothing).
    // Videos published before `since` are left out (INT64_MIN for all time). False with `error`
    // set when the index cannot be read (damaged, or changed under the reader twice over).
    bool Search(const FeedQuery& query, const std::vector<PhraseTokens>* phrases,
                std::int64_t since, IndexHits& hits, std::string& error);

    // A metadata value as of the last Reopen(); empty when absent or unreadable.
    std::string Metadata(const std::string& key);

    // Makes every handle see the latest committed state at its next use.
    void Reopen();

  private:
    struct Handle;
    class Lease;
    explicit SearchIndex(std::string folder);
    std::unique_ptr<Handle> Acquire();
    void Release(std::unique_ptr<Handle> handle);

    std::string folder_;
    std::mutex poolMutex_;
    std::vector<std::unique_ptr<Handle>> idle_;
    std::uint64_t generation_ = 0;  // bumped by Reopen; a handle older than this reopens
};

// Changes to the index folder, committed together by Commit (readers never see half of them).
class SearchIndexWriter {
  public:
    ~SearchIndexWriter();
    SearchIndexWriter(const SearchIndexWriter&) = delete;
    SearchIndexWriter& operator=(const SearchIndexWriter&) = delete;

    // Opens `folder` for writing, creating it when missing (`fresh`: discarding what is there).
    // Null with `error` set when another writer holds it, it is damaged, or it cannot be created.
    static std::unique_ptr<SearchIndexWriter> Open(const std::string& folder, bool fresh,
                                                   std::string& error);

    // Adds or replaces the document of `video.rowid`. False with `error` set on failure.
    bool Put(const IndexedVideo& video, std::string& error);
    // Removes the document of `rowid` if there is one. False with `error` set on failure.
    bool Remove(std::int64_t rowid, std::string& error);
    // The stored metadata value of `key`; empty when absent.
    std::string Metadata(const std::string& key);
    // Sets a metadata value, committed with the next Commit.
    bool SetMetadata(const std::string& key, const std::string& value, std::string& error);
    // Makes every change since the last commit visible at once. False with `error` set.
    bool Commit(std::string& error);

    // Writes the indexes in `from` (no writer open on them; their document ids in ascending
    // ranges that do not overlap) into one index in `to` with full blocks and the same document
    // ids: smaller, and fewer blocks to read a search. False with `error` set.
    static bool Compact(const std::vector<std::string>& from, const std::string& to,
                        std::string& error);

  private:
    explicit SearchIndexWriter(std::unique_ptr<Xapian::WritableDatabase> database);
    std::unique_ptr<Xapian::WritableDatabase> database_;
};

// The index term of token: the token itself, or for one longer than the index takes, its
// first bytes, a space (never inside a token) and a hash of the whole token.
std::string IndexTerm(const std::string& token);

}  // namespace tunova::server
