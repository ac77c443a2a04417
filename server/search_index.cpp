#include "server/search_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tunova::server {

namespace {

constexpr std::uint32_t kDescriptionBit = 1u << 31;
constexpr double kTitleWeight = 4.0;
constexpr double kDescriptionWeight = 1.0;
constexpr double kK1 = 1.2;
constexpr double kB = 0.75;

double HitWeight(std::uint32_t hit) {
    return (hit & kDescriptionBit) != 0 ? kDescriptionWeight : kTitleWeight;
}

// FTS5's bm25 IDF of a phrase found in `hits` of `rows` rows, floored so it stays positive.
double InverseDocumentFrequency(std::int64_t rows, std::int64_t hits) {
    double idf = std::log((rows - hits + 0.5) / (hits + 0.5));
    if (idf <= 0.0) {
        idf = 1e-6;
    }
    return idf;
}

// Ascending documents present in both lists.
std::vector<std::uint32_t> Intersect(const std::vector<std::uint32_t>& left,
                                     const std::vector<std::uint32_t>& right) {
    std::vector<std::uint32_t> both;
    std::set_intersection(left.begin(), left.end(), right.begin(), right.end(),
                          std::back_inserter(both));
    return both;
}

}  // namespace

SearchIndex::SearchIndex(std::vector<IndexedVideo> videos, const std::vector<IndexedText>& texts) {
    std::sort(videos.begin(), videos.end(),
              [](const IndexedVideo& a, const IndexedVideo& b) { return a.rowid < b.rowid; });
    std::vector<std::int64_t> videoRowids;
    videos_.reserve(videos.size());
    for (IndexedVideo& row : videos) {
        const int language = LanguageId(row.video.language);
        if (language < 0) {
            languages_.push_back(row.video.language);
        }
        videoLanguage_.push_back(language < 0 ? static_cast<int>(languages_.size()) - 1 : language);
        videoRowids.push_back(row.rowid);
        videos_.push_back(std::move(row.video));
    }

    std::vector<const IndexedText*> rows;
    rows.reserve(texts.size());
    for (const IndexedText& text : texts) {
        rows.push_back(&text);
    }
    std::sort(rows.begin(), rows.end(),
              [](const IndexedText* a, const IndexedText* b) { return a->rowid < b->rowid; });

    // Term ids in order of first sight, renumbered below into byte order.
    std::unordered_map<std::string_view, std::uint32_t> firstIds;
    std::vector<std::string_view> firstTerms;
    std::vector<std::vector<std::uint32_t>> docTerms(rows.size());
    for (std::size_t doc = 0; doc < rows.size(); ++doc) {
        const IndexedText& row = *rows[doc];
        const auto found = std::lower_bound(videoRowids.begin(), videoRowids.end(), row.rowid);
        docVideo_.push_back(found != videoRowids.end() && *found == row.rowid
                                ? static_cast<std::int32_t>(found - videoRowids.begin())
                                : -1);
        const std::size_t length = row.titleTokens.size() + row.descriptionTokens.size();
        docLength_.push_back(static_cast<std::int32_t>(length));
        totalTokens_ += static_cast<std::int64_t>(length);
        for (const auto* column : {&row.titleTokens, &row.descriptionTokens}) {
            for (const std::string& token : *column) {
                const auto [entry, added] =
                    firstIds.try_emplace(token, static_cast<std::uint32_t>(firstTerms.size()));
                if (added) {
                    firstTerms.push_back(token);
                }
                docTerms[doc].push_back(entry->second);
            }
        }
    }
    std::vector<std::uint32_t> order(firstTerms.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return firstTerms[a] < firstTerms[b]; });
    std::vector<std::uint32_t> finalId(order.size());
    for (std::uint32_t place = 0; place < order.size(); ++place) {
        finalId[order[place]] = place;
        terms_.emplace_back(firstTerms[order[place]]);
    }

    postings_.resize(terms_.size());
    for (std::size_t doc = 0; doc < rows.size(); ++doc) {
        const std::size_t titleSize = rows[doc]->titleTokens.size();
        for (std::size_t i = 0; i < docTerms[doc].size(); ++i) {
            Postings& postings = postings_[finalId[docTerms[doc][i]]];
            const auto docNumber = static_cast<std::uint32_t>(doc);
            if (postings.docs.empty() || postings.docs.back() != docNumber) {
                if (!postings.docs.empty()) {
                    postings.hitOffsets.push_back(static_cast<std::uint32_t>(postings.hits.size()));
                }
                postings.docs.push_back(docNumber);
            }
            const bool description = i >= titleSize;
            const auto position = static_cast<std::uint32_t>(description ? i - titleSize : i);
            postings.hits.push_back(description ? (kDescriptionBit | position) : position);
        }
    }
    for (Postings& postings : postings_) {
        postings.hitOffsets.push_back(static_cast<std::uint32_t>(postings.hits.size()));
    }
}

int SearchIndex::LanguageId(const std::string& language) const {
    const auto found = std::find(languages_.begin(), languages_.end(), language);
    return found == languages_.end() ? -1 : static_cast<int>(found - languages_.begin());
}

const SearchIndex::Postings* SearchIndex::ExactTerm(const std::string& token) const {
    const auto found = std::lower_bound(terms_.begin(), terms_.end(), token);
    if (found == terms_.end() || *found != token) {
        return nullptr;
    }
    return &postings_[static_cast<std::size_t>(found - terms_.begin())];
}

SearchIndex::Postings SearchIndex::PrefixTerms(const std::string& prefix) const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> docHits;
    for (auto term = std::lower_bound(terms_.begin(), terms_.end(), prefix);
         term != terms_.end() && term->starts_with(prefix); ++term) {
        const Postings& one = postings_[static_cast<std::size_t>(term - terms_.begin())];
        for (std::size_t i = 0; i < one.docs.size(); ++i) {
            for (std::uint32_t h = one.hitOffsets[i]; h < one.hitOffsets[i + 1]; ++h) {
                docHits.emplace_back(one.docs[i], one.hits[h]);
            }
        }
    }
    std::sort(docHits.begin(), docHits.end());
    Postings merged;
    for (const auto& [doc, hit] : docHits) {
        if (merged.docs.empty() || merged.docs.back() != doc) {
            if (!merged.docs.empty()) {
                merged.hitOffsets.push_back(static_cast<std::uint32_t>(merged.hits.size()));
            }
            merged.docs.push_back(doc);
        }
        merged.hits.push_back(hit);
    }
    merged.hitOffsets.push_back(static_cast<std::uint32_t>(merged.hits.size()));
    return merged;
}

SearchIndex::PhraseMatches SearchIndex::MatchPhrase(const PhraseTokens& phrase) const {
    PhraseMatches matches;
    const std::size_t length = phrase.tokens.size();
    std::vector<Postings> mergedPrefix;
    mergedPrefix.reserve(1);
    std::vector<const Postings*> parts;
    for (std::size_t j = 0; j < length; ++j) {
        const Postings* part = nullptr;
        if (phrase.prefix && j + 1 == length) {
            mergedPrefix.push_back(PrefixTerms(phrase.tokens[j]));
            part = &mergedPrefix.back();
        } else {
            part = ExactTerm(phrase.tokens[j]);
        }
        if (part == nullptr || part->docs.empty()) {
            return matches;
        }
        parts.push_back(part);
    }
    // Cursors into the later tokens' documents, advanced along the first token's.
    std::vector<std::size_t> cursor(length, 0);
    const Postings& first = *parts[0];
    for (std::size_t i = 0; i < first.docs.size(); ++i) {
        const std::uint32_t doc = first.docs[i];
        bool everywhere = true;
        for (std::size_t j = 1; j < length && everywhere; ++j) {
            const auto& docs = parts[j]->docs;
            cursor[j] = static_cast<std::size_t>(
                std::lower_bound(docs.begin() + static_cast<std::ptrdiff_t>(cursor[j]), docs.end(),
                                 doc) -
                docs.begin());
            everywhere = cursor[j] < docs.size() && docs[cursor[j]] == doc;
        }
        if (!everywhere) {
            continue;
        }
        double frequency = 0;
        for (std::uint32_t h = first.hitOffsets[i]; h < first.hitOffsets[i + 1]; ++h) {
            const std::uint32_t start = first.hits[h];
            bool whole = true;
            for (std::size_t j = 1; j < length && whole; ++j) {
                const Postings& part = *parts[j];
                const auto from = part.hits.begin() + part.hitOffsets[cursor[j]];
                const auto to = part.hits.begin() + part.hitOffsets[cursor[j] + 1];
                whole = std::binary_search(from, to, start + static_cast<std::uint32_t>(j));
            }
            if (whole) {
                frequency += HitWeight(start);
            }
        }
        if (frequency > 0) {
            matches.docs.push_back(doc);
            matches.frequency.push_back(frequency);
        }
    }
    return matches;
}

bool SearchIndex::Passes(std::uint32_t video, int language, std::int64_t since) const {
    return (language < 0 || videoLanguage_[video] == language) && videos_[video].published >= since;
}

void SearchIndex::OrderAndCut(std::vector<Candidate>& candidates, const FeedQuery& query,
                              bool byScore, CataloguePage& page) const {
    page.total = static_cast<int>(candidates.size());
    if (page.total < query.startIndex) {
        return;
    }
    const auto byRating = [this](const Candidate& a, const Candidate& b) {
        const VideoRecord& x = videos_[a.video];
        const VideoRecord& y = videos_[b.video];
        if (x.rating != y.rating) {
            return x.rating > y.rating;
        }
        if (x.published != y.published) {
            return x.published > y.published;
        }
        return a.video < b.video;
    };
    const auto byPublished = [this](const Candidate& a, const Candidate& b) {
        const VideoRecord& x = videos_[a.video];
        const VideoRecord& y = videos_[b.video];
        if (x.published != y.published) {
            return x.published > y.published;
        }
        return a.video < b.video;
    };
    const auto byRank = [](const Candidate& a, const Candidate& b) {
        if (a.rank != b.rank) {
            return a.rank < b.rank;
        }
        return a.video < b.video;
    };
    const std::size_t skip = static_cast<std::size_t>(query.startIndex - 1);
    const std::size_t end =
        std::min(candidates.size(), skip + static_cast<std::size_t>(query.maxResults));
    const auto middle = candidates.begin() + static_cast<std::ptrdiff_t>(end);
    if (query.order == FeedOrder::Published) {
        std::partial_sort(candidates.begin(), middle, candidates.end(), byPublished);
    } else if (query.order == FeedOrder::Rating || !byScore) {
        std::partial_sort(candidates.begin(), middle, candidates.end(), byRating);
    } else {
        std::partial_sort(candidates.begin(), middle, candidates.end(), byRank);
    }
    for (std::size_t i = skip; i < end; ++i) {
        page.entries.push_back(videos_[candidates[i].video]);
    }
}

CataloguePage SearchIndex::Search(const FeedQuery& query, const std::vector<PhraseTokens>* phrases,
                                  std::int64_t since) const {
    CataloguePage page;
    int language = -1;
    if (!query.language.empty()) {
        language = LanguageId(query.language);
        if (language < 0) {
            return page;
        }
    }
    std::vector<Candidate> candidates;
    if (phrases == nullptr) {
        for (std::uint32_t video = 0; video < videos_.size(); ++video) {
            if (Passes(video, language, since)) {
                candidates.push_back({0, video});
            }
        }
        OrderAndCut(candidates, query, false, page);
        return page;
    }

    std::vector<PhraseMatches> matched;
    for (const PhraseTokens& phrase : *phrases) {
        if (!phrase.tokens.empty()) {
            matched.push_back(MatchPhrase(phrase));
        }
    }
    if (matched.empty()) {
        return page;
    }
    std::vector<std::uint32_t> docs = matched[0].docs;
    for (std::size_t i = 1; i < matched.size() && !docs.empty(); ++i) {
        docs = Intersect(docs, matched[i].docs);
    }
    const bool ranked = query.order == FeedOrder::Relevance;
    const auto rows = static_cast<std::int64_t>(docLength_.size());
    std::vector<double> idf;
    for (const PhraseMatches& phrase : matched) {
        idf.push_back(
            InverseDocumentFrequency(rows, static_cast<std::int64_t>(phrase.docs.size())));
    }
    const double averageLength =
        rows > 0 ? static_cast<double>(totalTokens_) / static_cast<double>(rows) : 0;
    std::vector<std::size_t> cursor(matched.size(), 0);
    candidates.reserve(docs.size());
    for (const std::uint32_t doc : docs) {
        const std::int32_t video = docVideo_[doc];
        if (video < 0 || !Passes(static_cast<std::uint32_t>(video), language, since)) {
            continue;
        }
        double score = 0.0;
        if (ranked) {
            const double length = static_cast<double>(docLength_[doc]);
            for (std::size_t i = 0; i < matched.size(); ++i) {
                const auto& found = matched[i].docs;
                cursor[i] = static_cast<std::size_t>(
                    std::lower_bound(found.begin() + static_cast<std::ptrdiff_t>(cursor[i]),
                                     found.end(), doc) -
                    found.begin());
                const double f = matched[i].frequency[cursor[i]];
                // The same expression, operand for operand, as FTS5's bm25().
                score += idf[i] *
                         ((f * (kK1 + 1.0)) / (f + kK1 * (1 - kB + kB * length / averageLength)));
            }
        }
        candidates.push_back({-1.0 * score, static_cast<std::uint32_t>(video)});
    }
    OrderAndCut(candidates, query, true, page);
    return page;
}

}  // namespace tunova::server
