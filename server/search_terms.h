// Search terms for the full-text index. Korean, Japanese and Chinese write words without spaces
// and Korean glues particles to words ("사랑을"), so runs of those scripts are indexed as
// overlapping two-character terms (plus the run's last character alone), and a query run is
// looked up as the phrase of its two-character terms: "사랑" then finds "첫사랑을". Other text
// is left to the index's own word splitting (unicode61: case and diacritics folded).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tunova::server {

// The index form of UTF-8 `text`: word runs kept, separators as spaces, CJK runs as their
// two-character terms and last character. Ill-formed UTF-8 is read as U+FFFD (a separator).
std::string IndexTerms(std::string_view text);

// One quoted phrase of a query: the text between the quotes, and whether its last term is
// matched as a prefix (a lone CJK character).
struct QueryPhrase {
    std::string text;
    bool prefix = false;
};

// The phrases of `word` that MatchExpression joins with AND, in order. Empty when `word` has
// nothing searchable.
std::vector<QueryPhrase> QueryPhrases(std::string_view word);

// An FTS5 query that matches entries holding every run of `word` (AND); a lone CJK character
// matches as a prefix. Empty when `word` has nothing searchable (only separators).
std::string MatchExpression(std::string_view word);

}  // namespace tunova::server
