// The catalogue's full-text tokenizer ("unicode61 remove_diacritics 2"), borrowed from SQLite's
// FTS5 through its C interface so that the in-memory search index splits and folds text exactly
// as the FTS5 index does: same token boundaries, same case and diacritic folding.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/sqlite_handle.h"

struct Fts5Tokenizer;

namespace tunova::server {

// Longest token FTS5 keeps; longer tokens are cut to this many bytes, in documents and queries.
inline constexpr std::size_t kFts5MaxTokenBytes = 32768;

class FullTextTokenizer {
  public:
    // Finds FTS5's unicode61 tokenizer on `db` (which must outlive this object). Check
    // `ready()`; when false, `error` says why (FTS5 missing or the tokenizer refused its options).
    FullTextTokenizer(const SqliteDatabase& db, std::string& error);
    ~FullTextTokenizer();
    FullTextTokenizer(const FullTextTokenizer&) = delete;
    FullTextTokenizer& operator=(const FullTextTokenizer&) = delete;

    // True when the tokenizer was found and created.
    bool ready() const { return tokenizer_ != nullptr; }

    // The tokens of `text` in order (one per position). Not safe to call from two threads at
    // once. False when the tokenizer fails (out of memory); `tokens` is then incomplete.
    bool Tokenize(std::string_view text, std::vector<std::string>& tokens);

  private:
    Fts5Tokenizer* tokenizer_ = nullptr;
    void (*delete_)(Fts5Tokenizer*) = nullptr;
    int (*tokenize_)(Fts5Tokenizer*, void*, int, const char*, int,
                     int (*)(void*, int, const char*, int, int, int)) = nullptr;
};

}  // namespace tunova::server
