// The catalogue's searches and the upkeep of its search index: catching up from the change log,
// and building a fresh index beside the old one when it is missing or damaged.
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "server/catalogue.h"
#include "server/catalogue_connection.h"
#include "server/index_build.h"
#include "server/search_terms.h"

namespace tunova::server {

namespace {

constexpr const char* kVideoByRowid =
    "SELECT id, path, title, description, seconds, language, rating, raters, published, updated, "
    "artist, media_copy, plays FROM videos WHERE rowid = ?1";
// The last change logged so far (AUTOINCREMENT keeps it even when the log is emptied).
constexpr const char* kLastChange =
    "SELECT coalesce((SELECT seq FROM sqlite_sequence WHERE name = 'index_log'), 0)";
constexpr const char* kFirstChange = "SELECT coalesce(min(seq), 0) FROM index_log";
// What the index needs of the videos of a range of rowids.
constexpr const char* kVideosInRange =
    "SELECT rowid, title, description, language, rating, published, artist, keywords, plays "
    "FROM videos WHERE rowid >= ?1 AND rowid < ?2";
constexpr const char* kVideoCount = "SELECT count(*) FROM videos";
constexpr const char* kNthRowid = "SELECT rowid FROM videos ORDER BY rowid LIMIT 1 OFFSET ?1";
// The changes logged after a sequence number, each with what the index needs of its video and
// whether the video still exists.
constexpr const char* kChangesAfter =
    "SELECT l.seq, l.rowid, v.rowid IS NOT NULL, v.title, v.description, v.language, v.rating, "
    "v.published, v.artist, v.keywords, v.plays FROM index_log l LEFT JOIN videos v ON v.rowid = "
    "l.rowid WHERE l.seq > ?1 "
    "ORDER BY l.seq";

VideoRecord ReadVideo(const SqliteStatement& row) {
    VideoRecord video;
    video.id = row.ColumnText(0);
    video.path = row.ColumnText(1);
    video.title = row.ColumnText(2);
    video.description = row.ColumnText(3);
    video.seconds = static_cast<int>(row.ColumnInt(4));
    video.language = row.ColumnText(5);
    video.rating = row.ColumnDouble(6);
    video.raters = static_cast<int>(row.ColumnInt(7));
    video.published = row.ColumnInt(8);
    video.updated = row.ColumnInt(9);
    video.artist = row.ColumnText(10);
    video.mediaCopy = row.ColumnText(11);
    video.plays = row.ColumnInt(12);
    return video;
}

std::int64_t ReadNumber(const std::string& text) {
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// A single-value query on `connection`; false with `error` set when it fails.
bool QueryNumber(CatalogueConnection& connection, const char* sql, std::int64_t& value,
                 std::string& error) {
    SqliteStatement* statement = connection.Statement(sql, error);
    if (statement == nullptr) {
        return false;
    }
    if (!statement->Step()) {
        error = connection.db.LastError();
        return false;
    }
    value = statement->ColumnInt(0);
    statement->Reset();
    return true;
}

// Rolls back the read transaction on `connection` when it goes out of scope unfinished.
class ReadTransaction {
  public:
    explicit ReadTransaction(CatalogueConnection& connection) : connection_(connection) {}
    ~ReadTransaction() {
        connection_.ResetAll();
        if (open_) {
            std::string ignored;
            connection_.db.Execute("ROLLBACK", ignored);
        }
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;
    bool Begin(std::string& error) { return open_ = connection_.db.Execute("BEGIN", error); }

  private:
    CatalogueConnection& connection_;
    bool open_ = false;
};

// The rowid `offset` rows into the catalogue in rowid order.
bool NthRowid(CatalogueConnection& connection, std::int64_t offset, std::int64_t& rowid,
              std::string& error) {
    SqliteStatement* query = connection.Statement(kNthRowid, error);
    if (query == nullptr) {
        return false;
    }
    query->Bind(1, offset);
    if (!query->Step()) {
        error = query->Failed() ? connection.db.LastError() : "the catalogue changed under a read";
        return false;
    }
    rowid = query->ColumnInt(0);
    query->Reset();
    return true;
}

// Seconds with one decimal, for the log.
std::string Seconds(std::chrono::steady_clock::duration elapsed) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::chrono::duration<double>(elapsed).count());
    return text;
}

}  // namespace

// Tokenizes one video's columns as the index stores them (columns 0 rowid, then title,
// description, language, rating, published, artist, keywords, plays from `first`).
static bool ReadIndexedVideo(FullTextTokenizer& tokenizer, const SqliteStatement& row,
                             std::int64_t rowid, int first, IndexedVideo& video,
                             std::string& error) {
    video.rowid = rowid;
    video.language = row.ColumnText(first + 2);
    video.rating = row.ColumnDouble(first + 3);
    video.published = row.ColumnInt(first + 4);
    video.plays = row.ColumnInt(first + 7);
    if (!tokenizer.Tokenize(IndexTerms(row.ColumnText(first)), video.titleTokens) ||
        !tokenizer.Tokenize(IndexTerms(row.ColumnText(first + 1)), video.descriptionTokens) ||
        !tokenizer.Tokenize(IndexTerms(row.ColumnText(first + 5)), video.artistTokens) ||
        !tokenizer.Tokenize(IndexTerms(row.ColumnText(first + 6)), video.keywordTokens)) {
        error = "full-text tokenizer failed";
        return false;
    }
    return true;
}

bool Catalogue::OpenIndexLocked(std::string& error) {
    std::string why;
    auto index = SearchIndex::Open(indexFolder_, why);
    if (index && index->Metadata(kIndexCatalogueKey) != catalogueId_) {
        why = "built for another catalogue";
        index.reset();
    }
    if (!index) {
        return RebuildLocked(std::filesystem::exists(indexFolder_) ? why : "missing", error);
    }
    search_->index = std::move(index);
    return RefreshLocked(error);
}

bool Catalogue::RefreshSearchIndex(std::string& error) {
    std::lock_guard lock(searchMutex_);
    return RefreshLocked(error);
}

bool Catalogue::RefreshLocked(std::string& error) {
    if (!search_->index || !search_->damage.empty()) {
        return RebuildLocked(search_->index ? search_->damage : "not open", error);
    }
    std::int64_t version = 0;
    if (!QueryNumber(search_->connection, "PRAGMA data_version", version, error)) {
        return false;
    }
    if (version == search_->version && !search_->behind) {
        return true;
    }
    if (!CatchUpLocked(error)) {
        return false;
    }
    search_->version = version;
    return true;
}

// Applies the logged changes the index has not seen, in one commit. When another writer holds
// the index, leaves it to that writer and looks again at the next search.
bool Catalogue::CatchUpLocked(std::string& error) {
    Connection& watch = search_->connection;
    SearchIndex& index = *search_->index;
    std::int64_t last = 0;
    if (!QueryNumber(watch, kLastChange, last, error)) {
        return false;
    }
    index.Reopen();
    if (ReadNumber(index.Metadata(kIndexAppliedKey)) >= last) {
        search_->behind = false;
        return true;
    }
    std::string busy;
    auto writer = SearchIndexWriter::Open(indexFolder_, false, busy);
    if (!writer) {
        search_->behind = true;
        return true;
    }
    const std::int64_t applied = ReadNumber(writer->Metadata(kIndexAppliedKey));
    ReadTransaction read(watch);
    std::int64_t first = 0;
    if (!read.Begin(error) || !QueryNumber(watch, kLastChange, last, error) ||
        !QueryNumber(watch, kFirstChange, first, error)) {
        return false;
    }
    if (applied >= last) {
        search_->behind = false;
        index.Reopen();
        return true;
    }
    // Log entries the index needs were trimmed (it was restored from elsewhere): start afresh.
    if (first == 0 || first > applied + 1) {
        writer.reset();
        return RebuildLocked("older than the change log", error);
    }
    SqliteStatement* changes = watch.Statement(kChangesAfter, error);
    if (changes == nullptr) {
        return false;
    }
    changes->Bind(1, applied);
    IndexedVideo video;
    std::int64_t reached = applied;
    while (changes->Step()) {
        reached = changes->ColumnInt(0);
        const std::int64_t rowid = changes->ColumnInt(1);
        const bool present = changes->ColumnInt(2) != 0;
        const bool done =
            present ? ReadIndexedVideo(*search_->tokenizer, *changes, rowid, 3, video, error) &&
                          writer->Put(video, error)
                    : writer->Remove(rowid, error);
        if (!done) {
            return false;
        }
    }
    if (changes->Failed()) {
        error = watch.db.LastError();
        return false;
    }
    if (!writer->SetMetadata(kIndexAppliedKey, std::to_string(reached), error) ||
        !writer->Commit(error)) {
        return false;
    }
    writer.reset();
    index.Reopen();
    search_->behind = false;
    TrimLog(reached);
    return true;
}

// Builds the whole index from one snapshot of the catalogue in "<folder>.new", then puts it in
// place of the old folder: a search never sees a half-built index. The rowids are cut into as
// many ranges as there are shards to write; this thread reads and tokenizes the ranges in turn,
// a row of each at a time, so every shard's writer has work at once. A rebuild that takes a
// while reports its progress every few seconds.
bool Catalogue::RebuildLocked(const std::string& reason, std::string& error) {
    namespace fs = std::filesystem;
    using Clock = std::chrono::steady_clock;
    constexpr auto kReportEvery = std::chrono::seconds(5);
    Log("search index " + indexFolder_ + ": " + reason + "; rebuilding it from the catalogue");
    search_->index.reset();
    search_->damage.clear();
    const std::string fresh = indexFolder_ + ".new";
    const std::string compacted = indexFolder_ + ".compact";
    std::error_code failure;
    fs::remove_all(fresh, failure);
    fs::remove_all(compacted, failure);
    const Clock::time_point started = Clock::now();
    Clock::time_point nextReport = started + kReportEvery;
    Connection& watch = search_->connection;
    std::int64_t last = 0;
    std::int64_t version = 0;
    std::int64_t videos = 0;
    std::unique_ptr<IndexBuild> build;
    {
        ReadTransaction read(watch);
        if (!read.Begin(error) || !QueryNumber(watch, kLastChange, last, error) ||
            !QueryNumber(watch, "PRAGMA data_version", version, error) ||
            !QueryNumber(watch, kVideoCount, videos, error)) {
            return false;
        }
        const int shards = IndexShardCount(videos, indexShards_);
        std::vector<std::int64_t> firstRowids;
        for (int shard = 1; shard < shards; ++shard) {
            std::int64_t rowid = 0;
            if (!NthRowid(watch, videos * shard / shards, rowid, error)) {
                return false;
            }
            firstRowids.push_back(rowid);
        }
        build = IndexBuild::Start(fresh, firstRowids, error);
        if (!build) {
            return false;
        }
        // One reading statement for each shard's range of rowids.
        firstRowids.insert(firstRowids.begin(), INT64_MIN);
        firstRowids.push_back(INT64_MAX);
        std::vector<SqliteStatement> ranges;
        for (int shard = 0; shard < shards; ++shard) {
            ranges.push_back(watch.db.Prepare(kVideosInRange, error));
            if (!ranges.back()) {
                return false;
            }
            ranges.back().Bind(1, firstRowids[shard]);
            ranges.back().Bind(2, firstRowids[shard + 1]);
        }
        IndexedVideo video;
        std::int64_t count = 0;
        // A statement stepped again after its last row would start over: each is dropped from
        // the turns once done.
        std::vector<SqliteStatement*> reading;
        for (SqliteStatement& rows : ranges) {
            reading.push_back(&rows);
        }
        while (!reading.empty()) {
            for (auto it = reading.begin(); it != reading.end();) {
                SqliteStatement& rows = **it;
                if (!rows.Step()) {
                    if (rows.Failed()) {
                        error = watch.db.LastError();
                        return false;
                    }
                    it = reading.erase(it);
                    continue;
                }
                ++it;
                if (!ReadIndexedVideo(*search_->tokenizer, rows, rows.ColumnInt(0), 1, video,
                                      error) ||
                    !build->Put(std::move(video), error)) {
                    return false;
                }
                ++count;
            }
            if (Clock::now() >= nextReport) {
                Log("search index: " + std::to_string(count) + " of " + std::to_string(videos) +
                    " videos read");
                nextReport = Clock::now() + kReportEvery;
            }
        }
    }
    build->SetMetadata(kIndexFormatKey, kIndexFormat);
    build->SetMetadata(kIndexCatalogueKey, catalogueId_);
    build->SetMetadata(kIndexAppliedKey, std::to_string(last));
    // Written document by document, the shards' blocks are part-filled; the merged copy has full
    // ones and is about half the size.
    const bool built = build->Finish(compacted, error);
    const int shards = build->Shards();
    build.reset();
    fs::remove_all(fresh, failure);
    if (!built) {
        fs::remove_all(compacted, failure);
        return false;
    }
    if (Clock::now() - started >= kReportEvery) {
        Log("search index rebuilt: " + std::to_string(videos) + " videos in " +
            Seconds(Clock::now() - started) + " s (" + std::to_string(shards) + " shards)");
    }
    fs::remove_all(indexFolder_, failure);
    fs::rename(compacted, indexFolder_, failure);
    if (failure) {
        error = "cannot move the new index into place: " + failure.message();
        return false;
    }
    std::string why;
    search_->index = SearchIndex::Open(indexFolder_, why);
    if (!search_->index) {
        error = "the new index does not open: " + why;
        return false;
    }
    search_->version = version;
    search_->behind = false;
    TrimLog(last);
    return true;
}

// Drops log entries the index has applied; a busy database just keeps them until next time.
void Catalogue::TrimLog(std::int64_t applied) {
    std::string error;
    Lease connection(*this, error);
    if (!connection) {
        return;
    }
    SqliteStatement* trim = connection->Statement("DELETE FROM index_log WHERE seq <= ?1", error);
    if (trim != nullptr) {
        trim->Bind(1, applied);
        trim->Step();
        trim->Reset();
    }
}

std::optional<CataloguePage> Catalogue::Search(const FeedQuery& query, std::int64_t now,
                                               std::string& error) {
    const bool withWord = query.wordKey != WordKey::None;
    std::vector<QueryPhrase> phrases =
        withWord ? QueryPhrases(query.word) : std::vector<QueryPhrase>();
    if (withWord && phrases.empty()) {
        return CataloguePage();
    }
    const std::int64_t window = TimeWindowSeconds(query.time);
    const std::int64_t since = window > 0 ? now - window : INT64_MIN;
    std::shared_ptr<SearchIndex> index;
    std::vector<PhraseTokens> tokens(phrases.size());
    {
        std::lock_guard lock(searchMutex_);
        if (!RefreshLocked(error)) {
            return std::nullopt;
        }
        index = search_->index;
        for (std::size_t i = 0; i < phrases.size(); ++i) {
            tokens[i].prefix = phrases[i].prefix;
            if (!search_->tokenizer->Tokenize(phrases[i].text, tokens[i].tokens)) {
                error = "full-text tokenizer failed";
                return std::nullopt;
            }
        }
    }
    IndexHits hits;
    if (!index->Search(query, withWord ? &tokens : nullptr, since, hits, error)) {
        std::lock_guard lock(searchMutex_);
        if (search_->index == index) {
            search_->damage = "unreadable (" + error + ")";
        }
        return std::nullopt;
    }
    CataloguePage page;
    if (!ReadPage(hits, page, error)) {
        return std::nullopt;
    }
    return page;
}

// The videos of a page by rowid, in the index's order. A video deleted since the index last
// caught up is left out.
bool Catalogue::ReadPage(const IndexHits& hits, CataloguePage& page, std::string& error) {
    page.total = hits.total;
    if (hits.rowids.empty()) {
        return true;
    }
    Lease connection(*this, error);
    if (!connection) {
        return false;
    }
    // One read transaction for the page: one snapshot, one round of file locks.
    ReadTransaction read(*connection);
    SqliteStatement* row = connection->Statement(kVideoByRowid, error);
    if (!read.Begin(error) || row == nullptr) {
        return false;
    }
    for (const std::int64_t rowid : hits.rowids) {
        row->Reset();
        row->Bind(1, rowid);
        if (row->Step()) {
            page.entries.push_back(ReadVideo(*row));
        } else if (row->Failed()) {
            error = connection->db.LastError();
            return false;
        }
    }
    row->Reset();
    return true;
}

}  // namespace tunova::server
