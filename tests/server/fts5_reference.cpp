#include "fts5_reference.h"

#include <gtest/gtest.h>

#include <climits>

#include "server/search_terms.h"

namespace tunova::server::testing {

Fts5Reference::Fts5Reference(const std::vector<VideoRecord>& videos) {
    Load(videos);
}

void Fts5Reference::Load(const std::vector<VideoRecord>& videos) {
    std::string error;
    ASSERT_TRUE(db_.Open(":memory:", error)) << error;
    ASSERT_TRUE(
        db_.Execute("CREATE TABLE videos(rowid INTEGER PRIMARY KEY, id TEXT, path TEXT, "
                    "language TEXT, rating REAL, published INTEGER);"
                    "CREATE VIRTUAL TABLE videos_text USING fts5(title_terms, "
                    "description_terms, tokenize = 'unicode61 remove_diacritics 2');"
                    "BEGIN;",
                    error))
        << error;
    auto video = db_.Prepare(
        "INSERT INTO videos(id, path, language, rating, published) "
        "VALUES(?1, ?2, ?3, ?4, ?5) RETURNING rowid",
        error);
    auto text = db_.Prepare(
        "INSERT INTO videos_text(rowid, title_terms, description_terms) VALUES(?1, ?2, ?3)", error);
    ASSERT_TRUE(video && text) << error;
    for (const VideoRecord& row : videos) {
        video.Reset();
        video.Bind(1, row.id);
        video.Bind(2, row.path);
        video.Bind(3, row.language);
        video.Bind(4, row.rating);
        video.Bind(5, row.published);
        ASSERT_TRUE(video.Step());
        const std::int64_t rowid = video.ColumnInt(0);
        video.Step();
        text.Reset();
        text.Bind(1, rowid);
        text.Bind(2, IndexTerms(row.title));
        text.Bind(3, IndexTerms(row.description));
        text.Step();
        ASSERT_FALSE(text.Failed()) << db_.LastError();
    }
    video.Reset();
    ASSERT_TRUE(db_.Execute("COMMIT", error)) << error;
}

void Fts5Reference::Remove(const std::string& path) {
    std::string error;
    auto remove = db_.Prepare(
        "DELETE FROM videos_text WHERE rowid = (SELECT rowid FROM videos WHERE path = ?1)", error);
    ASSERT_TRUE(remove) << error;
    remove.Bind(1, path);
    remove.Step();
    ASSERT_TRUE(db_.Execute("DELETE FROM videos WHERE path = '" + path + "'", error)) << error;
}

std::vector<std::string> Fts5Reference::Ids(const FeedQuery& query, std::int64_t now) {
    std::vector<std::string> ids;
    const bool withWord = query.wordKey != WordKey::None;
    const std::string match = withWord ? MatchExpression(query.word) : std::string();
    if (withWord && match.empty()) {
        return ids;
    }
    const std::int64_t window = TimeWindowSeconds(query.time);
    const std::int64_t since = window > 0 ? now - window : INT64_MIN;
    std::string sql = withWord ? "SELECT v.id FROM videos_text JOIN videos v ON v.rowid = "
                                 "videos_text.rowid WHERE videos_text MATCH ?1"
                               : "SELECT v.id FROM videos v WHERE ?1 = ''";
    sql += " AND (?2 = '' OR v.language = ?2) AND v.published >= ?3";
    if (query.order == FeedOrder::Published) {
        sql += " ORDER BY v.published DESC, v.rowid";
    } else if (query.order == FeedOrder::Rating || !withWord) {
        sql += " ORDER BY v.rating DESC, v.published DESC, v.rowid";
    } else {
        sql += " ORDER BY v.rowid";
    }
    std::string error;
    auto rows = db_.Prepare(sql, error);
    EXPECT_TRUE(rows) << error;
    if (!rows) {
        return ids;
    }
    rows.Bind(1, match);
    rows.Bind(2, query.language);
    rows.Bind(3, since);
    while (rows.Step()) {
        ids.push_back(rows.ColumnText(0));
    }
    EXPECT_FALSE(rows.Failed()) << db_.LastError();
    return ids;
}

}  // namespace tunova::server::testing
