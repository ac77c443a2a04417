#include "server/search_index.h"

#include <xapian.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <set>
#include <utility>

namespace tunova::server {

namespace {

// Value slots: the publication time (filter and order) and the rating order's key.
constexpr Xapian::valueno kPublishedSlot = 0;
constexpr Xapian::valueno kRatingSlot = 1;

constexpr Xapian::termcount kTitleWeight = 4;
constexpr Xapian::termcount kDescriptionWeight = 1;
constexpr Xapian::termcount kArtistWeight = 2;
// Prefixes of terms that are not tokens; tokens are case-folded, never upper case.
constexpr const char* kLanguagePrefix = "XL";      // the video's language
constexpr const char* kLanguageTermPrefix = "XQ";  // a term qualified by the language
constexpr const char* kChainPrefix = "XP";         // neighbouring CJK tokens
constexpr const char* kDaysPrefix = "XB";          // a block of days holding the publication

// Publication days (since the epoch) fall in aligned blocks of 2^level days, one term a level;
// days from 2^kDayLevels on share one term. "Published since" is then a union of a few blocks,
// read from short posting lists rather than by checking every document's time.
constexpr int kDayLevels = 17;  // 2^17 days: until the year 2328
constexpr std::int64_t kDayLimit = std::int64_t{1} << kDayLevels;
constexpr std::int64_t kSecondsADay = 86400;

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

std::int64_t DayOf(std::int64_t seconds) {
    return seconds >= 0 ? seconds / kSecondsADay : -((-seconds - 1) / kSecondsADay) - 1;
}

std::string DaysTerm(int level, std::int64_t block) {
    return kDaysPrefix + std::to_string(level) + ':' + std::to_string(block);
}

// Matches the documents published at `since` or later.
Xapian::Query PublishedSince(std::int64_t since) {
    const Xapian::Query atOrAfter(Xapian::Query::OP_VALUE_GE, kPublishedSlot, TimeKey(since));
    const std::int64_t first = DayOf(since);
    if (first < 0 || first >= kDayLimit) {
        return atOrAfter;
    }
    // The first day only from `since` on, then whole days in the largest aligned blocks that
    // fit, then the days past the last level.
    std::vector<Xapian::Query> parts;
    parts.emplace_back(Xapian::Query::OP_FILTER, Xapian::Query(DaysTerm(0, first)), atOrAfter);
    for (std::int64_t day = first + 1; day < kDayLimit;) {
        int level = 0;
        while (level + 1 < kDayLevels && day % (std::int64_t{2} << level) == 0 &&
               day + (std::int64_t{2} << level) <= kDayLimit) {
            ++level;
        }
        parts.emplace_back(DaysTerm(level, day >> level));
        day += std::int64_t{1} << level;
    }
    parts.emplace_back(kDaysPrefix + std::string("+"));
    return Xapian::Query(Xapian::Query::OP_OR, parts.begin(), parts.end());
}

// The day-block terms of a publication time; none before the epoch.
void AddDays(Xapian::Document& document, std::int64_t published) {
    const std::int64_t day = DayOf(published);
    if (day >= kDayLimit) {
        document.add_boolean_term(kDaysPrefix + std::string("+"));
    } else if (day >= 0) {
        for (int level = 0; level < kDayLevels; ++level) {
            document.add_boolean_term(DaysTerm(level, day >> level));
        }
    }
}

// A two-character token of a CJK run: both code points outside ASCII.
bool ChainLink(const std::string& token) {
    int codePoints = 0;
    for (const char c : token) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            return false;
        }
        codePoints += (byte & 0xC0) != 0x80 ? 1 : 0;
    }
    return codePoints == 2;
}

// A CJK word of up to four characters is a phrase of up to three two-character tokens; the
// index keeps one term for each run of two or three such tokens standing next to each other in
// one column, so that phrase matches exactly the documents holding the term, with no positions
// to read.
constexpr std::size_t kLongestChain = 3;

std::string ChainTerm(const std::vector<std::string>& tokens, std::size_t first,
                      std::size_t count) {
    std::string term = kChainPrefix;
    for (std::size_t i = first; i < first + count; ++i) {
        if (i > first) {
            term.push_back(' ');
        }
        term += tokens[i];
    }
    return IndexTerm(term);
}

// The copy of `term` that only documents in `language` hold: a filtered search for a word
// counts as that term's document count.
std::string LanguageTerm(const std::string& language, const std::string& term) {
    return IndexTerm(kLanguageTermPrefix + language + ':' + term);
}

// How one phrase is looked up: what ranks it, the term whose documents are exactly its
// matches (none when positions or a prefix must be checked), and terms every match holds.
struct PhrasePlan {
    Xapian::Query weighted;
    std::string key;
    std::vector<std::string> necessary;
};

PhrasePlan PlanPhrase(const PhraseTokens& phrase) {
    PhrasePlan plan;
    const std::vector<std::string>& tokens = phrase.tokens;
    if (tokens.size() == 1) {
        const std::string& token = tokens.front();
        if (phrase.prefix && token.size() <= kKeptBytes) {
            plan.weighted =
                Xapian::Query(Xapian::Query::OP_WILDCARD, token, 0,
                              Xapian::Query::WILDCARD_LIMIT_ERROR, Xapian::Query::OP_SYNONYM);
        } else {
            plan.key = IndexTerm(token);
            plan.weighted = Xapian::Query(plan.key);
        }
        return plan;
    }
    std::vector<Xapian::Query> terms;
    bool chain = true;
    for (const std::string& token : tokens) {
        terms.emplace_back(IndexTerm(token));
        chain = chain && ChainLink(token);
    }
    // A chain term is the phrase itself, and the terms' weights rank it as the phrase's would
    // (a phrase weighs as the sum of its terms); a longer phrase holds all its chains.
    if (chain && tokens.size() <= kLongestChain) {
        plan.key = ChainTerm(tokens, 0, tokens.size());
        plan.weighted = Xapian::Query(Xapian::Query::OP_AND, terms.begin(), terms.end());
        return plan;
    }
    if (chain) {
        for (std::size_t i = 0; i + kLongestChain <= tokens.size(); ++i) {
            plan.necessary.push_back(ChainTerm(tokens, i, kLongestChain));
        }
    }
    plan.weighted = Xapian::Query(Xapian::Query::OP_PHRASE, terms.begin(), terms.end(),
                                  static_cast<Xapian::termcount>(terms.size()));
    return plan;
}

Xapian::Query AndOf(const std::vector<Xapian::Query>& parts) {
    return parts.size() == 1 ? parts.front()
                             : Xapian::Query(Xapian::Query::OP_AND, parts.begin(), parts.end());
}

Xapian::Query TermsOf(const std::vector<std::string>& terms) {
    return Xapian::Query(Xapian::Query::OP_AND, terms.begin(), terms.end());
}

// A search as Xapian queries: `ranked` orders the page, `counted` matches the same documents
// with nothing to weigh, and `countTerm`, when set, is a term whose document count is the
// total.
struct SearchPlan {
    Xapian::Query ranked;
    Xapian::Query counted;
    std::string countTerm;
    bool countsAll = false;  // every document matches
};

// False when the phrases all lack tokens (nothing matches).
bool PlanSearch(const std::vector<PhraseTokens>* phrases, const std::string& language,
                std::int64_t since, SearchPlan& plan) {
    std::vector<Xapian::Query> weighted;
    std::vector<Xapian::Query> unkeyed;  // phrases whose matches no term captures
    std::vector<std::string> filters;    // terms the ranked query is filtered by
    std::vector<std::string> keys;       // terms whose documents are the matches, ANDed
    if (phrases != nullptr) {
        for (const PhraseTokens& phrase : *phrases) {
            if (phrase.tokens.empty()) {
                continue;
            }
            PhrasePlan part = PlanPhrase(phrase);
            weighted.push_back(part.weighted);
            for (const std::string& term : part.necessary) {
                filters.push_back(language.empty() ? term : LanguageTerm(language, term));
            }
            if (part.key.empty()) {
                unkeyed.push_back(part.weighted);
                continue;
            }
            std::string key = language.empty() ? part.key : LanguageTerm(language, part.key);
            if (key != part.key || phrase.tokens.size() > 1) {
                filters.push_back(key);
            }
            keys.push_back(std::move(key));
        }
        if (weighted.empty()) {
            return false;
        }
    }
    // Without a language-qualified key the language is a filter term of its own.
    if (!language.empty() && keys.empty()) {
        filters.push_back(kLanguagePrefix + language);
        keys.push_back(filters.back());
    }
    plan.ranked = weighted.empty() ? Xapian::Query::MatchAll : AndOf(weighted);
    if (!filters.empty()) {
        plan.ranked = Xapian::Query(Xapian::Query::OP_FILTER, plan.ranked, TermsOf(filters));
    }
    std::vector<Xapian::Query> counted = unkeyed;
    if (!keys.empty()) {
        counted.push_back(TermsOf(keys));
    }
    plan.counted = counted.empty() ? Xapian::Query::MatchAll : AndOf(counted);
    if (since != INT64_MIN) {
        const Xapian::Query recent = PublishedSince(since);
        plan.ranked = Xapian::Query(Xapian::Query::OP_FILTER, plan.ranked, recent);
        plan.counted = Xapian::Query(Xapian::Query::OP_FILTER, plan.counted, recent);
    } else if (unkeyed.empty() && keys.size() == 1) {
        plan.countTerm = keys.front();
    } else {
        plan.countsAll = unkeyed.empty() && keys.empty();
    }
    return true;
}

// Adds the tokens of one column at `position` on, and the chain terms of its neighbouring CJK
// tokens; every term added goes into `keys`.
void AddColumn(Xapian::Document& document, const std::vector<std::string>& tokens,
               Xapian::termcount weight, Xapian::termpos& position, std::set<std::string>& keys) {
    std::size_t chained = 0;  // links in a row ending at token i
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        std::string term = IndexTerm(tokens[i]);
        document.add_posting(term, position++, weight);
        keys.insert(std::move(term));
        chained = ChainLink(tokens[i]) ? chained + 1 : 0;
        for (std::size_t count = 2; count <= std::min(chained, kLongestChain); ++count) {
            std::string chain = ChainTerm(tokens, i + 1 - count, count);
            document.add_boolean_term(chain);
            keys.insert(std::move(chain));
        }
    }
}

// Every match of `counted`, counted exactly: a pass that keeps no documents (asking for none,
// checking all), which costs far less than ranking them.
int CountMatches(const Xapian::Database& database, const Xapian::Query& counted) {
    Xapian::Enquire counting(database);
    counting.set_query(counted);
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
    SearchPlan plan;
    if (!PlanSearch(phrases, query.language, since, plan)) {
        return true;
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
            enquire.set_query(plan.ranked);
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
            // The page alone lets the matcher skip what cannot reach it; the total is a term's
            // document count, the page's own count when that is exact, or counted apart.
            const Xapian::MSet page = enquire.get_mset(first, wanted);
            if (plan.countsAll) {
                hits.total = static_cast<int>(database.get_doccount());
            } else if (!plan.countTerm.empty()) {
                hits.total = static_cast<int>(database.get_termfreq(plan.countTerm));
            } else if (page.get_matches_lower_bound() == page.get_matches_upper_bound()) {
                hits.total = static_cast<int>(page.get_matches_lower_bound());
            } else {
                hits.total = CountMatches(database, plan.counted);
            }
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
        std::set<std::string> keys;  // every term a search may count by
        Xapian::termpos position = 1;
        AddColumn(document, video.titleTokens, kTitleWeight, position, keys);
        // One empty position between the columns: no phrase reaches across.
        ++position;
        AddColumn(document, video.descriptionTokens, kDescriptionWeight, position, keys);
        ++position;
        AddColumn(document, video.artistTokens, kArtistWeight, position, keys);
        ++position;
        AddColumn(document, video.keywordTokens, kDescriptionWeight, position, keys);
        if (!video.language.empty() && video.language.size() <= 32) {
            document.add_boolean_term(kLanguagePrefix + video.language);
            for (const std::string& key : keys) {
                document.add_boolean_term(LanguageTerm(video.language, key));
            }
        }
        AddDays(document, video.published);
        document.add_value(kPublishedSlot, TimeKey(video.published));
        document.add_value(
            kRatingSlot, RatingKey(video.rating) + TimeKey(video.plays) + TimeKey(video.published));
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

bool SearchIndexWriter::Compact(const std::vector<std::string>& from, const std::string& to,
                                std::string& error) {
    try {
        Xapian::Database sources;
        for (const std::string& folder : from) {
            sources.add_database(Xapian::Database(folder, Xapian::DB_BACKEND_GLASS));
        }
        sources.compact(to, Xapian::DBCOMPACT_NO_RENUMBER | Xapian::Compactor::FULLER);
        return true;
    } catch (const Xapian::Error& failure) {
        error = failure.get_description();
        return false;
    }
}

}  // namespace tunova::server
