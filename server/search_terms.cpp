#include "server/search_terms.h"

#include <utility>
#include <vector>

#include "server/utf8_text.h"

namespace tunova::server {

namespace {

enum class CharClass { Separator, Word, Cjk };

bool InRange(char32_t c, char32_t low, char32_t high) {
    return c >= low && c <= high;
}

CharClass Classify(char32_t c) {
    if (c < 0x80) {
        const bool alnum = InRange(c, '0', '9') || InRange(c, 'a', 'z') || InRange(c, 'A', 'Z');
        return alnum ? CharClass::Word : CharClass::Separator;
    }
    if (InRange(c, 0xAC00, 0xD7A3) || InRange(c, 0x1100, 0x11FF) || InRange(c, 0x3130, 0x318F) ||
        InRange(c, 0x3040, 0x30FF) || InRange(c, 0x31F0, 0x31FF) || InRange(c, 0x3400, 0x4DBF) ||
        InRange(c, 0x4E00, 0x9FFF) || InRange(c, 0xF900, 0xFAFF) || InRange(c, 0xFF66, 0xFF9F) ||
        InRange(c, 0x20000, 0x2FFFF)) {
        return CharClass::Cjk;
    }
    if (InRange(c, 0x80, 0xBF) || c == 0xD7 || c == 0xF7 || InRange(c, 0x2000, 0x2BFF) ||
        InRange(c, 0x3000, 0x303F) || InRange(c, 0xFE30, 0xFE4F) || InRange(c, 0xFF00, 0xFF0F) ||
        InRange(c, 0xFF1A, 0xFF20) || InRange(c, 0xFF3B, 0xFF40) || InRange(c, 0xFF5B, 0xFF65) ||
        InRange(c, 0xFFF0, 0xFFFF) || InRange(c, 0x1F000, 0x1FAFF)) {
        return CharClass::Separator;
    }
    return CharClass::Word;
}

struct Run {
    CharClass kind;
    std::vector<char32_t> chars;
};

// Splits `text` into word and CJK runs; separators end runs and are dropped.
std::vector<Run> SplitRuns(std::string_view text) {
    std::vector<Run> runs;
    std::size_t pos = 0;
    CharClass previous = CharClass::Separator;
    while (pos < text.size()) {
        char32_t c = 0;
        NextCodePoint(text, pos, c);
        const CharClass kind = Classify(c);
        if (kind == CharClass::Separator) {
            previous = kind;
            continue;
        }
        if (kind != previous) {
            runs.push_back({kind, {}});
        }
        runs.back().chars.push_back(c);
        previous = kind;
    }
    return runs;
}

void AppendChars(std::string& out, const std::vector<char32_t>& chars, std::size_t from,
                 std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
        AppendUtf8(out, chars[i]);
    }
}

// The two-character terms of a CJK run, space-separated.
void AppendBigrams(std::string& out, const std::vector<char32_t>& chars) {
    for (std::size_t i = 0; i + 1 < chars.size(); ++i) {
        if (i > 0) {
            out.push_back(' ');
        }
        AppendChars(out, chars, i, 2);
    }
}

}  // namespace

std::string IndexTerms(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const Run& run : SplitRuns(text)) {
        if (!out.empty()) {
            out.push_back(' ');
        }
        if (run.kind == CharClass::Word || run.chars.size() == 1) {
            AppendChars(out, run.chars, 0, run.chars.size());
            continue;
        }
        AppendBigrams(out, run.chars);
        out.push_back(' ');
        AppendChars(out, run.chars, run.chars.size() - 1, 1);
    }
    return out;
}

std::vector<QueryPhrase> QueryPhrases(std::string_view word) {
    std::vector<QueryPhrase> phrases;
    for (const Run& run : SplitRuns(word)) {
        QueryPhrase phrase;
        if (run.kind == CharClass::Word || run.chars.size() == 1) {
            AppendChars(phrase.text, run.chars, 0, run.chars.size());
        } else {
            AppendBigrams(phrase.text, run.chars);
        }
        phrase.prefix = run.kind == CharClass::Cjk && run.chars.size() == 1;
        phrases.push_back(std::move(phrase));
    }
    return phrases;
}

std::string MatchExpression(std::string_view word) {
    std::string out;
    for (const QueryPhrase& phrase : QueryPhrases(word)) {
        if (!out.empty()) {
            out.push_back(' ');
        }
        out.push_back('"');
        out += phrase.text;
        out.push_back('"');
        if (phrase.prefix) {
            out.push_back('*');
        }
    }
    return out;
}

}  // namespace tunova::server
