// The in-memory search index of the catalogue: answers feed searches without SQL, with the same
// matches, totals and order as the FTS5 query it replaces (Catalogue::SearchWithFullText).
//
// How it stays identical to FTS5:
// - Tokens come from FTS5's own unicode61 tokenizer (FullTextTokenizer), run over the stored
//   index text of each row (title_terms, description_terms) and over each quoted phrase of the
//   query (QueryPhrases), so splitting, case and diacritic folding are FTS5's.
// - A phrase matches where its tokens stand at consecutive positions of one column; every
//   starting position is one instance (overlapping ones too). A prefix phrase ("사"*) matches any
//   token that starts with the bytes of its last token. A phrase that tokenizes to nothing is
//   dropped from the query, as FTS5's parser drops it; a query left with no phrase matches
//   nothing. Phrases are ANDed.
// - Relevance is FTS5's bm25() with column weights 4 (title) : 1 (description), k1 = 1.2,
//   b = 0.75: per phrase, f = 4 * title instances + description instances, IDF from the number
//   of rows holding the phrase anywhere in the table (floored at 1e-6), document length and
//   average over both columns, summed over phrases in query order with the same floating-point
//   expression, so equal inputs give bit-equal scores. Ties go to the lower rowid, as the SQL's
//   "ORDER BY bm25(...), v.rowid" does; the other orders carry their SQL tie-breaks too.
// - Totals count every match that passes the language and date filters.
//
// Cost: postings (document, column and position of every token) for the whole catalogue, plus
// the video rows themselves; a 10,000-video catalogue takes a few megabytes and builds in well
// under a second. A search walks the postings of its phrases once and sorts only the first
// start-index + max-results candidates.
//
// An index is immutable once built, so any number of threads may search one at a time; the
// catalogue builds a fresh one after a change and swaps a shared pointer to it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/catalogue.h"
#include "server/feed_query.h"

namespace tunova::server {

// One video row with its rowid.
struct IndexedVideo {
    std::int64_t rowid = 0;
    VideoRecord video;
};

// One row of the full-text table: its rowid and the tokens of each column.
struct IndexedText {
    std::int64_t rowid = 0;
    std::vector<std::string> titleTokens;
    std::vector<std::string> descriptionTokens;
};

// One quoted phrase of a query as tokens; `prefix` matches the last token as a prefix.
struct PhraseTokens {
    std::vector<std::string> tokens;
    bool prefix = false;
};

class SearchIndex {
  public:
    // Builds the index from every video and every full-text row (any order; a text row whose
    // rowid has no video counts for ranking statistics but is never a result). Never fails.
    SearchIndex(std::vector<IndexedVideo> videos, const std::vector<IndexedText>& texts);

    // One page for `query`: `phrases` is null for a query without a word (every video), else
    // the ANDed phrases of the word. Videos published before `since` are left out (INT64_MIN
    // for all time). Never fails.
    CataloguePage Search(const FeedQuery& query, const std::vector<PhraseTokens>* phrases,
                         std::int64_t since) const;

    // Number of videos held.
    std::size_t size() const { return videos_.size(); }

  private:
    // Where one term (or a merged set of terms) occurs: ascending documents, and for each its
    // hits (column << 31 | position, ascending) at hits[hitOffsets[i] .. hitOffsets[i + 1]).
    struct Postings {
        std::vector<std::uint32_t> docs;
        std::vector<std::uint32_t> hitOffsets{0};
        std::vector<std::uint32_t> hits;
    };
    // Documents where a phrase occurs, ascending, with its weighted instance count in each.
    struct PhraseMatches {
        std::vector<std::uint32_t> docs;
        std::vector<double> frequency;
    };
    struct Candidate {
        double rank;          // -bm25 score as SQL sorts it; 0 when not ranked
        std::uint32_t video;  // index into videos_ (ascending rowid)
    };

    const Postings* ExactTerm(const std::string& token) const;
    Postings PrefixTerms(const std::string& prefix) const;
    PhraseMatches MatchPhrase(const PhraseTokens& phrase) const;
    bool Passes(std::uint32_t video, int language, std::int64_t since) const;
    int LanguageId(const std::string& language) const;
    void OrderAndCut(std::vector<Candidate>& candidates, const FeedQuery& query, bool byScore,
                     CataloguePage& page) const;

    std::vector<VideoRecord> videos_;  // ascending rowid
    std::vector<int> videoLanguage_;   // index into languages_
    std::vector<std::string> languages_;
    std::vector<std::int32_t> docVideo_;   // full-text row → video, -1 without one
    std::vector<std::int32_t> docLength_;  // tokens in both columns
    std::int64_t totalTokens_ = 0;
    std::vector<std::string> terms_;  // ascending bytes; a term's id is its place here
    std::vector<Postings> postings_;  // by term id
};

}  // namespace tunova::server
