#include "server/catalogue.h"

#include <climits>
#include <utility>

#include "server/fts5_tokenizer.h"
#include "server/search_index.h"
#include "server/search_terms.h"
#include "server/sqlite_handle.h"

namespace tunova::server {

namespace {

constexpr const char* kSchema = R"sql(
PRAGMA journal_mode=WAL;
CREATE TABLE IF NOT EXISTS videos(
    rowid INTEGER PRIMARY KEY,
    id TEXT NOT NULL UNIQUE,
    path TEXT NOT NULL UNIQUE,
    title TEXT NOT NULL,
    description TEXT NOT NULL,
    seconds INTEGER NOT NULL,
    language TEXT NOT NULL,
    rating REAL NOT NULL,
    raters INTEGER NOT NULL,
    published INTEGER NOT NULL,
    updated INTEGER NOT NULL,
    file_size INTEGER NOT NULL,
    file_mtime INTEGER NOT NULL,
    meta_sig TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS videos_by_published ON videos(published);
CREATE INDEX IF NOT EXISTS videos_by_language_rating ON videos(language, rating);
CREATE VIRTUAL TABLE IF NOT EXISTS videos_text USING fts5(
    title_terms, description_terms, tokenize = 'unicode61 remove_diacritics 2');
CREATE TABLE IF NOT EXISTS counter_hits(
    rowid INTEGER PRIMARY KEY,
    received INTEGER NOT NULL,
    pcode TEXT NOT NULL,
    pid TEXT NOT NULL,
    kind TEXT NOT NULL,
    mac TEXT NOT NULL,
    remote TEXT NOT NULL);
)sql";

// Every column of a video for the in-memory index, in ReadVideo's order, then the rowid.
constexpr const char* kIndexVideos =
    "SELECT v.id, v.path, v.title, v.description, v.seconds, v.language, v.rating, v.raters, "
    "v.published, v.updated, v.rowid FROM videos v";
constexpr const char* kIndexTexts = "SELECT rowid, title_terms, description_terms FROM videos_text";

constexpr const char* kVideoColumns =
    "v.id, v.path, v.title, v.description, v.seconds, v.language, v.rating, v.raters, "
    "v.published, v.updated";

// Filters shared by every search: ?2 language ('' for all), ?3 earliest published time.
constexpr const char* kFilters = " AND (?2 = '' OR v.language = ?2) AND v.published >= ?3";

std::string OrderClause(FeedOrder order, bool withWord) {
    switch (order) {
        case FeedOrder::Rating:
            return " ORDER BY v.rating DESC, v.published DESC, v.rowid";
        case FeedOrder::Published:
            return " ORDER BY v.published DESC, v.rowid";
        case FeedOrder::Relevance:
            break;
    }
    // Title words weigh more than description words; without a word, best rated first.
    return withWord ? " ORDER BY bm25(videos_text, 4.0, 1.0), v.rowid"
                    : " ORDER BY v.rating DESC, v.published DESC, v.rowid";
}

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
    return video;
}

}  // namespace

// One pooled connection with its prepared statements, kept by SQL text.
struct Catalogue::Connection {
    SqliteDatabase db;
    std::map<std::string, SqliteStatement, std::less<>> statements;

    SqliteStatement* Statement(const std::string& sql, std::string& error) {
        auto found = statements.find(sql);
        if (found == statements.end()) {
            SqliteStatement prepared = db.Prepare(sql, error);
            if (!prepared) {
                return nullptr;
            }
            found = statements.emplace(sql, std::move(prepared)).first;
        }
        found->second.Reset();
        return &found->second;
    }

    // Ends every statement's read so an idle connection holds no snapshot open.
    void ResetAll() {
        for (auto& entry : statements) {
            entry.second.Reset();
        }
    }
};

// Gives a borrowed connection back to the pool when the call ends.
class Catalogue::Lease {
  public:
    Lease(Catalogue& owner, std::string& error)
        : owner_(owner), connection_(owner.Acquire(error)) {}
    ~Lease() {
        if (connection_) {
            owner_.Release(std::move(connection_));
        }
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    explicit operator bool() const { return connection_ != nullptr; }
    Connection* operator->() const { return connection_.get(); }

  private:
    Catalogue& owner_;
    std::unique_ptr<Connection> connection_;
};

// The connection that watches the database for changes (its data_version moves whenever
// another connection commits) and reads it to build the in-memory index, the tokenizer the
// index uses for queries, and the index with the data version it was built from.
struct Catalogue::SearchState {
    Connection connection;
    std::unique_ptr<FullTextTokenizer> tokenizer;
    std::int64_t version = -1;
    std::shared_ptr<const SearchIndex> index;
};

Catalogue::Catalogue(std::string path) : path_(std::move(path)) {}

Catalogue::~Catalogue() = default;

std::unique_ptr<Catalogue> Catalogue::Open(const std::string& path, std::string& error) {
    std::unique_ptr<Catalogue> catalogue(new Catalogue(path));
    auto connection = std::make_unique<Connection>();
    if (!connection->db.Open(path, error) || !connection->db.Execute(kSchema, error)) {
        error = path + ": " + error;
        return nullptr;
    }
    catalogue->Release(std::move(connection));
    auto search = std::make_unique<SearchState>();
    if (!search->connection.db.Open(path, error)) {
        error = path + ": " + error;
        return nullptr;
    }
    search->tokenizer = std::make_unique<FullTextTokenizer>(search->connection.db, error);
    if (!search->tokenizer->ready()) {
        error = path + ": " + error;
        return nullptr;
    }
    catalogue->search_ = std::move(search);
    return catalogue;
}

bool Catalogue::RefreshSearchIndex(std::string& error) {
    std::lock_guard lock(searchMutex_);
    return RefreshLocked(error);
}

bool Catalogue::RefreshLocked(std::string& error) {
    Connection& watch = search_->connection;
    SqliteStatement* version = watch.Statement("PRAGMA data_version", error);
    if (version == nullptr) {
        return false;
    }
    if (!version->Step()) {
        error = watch.db.LastError();
        return false;
    }
    const std::int64_t current = version->ColumnInt(0);
    version->Reset();
    if (search_->index != nullptr && current == search_->version) {
        return true;
    }
    return RebuildLocked(error);
}

// Reads every video and full-text row in one read transaction, with the data version of that
// snapshot, and swaps the new index in.
bool Catalogue::RebuildLocked(std::string& error) {
    Connection& watch = search_->connection;
    if (!watch.db.Execute("BEGIN", error)) {
        return false;
    }
    const auto fail = [&] {
        watch.ResetAll();
        std::string ignored;
        watch.db.Execute("ROLLBACK", ignored);
        return false;
    };
    SqliteStatement* version = watch.Statement("PRAGMA data_version", error);
    if (version == nullptr || !version->Step()) {
        if (version != nullptr) {
            error = watch.db.LastError();
        }
        return fail();
    }
    const std::int64_t snapshotVersion = version->ColumnInt(0);
    std::vector<IndexedVideo> videos;
    SqliteStatement* rows = watch.Statement(kIndexVideos, error);
    if (rows == nullptr) {
        return fail();
    }
    while (rows->Step()) {
        videos.push_back({rows->ColumnInt(10), ReadVideo(*rows)});
    }
    std::vector<IndexedText> texts;
    SqliteStatement* textRows = rows->Failed() ? nullptr : watch.Statement(kIndexTexts, error);
    if (textRows == nullptr) {
        if (rows->Failed()) {
            error = watch.db.LastError();
        }
        return fail();
    }
    while (textRows->Step()) {
        IndexedText text;
        text.rowid = textRows->ColumnInt(0);
        if (!search_->tokenizer->Tokenize(textRows->ColumnText(1), text.titleTokens) ||
            !search_->tokenizer->Tokenize(textRows->ColumnText(2), text.descriptionTokens)) {
            error = "full-text tokenizer failed";
            return fail();
        }
        texts.push_back(std::move(text));
    }
    if (textRows->Failed()) {
        error = watch.db.LastError();
        return fail();
    }
    watch.ResetAll();
    if (!watch.db.Execute("COMMIT", error)) {
        return fail();
    }
    search_->index = std::make_shared<const SearchIndex>(std::move(videos), texts);
    search_->version = snapshotVersion;
    return true;
}

std::unique_ptr<Catalogue::Connection> Catalogue::Acquire(std::string& error) {
    {
        std::lock_guard lock(poolMutex_);
        if (!idle_.empty()) {
            auto connection = std::move(idle_.back());
            idle_.pop_back();
            return connection;
        }
    }
    auto connection = std::make_unique<Connection>();
    if (!connection->db.Open(path_, error) ||
        !connection->db.Execute("PRAGMA synchronous=NORMAL;", error)) {
        return nullptr;
    }
    return connection;
}

void Catalogue::Release(std::unique_ptr<Connection> connection) {
    connection->ResetAll();
    std::lock_guard lock(poolMutex_);
    idle_.push_back(std::move(connection));
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
    std::shared_ptr<const SearchIndex> index;
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
    return index->Search(query, withWord ? &tokens : nullptr, since);
}

std::optional<CataloguePage> Catalogue::SearchWithFullText(const FeedQuery& query, std::int64_t now,
                                                           std::string& error) {
    CataloguePage page;
    const bool withWord = query.wordKey != WordKey::None;
    const std::string match = withWord ? MatchExpression(query.word) : std::string();
    if (withWord && match.empty()) {
        return page;
    }
    const std::int64_t window = TimeWindowSeconds(query.time);
    const std::int64_t since = window > 0 ? now - window : INT64_MIN;
    const std::string from = withWord
                                 ? " FROM videos_text JOIN videos v ON v.rowid = videos_text.rowid"
                                   " WHERE videos_text MATCH ?1"
                                 : " FROM videos v WHERE ?1 = ''";

    Lease connection(*this, error);
    if (!connection) {
        return std::nullopt;
    }
    // Without filters the index alone counts the matches, with no look-up of each video.
    const bool unfiltered = withWord && query.language.empty() && window == 0;
    SqliteStatement* count = connection->Statement(
        unfiltered ? "SELECT count(*) FROM videos_text WHERE videos_text MATCH ?1 AND ?2 = ''"
                     " AND ?3 IS NOT NULL"
                   : "SELECT count(*)" + from + kFilters,
        error);
    if (count == nullptr) {
        return std::nullopt;
    }
    count->Bind(1, match);
    count->Bind(2, query.language);
    count->Bind(3, since);
    if (count->Step()) {
        page.total = static_cast<int>(count->ColumnInt(0));
    }
    if (count->Failed()) {
        error = connection->db.LastError();
        return std::nullopt;
    }
    if (page.total < query.startIndex) {
        return page;
    }
    const std::string sql = std::string("SELECT ") + kVideoColumns + from + kFilters +
                            OrderClause(query.order, withWord) + " LIMIT ?4 OFFSET ?5";
    SqliteStatement* rows = connection->Statement(sql, error);
    if (rows == nullptr) {
        return std::nullopt;
    }
    rows->Bind(1, match);
    rows->Bind(2, query.language);
    rows->Bind(3, since);
    rows->Bind(4, static_cast<std::int64_t>(query.maxResults));
    rows->Bind(5, static_cast<std::int64_t>(query.startIndex - 1));
    while (rows->Step()) {
        page.entries.push_back(ReadVideo(*rows));
    }
    if (rows->Failed()) {
        error = connection->db.LastError();
        return std::nullopt;
    }
    return page;
}

std::optional<std::string> Catalogue::MediaPath(const std::string& id, std::string& error) {
    Lease connection(*this, error);
    if (!connection) {
        return std::nullopt;
    }
    SqliteStatement* lookup = connection->Statement("SELECT path FROM videos WHERE id = ?1", error);
    if (lookup == nullptr) {
        return std::nullopt;
    }
    lookup->Bind(1, id);
    if (lookup->Step()) {
        return lookup->ColumnText(0);
    }
    return std::nullopt;
}

std::map<std::string, FileSignature> Catalogue::Signatures(std::string& error) {
    std::map<std::string, FileSignature> signatures;
    Lease connection(*this, error);
    if (!connection) {
        return signatures;
    }
    SqliteStatement* all = connection->Statement(
        "SELECT path, file_size, file_mtime, meta_sig, seconds FROM videos", error);
    if (all == nullptr) {
        return signatures;
    }
    while (all->Step()) {
        signatures[all->ColumnText(0)] = {all->ColumnInt(1), all->ColumnInt(2), all->ColumnText(3),
                                          static_cast<int>(all->ColumnInt(4))};
    }
    if (all->Failed()) {
        error = connection->db.LastError();
    }
    return signatures;
}

bool Catalogue::Apply(const std::vector<VideoRecord>& upserts,
                      const std::vector<std::string>& removedPaths, std::string& error) {
    Lease connection(*this, error);
    if (!connection || !connection->db.Execute("BEGIN IMMEDIATE", error)) {
        return false;
    }
    const auto fail = [&] {
        std::string ignored;
        connection->db.Execute("ROLLBACK", ignored);
        return false;
    };
    const auto run = [&](const std::string& sql, const auto& bind) {
        SqliteStatement* statement = connection->Statement(sql, error);
        if (statement == nullptr) {
            return false;
        }
        bind(*statement);
        statement->Step();
        if (statement->Failed()) {
            error = connection->db.LastError();
            return false;
        }
        return true;
    };
    const auto removeText = [&](const std::string& path) {
        return run("DELETE FROM videos_text WHERE rowid = (SELECT rowid FROM videos WHERE path = "
                   "?1)",
                   [&](SqliteStatement& s) { s.Bind(1, path); }) &&
               run("DELETE FROM videos WHERE path = ?1",
                   [&](SqliteStatement& s) { s.Bind(1, path); });
    };
    for (const std::string& path : removedPaths) {
        if (!removeText(path)) {
            return fail();
        }
    }
    for (const VideoRecord& video : upserts) {
        const bool inserted =
            removeText(video.path) &&
            run("INSERT INTO videos(id, path, title, description, seconds, language, rating, "
                "raters, published, updated, file_size, file_mtime, meta_sig) "
                "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)",
                [&](SqliteStatement& s) {
                    s.Bind(1, video.id);
                    s.Bind(2, video.path);
                    s.Bind(3, video.title);
                    s.Bind(4, video.description);
                    s.Bind(5, static_cast<std::int64_t>(video.seconds));
                    s.Bind(6, video.language);
                    s.Bind(7, video.rating);
                    s.Bind(8, static_cast<std::int64_t>(video.raters));
                    s.Bind(9, video.published);
                    s.Bind(10, video.updated);
                    s.Bind(11, video.fileSize);
                    s.Bind(12, video.fileMtime);
                    s.Bind(13, video.metaSig);
                });
        const std::int64_t rowid = connection->db.LastInsertRowId();
        if (!inserted || !run("INSERT INTO videos_text(rowid, title_terms, description_terms) "
                              "VALUES(?1, ?2, ?3)",
                              [&](SqliteStatement& s) {
                                  s.Bind(1, rowid);
                                  s.Bind(2, IndexTerms(video.title));
                                  s.Bind(3, IndexTerms(video.description));
                              })) {
            return fail();
        }
    }
    if (!connection->db.Execute("COMMIT", error)) {
        return fail();
    }
    // Searches see the change at once; should this rebuild fail, the next search retries it
    // (the data version still differs) and reports the failure.
    std::string rebuildError;
    RefreshSearchIndex(rebuildError);
    return true;
}

bool Catalogue::RecordCounterHit(const CounterHit& hit, std::string& error) {
    Lease connection(*this, error);
    if (!connection) {
        return false;
    }
    SqliteStatement* insert = connection->Statement(
        "INSERT INTO counter_hits(received, pcode, pid, kind, mac, remote) "
        "VALUES(?1, ?2, ?3, ?4, ?5, ?6)",
        error);
    if (insert == nullptr) {
        return false;
    }
    insert->Bind(1, hit.received);
    insert->Bind(2, hit.pcode);
    insert->Bind(3, hit.pid);
    insert->Bind(4, hit.kind);
    insert->Bind(5, hit.mac);
    insert->Bind(6, hit.remote);
    insert->Step();
    if (insert->Failed()) {
        error = connection->db.LastError();
        return false;
    }
    return true;
}

std::int64_t Catalogue::VideoCount(std::string& error) {
    Lease connection(*this, error);
    if (!connection) {
        return 0;
    }
    SqliteStatement* count = connection->Statement("SELECT count(*) FROM videos", error);
    if (count == nullptr || !count->Step()) {
        return 0;
    }
    return count->ColumnInt(0);
}

}  // namespace tunova::server
