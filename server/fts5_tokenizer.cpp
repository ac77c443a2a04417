#include "server/fts5_tokenizer.h"

#include <sqlite3.h>

namespace tunova::server {

namespace {

// The FTS5 interface of a connection, asked for the documented way ("SELECT fts5(?1)").
fts5_api* Fts5Interface(sqlite3* db) {
    fts5_api* api = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &statement, nullptr) == SQLITE_OK) {
        sqlite3_bind_pointer(statement, 1, static_cast<void*>(&api), "fts5_api_ptr", nullptr);
        sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    return api;
}

int CollectToken(void* context, int flags, const char* token, int size, int, int) {
    auto& tokens = *static_cast<std::vector<std::string>*>(context);
    // unicode61 never stacks tokens on one position; a stacked (colocated) token is dropped.
    if ((flags & FTS5_TOKEN_COLOCATED) != 0 && !tokens.empty()) {
        return SQLITE_OK;
    }
    const std::size_t kept =
        static_cast<std::size_t>(size) < kFts5MaxTokenBytes ? size : kFts5MaxTokenBytes;
    tokens.emplace_back(token, kept);
    return SQLITE_OK;
}

}  // namespace

FullTextTokenizer::FullTextTokenizer(const SqliteDatabase& db, std::string& error) {
    fts5_api* api = db.IsOpen() ? Fts5Interface(db.Handle()) : nullptr;
    if (api == nullptr) {
        error = "FTS5 is not available";
        return;
    }
    void* userData = nullptr;
    fts5_tokenizer methods{};
    if (api->xFindTokenizer(api, "unicode61", &userData, &methods) != SQLITE_OK) {
        error = "FTS5 has no unicode61 tokenizer";
        return;
    }
    const char* options[] = {"remove_diacritics", "2"};
    Fts5Tokenizer* created = nullptr;
    if (methods.xCreate(userData, options, 2, &created) != SQLITE_OK || created == nullptr) {
        error = "FTS5 refused the tokenizer options";
        return;
    }
    tokenizer_ = created;
    delete_ = methods.xDelete;
    tokenize_ = methods.xTokenize;
}

FullTextTokenizer::~FullTextTokenizer() {
    if (tokenizer_ != nullptr) {
        delete_(tokenizer_);
    }
}

bool FullTextTokenizer::Tokenize(std::string_view text, std::vector<std::string>& tokens) {
    tokens.clear();
    if (tokenizer_ == nullptr) {
        return false;
    }
    return tokenize_(tokenizer_, &tokens, FTS5_TOKENIZE_DOCUMENT, text.data(),
                     static_cast<int>(text.size()), CollectToken) == SQLITE_OK;
}

}  // namespace tunova::server
