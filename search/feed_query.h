// The feed service's query texts and the encoding of a search word into them.
#pragma once

#include <string>
#include <string_view>

namespace tunova {

// Longest UTF-8 form of a search word that goes into a query; longer words are cut at the last
// whole character within it.
inline constexpr std::size_t kMaxEncodedWordBytes = 99;
// Paging stops once the start index of the page read last is beyond this.
inline constexpr int kLastPagingStartIndex = 4500;
inline constexpr int kResultsPerPage = 30;

// Applies the twenty (character, replacement) pairs in order to a CP949 word: each character
// is replaced by its percent form only while the word also contains "%25".
std::string ApplyEncodingPairs(std::string_view word);

// Spaces become '/', the CP949 word becomes UTF-8 (cut to kMaxEncodedWordBytes at a character
// boundary), and every byte of 0x80 or more becomes "%XX" in capitals; other bytes pass as
// they are.
std::string EncodeSearchWord(std::string_view word);

// The language-filter suffix of country index 0 to 4 ("&lr=ko" for 1 ...); empty for 0 and
// any other index.
std::string_view CountrySuffix(int countryIndex);

// "feeds/api/videos/-/Music?vq=WORD&orderby=relevance&max-results=30&start-index=1" + suffix.
std::string FirstPageQuery(std::string_view encodedWord, std::string_view suffix);
// "feeds/api/videos/-/Music?q=WORD&orderby=relevance&max-results=30&start-index=N" + suffix.
std::string NextPageQuery(std::string_view encodedWord, int startIndex, std::string_view suffix);
// The daily chart: the month's fifty best-rated Korean-language music videos.
inline constexpr std::string_view kChartQuery =
    "feeds/api/videos/-/Music?orderby=rating&max-results=50&start-index=1&lr=ko&time=this_month";

}  // namespace tunova
