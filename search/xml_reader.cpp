#include "search/xml_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "search/cp949_scan.h"

namespace tunova {
namespace {

using cp949::FindChar;
using cp949::FindText;
using cp949::kNotFound;

enum CharClass : unsigned char { kSpace = 1, kDelimiter = 2, kLead = 4 };

constexpr std::array<unsigned char, 256> MakeCharClasses() {
    std::array<unsigned char, 256> table{};
    for (unsigned char c : {' ', '\t', '\n', '\r'}) {
        table[c] = kSpace | kDelimiter;
    }
    for (unsigned char c : {'<', '>', '=', '\\', '/', '?', '!'}) {
        table[c] = kDelimiter;
    }
    for (int c = 0x81; c <= 0xFE; ++c) {
        table[c] = kLead;
    }
    return table;
}
constexpr std::array<unsigned char, 256> kCharClasses = MakeCharClasses();

inline bool IsSpace(char c) {
    return kCharClasses[static_cast<unsigned char>(c)] & kSpace;
}
inline bool IsDelimiter(char c) {
    return kCharClasses[static_cast<unsigned char>(c)] & kDelimiter;
}
inline bool IsNameTerminator(char c) {
    return c == ' ' || c == '=' || c == '/' || c == '[';
}

// Documents are indexed with 32-bit positions; one byte is kept spare for "one past the end".
constexpr std::size_t kMaxDocumentBytes = std::numeric_limits<std::int32_t>::max() - 1;

std::string FormatWithName(std::string_view message, std::string_view name) {
    std::string out;
    const std::size_t mark = message.find("%s");
    if (mark == std::string_view::npos) {
        return std::string(message);
    }
    out.reserve(message.size() + name.size());
    out.append(message.substr(0, mark)).append(name).append(message.substr(mark + 2));
    return out;
}

}  // namespace

void CXmlReader::RecordArray::Grow(std::size_t size) {
    if (size <= size_) {
        return;
    }
    std::unique_ptr<ElementPos[]> grown(new ElementPos[size]);
    if (size_ != 0) {
        std::memcpy(grown.get(), data_.get(), size_ * sizeof(ElementPos));
    }
    data_ = std::move(grown);
    size_ = size;
}

CXmlReader::CXmlReader() {
    LoadText({});
}

bool CXmlReader::LoadText(std::string_view text) {
    nextFree_ = 1;
    ResetPosition();
    errorText_.clear();
    if (text.size() > kMaxDocumentBytes) {
        text_.clear();
        errorText_ = "Document too large";
    } else {
        text_.assign(text.data(), text.size());
    }
    const std::size_t wanted = text_.size() / 64 + 8;
    positions_.Grow(wanted);
    if (!text_.empty()) {
        positions_[0] = ElementPos{};
        if (ParseDocument()) {
            ResetPosition();
            return true;
        }
    }
    positions_[0] = ElementPos{};
    nextFree_ = 1;
    ResetPosition();
    return false;
}

void CXmlReader::ResetPosition() {
    parentIndex_ = 0;
    currentIndex_ = 0;
    childIndex_ = 0;
    nodeKind_ = 0;
}

std::uint32_t CXmlReader::NewRecord(std::uint32_t parent) {
    if (nextFree_ >= positions_.size()) {
        positions_.Grow(nextFree_ + nextFree_ / 2);
    }
    const std::uint32_t index = nextFree_++;
    ElementPos& pos = positions_[index];
    pos.parent = parent;
    pos.firstChild = 0;
    pos.nextSibling = 0;
    return index;
}

bool CXmlReader::Fail(std::string_view message, std::uint32_t element) {
    errorText_ = FormatWithName(message, element != 0 ? NameOf(element) : std::string_view{});
    return false;
}

// Builds the records of the first top-level element and everything inside it. Open elements
// are kept on an explicit stack, so a deeply nested document cannot exhaust the call stack.
bool CXmlReader::ParseDocument() {
    struct OpenElement {
        std::uint32_t index;
        std::uint32_t lastChild;
        std::string_view name;
    };
    std::vector<OpenElement> open;
    open.reserve(32);
    open.push_back({0, 0, {}});
    const char* s = text_.data();
    const std::size_t end = text_.size();
    TokenCursor token;

    while (true) {
        const std::uint32_t parent = open.back().index;
        const std::uint32_t record = NewRecord(parent);
        std::size_t scan = positions_[parent].endOpen;
        std::size_t tagOpen = 0;
        bool parentEnds = false;
        // Find the next start tag among the parent's content, passing over nodes that are not
        // elements; a "</" here ends the parent's content.
        while (true) {
            tagOpen = FindChar(s, end, scan, '<');
            if (tagOpen == kNotFound) {
                // Inside an element, running out of text means its end tag is missing.
                return parent == 0 ? Fail("Element tag not found")
                                   : Fail("End tag of %s element not found", parent);
            }
            positions_[record].tagOpen = static_cast<std::uint32_t>(tagOpen);
            positions_[parent].endOpen = static_cast<std::uint32_t>(tagOpen);
            token.next = tagOpen + 1;
            if (!NextToken(token)) {
                return Fail("Abrupt end within tag");
            }
            if (token.quoted) {
                return Fail("Tag starts with quote");
            }
            const char first = s[token.left];
            if (first == '?' || first == '!') {
                scan = SkipNode(tagOpen);
                if (scan == kNotFound) {
                    return Fail("Invalid node");
                }
                continue;
            }
            parentEnds = first == '/';
            break;
        }

        if (parentEnds) {
            --nextFree_;  // the record was not needed
            if (parent == 0) {
                return false;  // an end tag before any element
            }
            if (!FinishEndTag(parent, open.back().name)) {
                return false;
            }
            open.pop_back();
            const std::uint32_t grandParent = open.back().index;
            positions_[grandParent].endOpen = positions_[parent].endClose + 1;
            if (grandParent == 0) {
                positions_[0].firstChild = parent;
                return true;
            }
            continue;
        }

        const std::size_t tagClose = FindChar(s, end, token.next, '>');
        if (tagClose == kNotFound) {
            return Fail("End of tag not found");
        }
        ElementPos& pos = positions_[record];
        pos.tagClose = static_cast<std::uint32_t>(tagClose);
        OpenElement& into = open.back();
        if (into.lastChild == 0) {
            positions_[parent].firstChild = record;
        } else {
            positions_[into.lastChild].nextSibling = record;
        }
        into.lastChild = record;

        if (s[tagClose - 1] == '/') {
            pos.endOpen = static_cast<std::uint32_t>(tagClose - 1);
            pos.endClose = static_cast<std::uint32_t>(tagClose);
            positions_[parent].endOpen = static_cast<std::uint32_t>(tagClose + 1);
            if (parent == 0) {
                return true;
            }
            continue;
        }
        pos.endOpen = static_cast<std::uint32_t>(tagClose + 1);
        open.push_back({record, 0, std::string_view(s + token.left, token.right + 1 - token.left)});
    }
}

// Reads the end tag of element `index` at its endOpen: "/", the element's name, then tokens up
// to ">".
bool CXmlReader::FinishEndTag(std::uint32_t index, std::string_view name) {
    const char* s = text_.data();
    const std::size_t end = text_.size();
    ElementPos& pos = positions_[index];
    const std::size_t open = FindChar(s, end, pos.endOpen, '<');
    if (open == kNotFound) {
        return Fail("End tag of %s element not found", index);
    }
    pos.endOpen = static_cast<std::uint32_t>(open);
    // The usual "</name>" read at once; anything else goes through the tokenizer below.
    const std::size_t close = open + 2 + name.size();
    if (close < end && s[open + 1] == '/' && s[close] == '>' &&
        std::memcmp(s + open + 2, name.data(), name.size()) == 0) {
        pos.endClose = static_cast<std::uint32_t>(close);
        return true;
    }
    TokenCursor token;
    token.next = open + 1;
    int count = 0;
    while (NextToken(token)) {
        ++count;
        if (token.quoted) {
            continue;
        }
        if (count == 1 && s[token.left] != '/') {
            return Fail("Expecting end tag of element %s", index);
        }
        if (count == 2 && !TokenMatches(token, name)) {
            return Fail("End tag does not correspond to %s", index);
        }
        if (s[token.left] == '>') {
            if (count < 2) {
                break;
            }
            pos.endClose = static_cast<std::uint32_t>(token.left);
            return true;
        }
    }
    return Fail("End tag not completed for element %s", index);
}

bool CXmlReader::NextToken(TokenCursor& cursor) const {
    const char* s = text_.data();
    const std::size_t end = text_.size();
    std::size_t i = cursor.next;
    cursor.quoted = false;
    while (i < end && IsSpace(s[i])) {
        ++i;
    }
    if (i >= end) {
        cursor.left = cursor.right = cursor.next = end;
        return false;
    }
    const char c = s[i];
    if (c == '"' || c == '\'') {
        cursor.quoted = true;
        cursor.left = i + 1;
        const std::size_t close = FindChar(s, end, i + 1, c);
        if (close == kNotFound) {
            cursor.right = end - 1;
            cursor.next = end;
        } else {
            cursor.right = close - 1;  // close - 1 < left for an empty string
            cursor.next = close + 1;
        }
        return true;
    }
    cursor.left = i;
    // Runs of plain single-byte characters go in one tight loop; a lead byte takes its trail
    // byte with it, whatever that is.
    while (true) {
        while (i < end && kCharClasses[static_cast<unsigned char>(s[i])] == 0) {
            ++i;
        }
        if (i >= end || (kCharClasses[static_cast<unsigned char>(s[i])] & kDelimiter)) {
            break;
        }
        i += 2;
    }
    i = std::min(i, end);
    if (i == cursor.left) {
        cursor.right = i;
        cursor.next = i + 1;
    } else {
        cursor.right = i - 1;
        cursor.next = i;
    }
    return true;
}

std::string_view CXmlReader::NameOf(std::uint32_t index) const {
    TokenCursor token;
    token.next = positions_[index].tagOpen + 1;
    if (!NextToken(token) || token.quoted) {
        return {};
    }
    return std::string_view(text_).substr(token.left, token.right + 1 - token.left);
}

bool CXmlReader::TokenMatches(const TokenCursor& token, std::string_view name) const {
    if (token.quoted || token.right < token.left) {
        return false;
    }
    const std::size_t n = token.right + 1 - token.left;
    if (n > name.size() || text_.compare(token.left, n, name.data(), n) != 0) {
        return false;
    }
    return n == name.size() || IsNameTerminator(name[n]);
}

// Passes over "<?...?>", "<![...]]>", "<!-...-->" or "<!...>" (with nested [...]) at
// `tagOpen`; returns the index after the node, or kNotFound when it is not closed.
std::size_t CXmlReader::SkipNode(std::size_t tagOpen) const {
    const char* s = text_.data();
    const std::size_t end = text_.size();
    if (end - tagOpen < 3) {
        return kNotFound;
    }
    const char c1 = s[tagOpen + 1];
    const char c2 = s[tagOpen + 2];
    auto after = [&](std::size_t from, std::string_view close) {
        const std::size_t at = FindText(s, end, from, close);
        return at == kNotFound ? kNotFound : at + close.size();
    };
    if (c1 == '?') {
        return after(tagOpen + 2, "?>");
    }
    if (c1 != '!') {
        return kNotFound;
    }
    if (c2 == '[') {
        return after(tagOpen + 3, "]]>");
    }
    if (c2 == '-') {
        return after(tagOpen + 3, "-->");
    }
    // Document type: the first '>' outside [...] ends it; quoted strings are passed over.
    TokenCursor token;
    token.next = tagOpen + 2;
    int depth = 0;
    while (NextToken(token)) {
        if (token.quoted) {
            continue;
        }
        if (s[token.left] == '>' && depth == 0) {
            return token.left + 1;
        }
        for (std::size_t i = token.left; i <= token.right; ++i) {
            if (s[i] == '[') {
                ++depth;
            } else if (s[i] == ']') {
                --depth;
            }
        }
    }
    return kNotFound;
}

bool CXmlReader::FindSibling(std::string_view name) {
    std::uint32_t candidate = currentIndex_ != 0 ? positions_[currentIndex_].nextSibling
                                                 : positions_[parentIndex_].firstChild;
    if (!name.empty()) {
        // The part of the wanted name an element's name must equal: up to the first terminator.
        std::size_t compared = 0;
        bool plain = true;  // no delimiters and no double-byte characters in that part
        while (compared < name.size() && !IsNameTerminator(name[compared])) {
            const auto b = static_cast<unsigned char>(name[compared]);
            plain = plain && b < 0x80 && !(kCharClasses[b] & kDelimiter) && b != '"' && b != '\'';
            ++compared;
        }
        const char* s = text_.data();
        const std::size_t end = text_.size();
        TokenCursor token;
        while (candidate != 0) {
            const std::size_t at = positions_[candidate].tagOpen + 1;
            if (plain && compared > 0) {
                // The name starts right after '<' and must end at a delimiter.
                if (at + compared <= end && s[at] == name[0] &&
                    std::memcmp(s + at, name.data(), compared) == 0 &&
                    (at + compared == end || IsDelimiter(s[at + compared]))) {
                    break;
                }
                if (!IsSpace(s[at])) {
                    candidate = positions_[candidate].nextSibling;
                    continue;
                }
            }
            token.next = at;
            if (NextToken(token) && TokenMatches(token, name)) {
                break;
            }
            candidate = positions_[candidate].nextSibling;
        }
    }
    if (candidate == 0) {
        return false;
    }
    parentIndex_ = positions_[candidate].parent;
    currentIndex_ = candidate;
    childIndex_ = 0;
    nodeKind_ = 1;
    return true;
}

bool CXmlReader::EnterElement() {
    if (currentIndex_ == 0 || nodeKind_ != 1) {
        return false;
    }
    parentIndex_ = currentIndex_;
    currentIndex_ = childIndex_;
    childIndex_ = 0;
    nodeKind_ = currentIndex_ != 0 ? 1 : 0;
    return true;
}

bool CXmlReader::LeaveElement() {
    if (parentIndex_ == 0) {
        return false;
    }
    const std::uint32_t oldParent = parentIndex_;
    childIndex_ = currentIndex_;
    currentIndex_ = oldParent;
    parentIndex_ = positions_[oldParent].parent;
    nodeKind_ = currentIndex_ != 0 ? 1 : 0;
    return true;
}

std::string CXmlReader::ElementText() const {
    const ElementPos& pos = positions_[currentIndex_];
    if (pos.firstChild != 0 || pos.endClose == pos.tagClose) {
        return {};
    }
    const char* s = text_.data();
    std::size_t i = pos.tagClose + 1;
    while (i < pos.endOpen && IsSpace(s[i])) {
        ++i;
    }
    constexpr std::string_view kCdataOpen = "<![CDATA[";
    if (i + 11 < pos.endOpen && s[i] == '<' &&
        std::memcmp(s + i, kCdataOpen.data(), kCdataOpen.size()) == 0) {
        const std::size_t from = i + kCdataOpen.size();
        const std::size_t close = FindText(s, pos.endOpen, from, "]]>");
        if (close != kNotFound) {
            return text_.substr(from, close - from);
        }
    }
    if (pos.endOpen == 0) {
        return {};
    }
    return DecodeText(pos.tagClose + 1, pos.endOpen - 1);
}

std::string CXmlReader::DecodeText(std::size_t left, std::size_t right) const {
    std::string out;
    if (right < left || right >= text_.size()) {
        return out;
    }
    const char* s = text_.data();
    const std::size_t end = right + 1;
    out.reserve(end - left);
    std::size_t pos = left;
    while (pos < end) {
        const std::size_t amp = FindChar(s, end, pos, '&');
        if (amp == kNotFound) {
            out.append(s + pos, end - pos);
            break;
        }
        out.append(s + pos, amp - pos);
        pos = amp + 1;
        // One of the five names, ending within the range, or a literal '&'.
        const std::string_view rest(s + pos, end - pos);
        char decoded = '&';
        std::size_t nameLength = 0;
        if (!rest.empty()) {
            switch (rest[0]) {
                case 'l':
                    if (rest.starts_with("lt;")) {
                        decoded = '<', nameLength = 3;
                    }
                    break;
                case 'g':
                    if (rest.starts_with("gt;")) {
                        decoded = '>', nameLength = 3;
                    }
                    break;
                case 'a':
                    if (rest.starts_with("amp;")) {
                        decoded = '&', nameLength = 4;
                    } else if (rest.starts_with("apos;")) {
                        decoded = '\'', nameLength = 5;
                    }
                    break;
                case 'q':
                    if (rest.starts_with("quot;")) {
                        decoded = '"', nameLength = 5;
                    }
                    break;
                default:
                    break;
            }
        }
        pos += nameLength;
        out.push_back(decoded);
    }
    return out;
}

std::string CXmlReader::StartTagValue(std::string_view key) const {
    const ElementPos& pos = positions_[currentIndex_];
    const char* s = text_.data();
    const std::size_t end = text_.size();
    const std::size_t tagStart = pos.tagOpen + 1;
    if (key.empty()) {
        return {};
    }
    // The tag text runs from tagOpen + 1 through the first "/>" at or after tagOpen + 2 (a "/>"
    // at a character boundary has its '>' at one too).
    std::size_t tagEnd = kNotFound;
    for (std::size_t from = tagStart; from < end;) {
        const std::size_t gt = FindChar(s, end, from, '>');
        if (gt == kNotFound) {
            break;
        }
        const std::size_t slash = gt - 1;
        if (slash >= tagStart + 1 && s[slash] == '/' && cp949::IsBoundary(s, tagStart, slash)) {
            tagEnd = gt + 1;
            break;
        }
        from = gt + 1;
    }
    if (tagEnd == kNotFound) {
        return {};
    }
    const std::size_t at = FindText(s, tagEnd, tagStart, key);
    if (at == kNotFound) {
        return {};
    }
    // The key is followed by one opening quote; the value runs to the next quote (an
    // apostrophe counts as one) after its first character, or to the end of the tag text.
    const std::size_t valueStart = at + key.size() + 1;
    if (valueStart >= tagEnd) {
        return {};
    }
    const std::size_t afterQuote = cp949::NextChar(s, tagEnd, at + key.size());
    std::size_t valueEnd = tagEnd;
    for (std::size_t i = afterQuote < tagEnd ? cp949::NextChar(s, tagEnd, afterQuote) : tagEnd;
         i < tagEnd; i = cp949::NextChar(s, tagEnd, i)) {
        if (s[i] == '"' || s[i] == '\'') {
            valueEnd = i;
            break;
        }
    }
    std::string value;
    value.reserve(valueEnd - valueStart);
    for (std::size_t i = valueStart; i < valueEnd; ++i) {
        const char c = s[i];
        if (c == '/' && i + 1 < valueEnd && s[i + 1] == '>') {
            ++i;
            continue;
        }
        if (c != '"' && c != '\'') {
            value.push_back(c);
        }
    }
    return value;
}

}  // namespace tunova
