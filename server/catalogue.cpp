#include "server/catalogue.h"

#include <cstdio>
#include <set>
#include <utility>

#include "server/catalogue_connection.h"

namespace tunova::server {

namespace {

// The FTS5 table of earlier versions is dropped: the search index replaced it.
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
    meta_sig TEXT NOT NULL,
    artist TEXT NOT NULL DEFAULT '',
    keywords TEXT NOT NULL DEFAULT '',
    media_copy TEXT NOT NULL DEFAULT '',
    plays INTEGER NOT NULL DEFAULT 0,
    probe TEXT NOT NULL DEFAULT '');
CREATE INDEX IF NOT EXISTS videos_by_published ON videos(published);
CREATE INDEX IF NOT EXISTS videos_by_language_rating ON videos(language, rating);
DROP TABLE IF EXISTS videos_text;
CREATE TABLE IF NOT EXISTS index_log(
    seq INTEGER PRIMARY KEY AUTOINCREMENT,
    rowid INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS catalogue_meta(
    key TEXT PRIMARY KEY,
    value TEXT NOT NULL);
INSERT OR IGNORE INTO catalogue_meta VALUES('id', lower(hex(randomblob(16))));
CREATE TABLE IF NOT EXISTS counter_hits(
    rowid INTEGER PRIMARY KEY,
    received INTEGER NOT NULL,
    pcode TEXT NOT NULL,
    pid TEXT NOT NULL,
    kind TEXT NOT NULL,
    mac TEXT NOT NULL,
    remote TEXT NOT NULL);
)sql";

// Columns added since the first catalogues; an older file gets them with their defaults.
constexpr const char* kAddedColumns[][2] = {
    {"artist", "TEXT NOT NULL DEFAULT ''"},     {"keywords", "TEXT NOT NULL DEFAULT ''"},
    {"media_copy", "TEXT NOT NULL DEFAULT ''"}, {"plays", "INTEGER NOT NULL DEFAULT 0"},
    {"probe", "TEXT NOT NULL DEFAULT ''"},
};

bool AddMissingColumns(CatalogueConnection& connection, std::string& error) {
    std::set<std::string> present;
    {
        SqliteStatement* columns = connection.Statement("PRAGMA table_info(videos)", error);
        if (columns == nullptr) {
            return false;
        }
        while (columns->Step()) {
            present.insert(columns->ColumnText(1));
        }
        columns->Reset();
    }
    for (const auto& column : kAddedColumns) {
        if (!present.count(column[0]) &&
            !connection.db.Execute(
                std::string("ALTER TABLE videos ADD COLUMN ") + column[0] + " " + column[1],
                error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

Catalogue::Catalogue(std::string path, const CatalogueOptions& options)
    : path_(std::move(path)),
      indexFolder_(options.indexFolder.empty() ? path_ + ".index" : options.indexFolder),
      indexShards_(options.indexShards),
      log_(options.log) {}

Catalogue::~Catalogue() = default;

void Catalogue::Log(const std::string& line) const {
    if (log_) {
        log_(line);
    } else {
        std::fprintf(stderr, "tunova-server: %s\n", line.c_str());
    }
}

std::unique_ptr<Catalogue> Catalogue::Open(const std::string& path, std::string& error,
                                           const CatalogueOptions& options) {
    std::unique_ptr<Catalogue> catalogue(new Catalogue(path, options));
    auto connection = std::make_unique<Connection>();
    if (!connection->db.Open(path, error) || !connection->db.Execute(kSchema, error) ||
        !AddMissingColumns(*connection, error)) {
        error = path + ": " + error;
        return nullptr;
    }
    SqliteStatement* id =
        connection->Statement("SELECT value FROM catalogue_meta WHERE key = 'id'", error);
    if (id == nullptr || !id->Step()) {
        error = path + ": no catalogue id";
        return nullptr;
    }
    catalogue->catalogueId_ = id->ColumnText(0);
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
    std::lock_guard lock(catalogue->searchMutex_);
    if (!catalogue->OpenIndexLocked(error)) {
        error = catalogue->indexFolder_ + ": " + error;
        return nullptr;
    }
    return catalogue;
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

std::optional<MediaSource> Catalogue::Media(const std::string& id, std::string& error) {
    Lease connection(*this, error);
    if (!connection) {
        return std::nullopt;
    }
    SqliteStatement* lookup =
        connection->Statement("SELECT path, media_copy FROM videos WHERE id = ?1", error);
    if (lookup == nullptr) {
        return std::nullopt;
    }
    lookup->Bind(1, id);
    if (lookup->Step()) {
        return MediaSource{lookup->ColumnText(0), lookup->ColumnText(1)};
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
        "SELECT path, file_size, file_mtime, meta_sig, seconds, probe, media_copy FROM videos",
        error);
    if (all == nullptr) {
        return signatures;
    }
    while (all->Step()) {
        signatures[all->ColumnText(0)] = {all->ColumnInt(1),  all->ColumnInt(2),
                                          all->ColumnText(3), static_cast<int>(all->ColumnInt(4)),
                                          all->ColumnText(5), all->ColumnText(6)};
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
        connection->ResetAll();
        std::string ignored;
        connection->db.Execute("ROLLBACK", ignored);
        return false;
    };
    // Runs `sql` with `bind`; the rowid it returns (RETURNING rowid), 0 when it returned none,
    // -1 on failure.
    const auto run = [&](const std::string& sql, const auto& bind) -> std::int64_t {
        SqliteStatement* statement = connection->Statement(sql, error);
        if (statement == nullptr) {
            return -1;
        }
        bind(*statement);
        const std::int64_t rowid = statement->Step() ? statement->ColumnInt(0) : 0;
        while (statement->Step()) {
        }
        if (statement->Failed()) {
            error = connection->db.LastError();
            return -1;
        }
        statement->Reset();
        return rowid;
    };
    const auto logChange = [&](std::int64_t rowid) {
        return run("INSERT INTO index_log(rowid) VALUES(?1)",
                   [&](SqliteStatement& s) { s.Bind(1, rowid); }) >= 0;
    };
    for (const std::string& path : removedPaths) {
        const std::int64_t rowid = run("DELETE FROM videos WHERE path = ?1 RETURNING rowid",
                                       [&](SqliteStatement& s) { s.Bind(1, path); });
        if (rowid < 0 || (rowid > 0 && !logChange(rowid))) {
            return fail();
        }
    }
    // A changed video keeps its rowid, so the index replaces its document in place.
    for (const VideoRecord& video : upserts) {
        const std::int64_t rowid = run(
            "INSERT INTO videos(id, path, title, description, seconds, language, rating, "
            "raters, published, updated, file_size, file_mtime, meta_sig, artist, keywords, "
            "media_copy, probe) "
            "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17) "
            "ON CONFLICT(path) DO UPDATE SET id = excluded.id, title = excluded.title, "
            "description = excluded.description, seconds = excluded.seconds, "
            "language = excluded.language, rating = excluded.rating, raters = excluded.raters, "
            "published = excluded.published, updated = excluded.updated, "
            "file_size = excluded.file_size, file_mtime = excluded.file_mtime, "
            "meta_sig = excluded.meta_sig, artist = excluded.artist, "
            "keywords = excluded.keywords, media_copy = excluded.media_copy, "
            "probe = excluded.probe RETURNING rowid",
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
                s.Bind(14, video.artist);
                s.Bind(15, video.keywords);
                s.Bind(16, video.mediaCopy);
                s.Bind(17, video.probe);
            });
        if (rowid <= 0 || !logChange(rowid)) {
            return fail();
        }
    }
    if (!connection->db.Execute("COMMIT", error)) {
        return fail();
    }
    // Searches see the change at once; should the index fall behind (another writer holds it,
    // or it fails), the next search catches it up from the log.
    std::string indexError;
    RefreshSearchIndex(indexError);
    return true;
}

bool Catalogue::AddPlays(const std::map<std::string, std::int64_t>& plays, std::string& error) {
    Lease connection(*this, error);
    if (!connection || !connection->db.Execute("BEGIN IMMEDIATE", error)) {
        return false;
    }
    // Runs `sql` with `bind`: the first column of its one row, 0 without a row, -1 on failure.
    const auto run = [&](const char* sql, const auto& bind) -> std::int64_t {
        SqliteStatement* statement = connection->Statement(sql, error);
        if (statement == nullptr) {
            return -1;
        }
        bind(*statement);
        const std::int64_t value = statement->Step() ? statement->ColumnInt(0) : 0;
        if (statement->Failed()) {
            error = connection->db.LastError();
            return -1;
        }
        statement->Reset();
        return value;
    };
    bool ok = true;
    // The index sorts by plays too: each changed video goes into the change log.
    for (auto it = plays.begin(); ok && it != plays.end(); ++it) {
        const std::int64_t rowid =
            run("UPDATE videos SET plays = plays + ?2 WHERE id = ?1 RETURNING rowid",
                [&](SqliteStatement& s) {
                    s.Bind(1, it->first);
                    s.Bind(2, it->second);
                });
        ok = rowid == 0 || (rowid > 0 && run("INSERT INTO index_log(rowid) VALUES(?1)",
                                             [&](SqliteStatement& s) { s.Bind(1, rowid); }) >= 0);
    }
    if (!ok || !connection->db.Execute("COMMIT", error)) {
        connection->ResetAll();
        std::string ignored;
        connection->db.Execute("ROLLBACK", ignored);
        return false;
    }
    std::string indexError;
    RefreshSearchIndex(indexError);
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
