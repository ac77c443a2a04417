// Inside the catalogue: one pooled connection with its prepared statements, and the
// connection that watches the database for the search index. Only catalogue*.cpp include this.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "server/catalogue.h"
#include "server/fts5_tokenizer.h"
#include "server/search_index.h"
#include "server/sqlite_handle.h"

namespace tunova::server {

// One connection with its prepared statements, kept by SQL text.
struct CatalogueConnection {
    SqliteDatabase db;
    std::map<std::string, SqliteStatement, std::less<>> statements;

    // The statement for `sql`, prepared at first use and reset for another run.
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

// The connection that watches the database (its data_version moves whenever another
// connection commits) and reads it for the index, the tokenizer for documents and queries, and
// the index with what is known of its state.
struct Catalogue::SearchState {
    CatalogueConnection connection;
    std::unique_ptr<FullTextTokenizer> tokenizer;
    std::shared_ptr<SearchIndex> index;
    std::int64_t version = -1;  // data_version the index was last caught up at
    bool behind = false;        // another writer held the index: look again at the next search
    std::string damage;         // why the index failed a search; rebuilt at the next one
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
    Connection& operator*() const { return *connection_; }

  private:
    Catalogue& owner_;
    std::unique_ptr<Connection> connection_;
};

}  // namespace tunova::server
