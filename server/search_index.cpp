#include "server/search_index.h"

#include <xapian.h>

#include <bit>
#include <climits>
#include <utility>

namespace tunova::server {

namespace {

// Value slots: the publication time (filter and order) and the rating order's key.
constexpr Xapian::valueno kPublishedSlot = 0;
constexpr Xapian::valueno kRatingSlot = 1;

constexpr Xapian::termcount kTitleWeight = 4;
constexpr Xapian::termcount kDescriptionWeight = 1;
constexpr const char* kLanguagePrefix = "XL";  // tokens are case-folded: never upper case

// Xapian refuses terms over 245 bytes; longer tokens keep this many bytes and a hash.
constexpr std::size_t kLongestTerm = 240;
constexpr std::size_t kKeptBytes = 220;

// 8 bytes, big-endian, that sort as the numbers do.
std::string OrderedBytes(std::uint64_t bits) {
    std::string out(8, '\0');
    for (int i = 7; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = static_cast<char>(bits & 0xFF);
        bits >>= 8;
    }
    return out;
}

std::string TimeKey(std::int64_t seconds) {
    return OrderedBytes(static_cast<std::uint64_t>(seconds) ^ (1ull << 63));
}

std::string RatingKey(double rating) {
    auto bits = std::bit_cast<std::uint64_t>(rating);
    bits = (bits >> 63) != 0 ? ~bits : bits | (1ull << 63);
    return OrderedBytes(bits);
}

Xapian::Query PhraseQuery(const PhraseTokens& phrase) {
    if (phrase.tokens.size() == 1) {
        const std::string& token = phrase.tokens.front();
        if (phrase.prefix && token.size() <= kKeptBytes) {
            return Xapian::Query(Xapian::Query::OP_WILDCARD, token, 0,
                                 Xapian::Query::WILDCARD_LIMIT_ERROR, Xapian::Query::OP_SYNONYM);
        }
        return Xapian::Query(IndexTerm(token));
    }
    std::vector<Xapian::Query> terms;
    for (const std::string& token : phrase.tokens) {
        terms.emplace_back(IndexTerm(token));
    }
    return Xapian::Query(Xapian::Query::OP_PHRASE, terms.begin(), terms.end(),
                         static_cast<Xapian::termcount>(terms.size()));
}

// The match part of a search, or nothing when its phrases all lack tokens.
bool MatchQuery(const std::vector<PhraseTokens>* phrases, Xapian::Query& query) {
    if (phrases == nullptr) {
        query = Xapian::Query::MatchAll;
        return true;
    }
    std::vector<Xapian::Query> parts;
    for (const PhraseTokens& phrase : *phrases) {
        if (!phrase.tokens.empty()) {
            parts.push_back(PhraseQuery(phrase));
        }
    }
    if (parts.empty()) {
        return false;
    }
    query = parts.size() == 1 ? parts.front()
                              : Xapian::Query(Xapian::Query::OP_AND, parts.begin(), parts.end());
    return true;
}

// Every match of `match`, counted exactly: a term's document count when the query is that one
// term, else a pass that keeps no documents (asking for none, checking all), which costs far
// less than ranking them.
int CountMatches(const Xapian::Database& database, const Xapian::Query& match,
                 const std::string& singleTerm) {
    if (!singleTerm.empty()) {
        return static_cast<int>(database.get_termfreq(singleTerm));
    }
    Xapian::Enquire counting(database);
    counting.set_query(match);
    counting.set_weighting_scheme(Xapian::BoolWeight());
    counting.set_docid_order(Xapian::Enquire::DONT_CARE);
    const Xapian::MSet none = counting.get_mset(0, 0, database.get_doccount());
    return static_cast<int>(none.get_matches_lower_bound());
}

}  // namespace

std::string IndexTerm(const std::string& token) {
    if (token.size() <= kLongestTerm) {
        return token;
    }
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : token) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string term = token.substr(0, kKeptBytes);
    term.push_back(' ');
    for (int shift = 60; shift >= 0; shift -= 4) {
        term.push_back(kHex[(hash >> shift) & 15]);
    }
    return term;
}

// One read handle and the generation it was last reopened at.
struct SearchIndex::Handle {
    Xapian::Database database;
    std::uint64_t generation = 0;
};

// Gives a borrowed handle back to the pool when the call ends.
class SearchIndex::Lease {
  public:
    Lease(SearchIndex& owner, std::string& error) : owner_(owner) {
        try {
            handle_ = owner.Acquire();
        } catch (const Xapian::Error& failure) {
            error = failure.get_description();
        }
    }
    ~Lease() {
        if (handle_) {
            owner_.Release(std::move(handle_));
        }
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    explicit operator bool() const { return handle_ != nullptr; }
    Handle* operator->() const { return handle_.get(); }

  private:
    SearchIndex& owner_;
    std::unique_ptr<Handle> handle_;
};

SearchIndex::SearchIndex(std::string folder) : folder_(std::move(folder)) {}

SearchIndex::~SearchIndex() = default;

std::unique_ptr<SearchIndex> SearchIndex::Open(const std::string& folder, std::string& error) {
    std::unique_ptr<SearchIndex> index(new SearchIndex(folder));
    try {
        auto handle = std::make_unique<Handle>();
        handle->database = Xapian::Database(folder, Xapian::DB_BACKEND_GLASS);
        if (handle->database.get_metadata(kIndexFormatKey) != kIndexFormat) {
            error = "not a search index of this version";
            return nullptr;
        }
        // Reading the statistics touches the tables a search needs.
        handle->database.get_doccount();
        handle->database.get_avlength();
        index->Release(std::move(handle));
    } catch (const Xapian::Error& failure) {
        error = failure.get_description();
        return nullptr;
    }
    return index;
}

std::unique_ptr<SearchIndex::Handle> SearchIndex::Acquire() {
    std::unique_ptr<Handle> handle;
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(poolMutex_);
        generation = generation_;
        if (!idle_.empty()) {
            handle = std::move(idle_.back());
            idle_.pop_back();
        }
    }
    if (!handle) {
        handle = std::make_unique<Handle>();
        handle->database = Xapian::Database(folder_, Xapian::DB_BACKEND_GLASS);
        handle->generation = generation;
    } else if (handle->generation != generation) {
        handle->database.reopen();
        handle->generation = generation;
    }
    return handle;
}

void SearchIndex::Release(std::unique_ptr<Handle> handle) {
    std::lock_guard lock(poolMutex_);
    idle_.push_back(std::move(handle));
}

void SearchIndex::Reopen() {
    std::lock_guard lock(poolMutex_);
    ++generation_;
}

std::string SearchIndex::Metadata(const std::string& key) {
    std::string error;
    Lease handle(*this, error);
    if (!handle) {
        return {};
    }
    try {
        return handle->database.get_metadata(key);
    } catch (const Xapian::Error&) {
        // An unreadable value reads as absent; the caller then rebuilds or catches up.
        return {};
    }
}

bool SearchIndex::Search(const FeedQuery& query, const std::vector<PhraseTokens>* phrases,
                         std::int64_t since, IndexHits& hits, std::string& error) {
    hits = IndexHits();
    Xapian::Query match;
    if (!MatchQuery(phrases, match)) {
        return true;
    }
    if (!query.language.empty()) {
        match = Xapian::Query(Xapian::Query::OP_FILTER, match,
                              Xapian::Query(kLanguagePrefix + query.language));
    }
    if (since != INT64_MIN) {
        match = Xapian::Query(
            Xapian::Query::OP_FILTER, match,
            Xapian::Query(Xapian::Query::OP_VALUE_GE, kPublishedSlot, TimeKey(since)));
    }
    // One plain term with no filter: its document count is the total.
    std::string singleTerm;
    if (phrases != nullptr && phrases->size() == 1 && phrases->front().tokens.size() == 1 &&
        !phrases->front().prefix && query.language.empty() && since == INT64_MIN) {
        singleTerm = IndexTerm(phrases->front().tokens.front());
    }
    Lease handle(*this, error);
    if (!handle) {
        return false;
    }
    // A writer may replace the revision a handle reads twice over; reading again from the
    // latest one is then the whole remedy.
    for (int attempt = 0;; ++attempt) {
        try {
            Xapian::Database& database = handle->database;
            Xapian::Enquire enquire(database);
            enquire.set_query(match);
            enquire.set_docid_order(Xapian::Enquire::ASCENDING);
            const bool byScore = phrases != nullptr && query.order == FeedOrder::Relevance;
            if (byScore) {
                enquire.set_weighting_scheme(Xapian::BM25Weight(1.2, 0, 1, 0.75, 0.5));
            } else {
                enquire.set_weighting_scheme(Xapian::BoolWeight());
                enquire.set_sort_by_value(
                    query.order == FeedOrder::Published ? kPublishedSlot : kRatingSlot, true);
            }
            const auto first = static_cast<Xapian::doccount>(query.startIndex - 1);
            const auto wanted = static_cast<Xapian::doccount>(query.maxResults);
            // The page alone lets the matcher skip what cannot reach it; the total is counted
            // apart (see CountMatches) unless the page's own count is already exact.
            const Xapian::MSet page = enquire.get_mset(first, wanted);
            hits.total = page.get_matches_lower_bound() == page.get_matches_upper_bound()
                             ? static_cast<int>(page.get_matches_lower_bound())
                             : CountMatches(database, match, singleTerm);
            for (auto it = page.begin(); it != page.end(); ++it) {
                hits.rowids.push_back(static_cast<std::int64_t>(*it));
            }
            return true;
        } catch (const Xapian::DatabaseModifiedError& failure) {
            if (attempt == 2) {
                error = failure.get_description();
                return false;
            }
            try {
                handle->database.reopen();
            } catch (const Xapian::Error& reopenFailure) {
                error = reopenFailure.get_description();
                return false;
            }
        } catch (const Xapian::Error& failure) {
            error = failure.get_description();
            return false;
        }
    }
}

SearchIndexWriter::SearchIndexWriter(std::unique_ptr<Xapian::WritableDatabase> database)
    : database_(std::move(database)) {}

SearchIndexWriter::~SearchIndexWriter() = default;

std::unique_ptr<SearchIndexWriter> SearchIndexWriter::Open(const std::string& folder, bool fresh,
                                                           std::string& error) {
    try {
        auto database = std::make_unique<Xapian::WritableDatabase>(
            folder, (fresh ? Xapian::DB_CREATE_OR_OVERWRITE : Xapian::DB_CREATE_OR_OPEN) |
                        Xapian::DB_BACKEND_GLASS);
        return std::unique_ptr<SearchIndexWriter>(new SearchIndexWriter(std::move(database)));
    } catch (const Xapian::Error& failure) {
        error = failure.get_description();
        return nullptr;
    }
}

bool SearchIndexWriter::Put(const IndexedVideo& video, std::string& error) {
    if (video.rowid <= 0 || video.rowid > static_cast<std::int64_t>(UINT32_MAX)) {
        error = "rowid " + std::to_string(video.rowid) + " is out of the index's range";
        return false;
    }
    try {
        Xapian::Document document;
        Xapian::termpos position = 1;
        for (const std::string& token : video.titleTokens) {
            document.add_posting(IndexTerm(token), position++, kTitleWeight);
        }
        // One empty position between the columns: no phrase reaches across.
        ++position;
        for (const std::string& token : video.descriptionTokens) {
            document.add_posting(IndexTerm(token), position++, kDescriptionWeight);
        }
        if (!video.language.empty() && video.language.size() <= 32) {
            document.add_boolean_term(kLanguagePrefix + video.language);
        }
        document.add_value(kPublishedSlot, TimeKey(video.published));
        document.add_value(kRatingSlot, RatingKey(video.rating) + TimeKey(video.published));
        database_->replace_document(static_cast<Xapian::docid>(video.rowid), document);
        return true;
    } catch (const Xapian::Error& failure) {
        error = failure.get_description();
        return false;
    }
}

bool SearchIndexWriter::Remove(std::int64_t rowid, std::string& error) {
    if (rowid <= 0 || rowid > static_cast<std::int64_t>(UINT32_MAX)) {
        return true;
    }
    try {
        database_->delete_document(static_cast<Xapian::docid>(rowid));
    } catch (const Xapian::DocNotFoundError&) {
        // Already gone: nothing to remove.
    } catch (const Xapian::Error& failure) {
        error = failure.get_description();
        return false;
    }
    return true;
}

std::string SearchIndexWriter::Metadata(const std::string& key) {
    try {
        return database_->get_metadata(key);
    } catch (const Xapian::Error&) {
        return {};
    }
}

bool SearchIndexWriter::SetMetadata(const std::string& key, const std::string& value,
                                    std::string& error) {
    try {
        database_->set_metadata(key, value);
        return true;
    } catch (const Xapian::Error& failure) {
        error = failure.get_description();
        return false;
    }
}

bool SearchIndexWriter::Commit(std::string& error) {
    try {
        database_->commit();
        return true;
    } catch (const Xapian::Error& failure) {
        error = failure.get_description();
        return false;
    }
}

}  // namespace tunova::server
