#include "server/nfo_sidecar.h"

#include <cstdlib>
#include <map>
#include <vector>

#include "server/utf8_text.h"

namespace tunova::server {

namespace {

constexpr int kMaxDepth = 256;

// The direct children of the root with text only, by name, in document order.
using ChildTexts = std::multimap<std::string, std::string>;

class NfoScanner {
  public:
    explicit NfoScanner(std::string_view text) : text_(text) {}

    bool Scan(std::string& root, ChildTexts& children) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
            pos_ = 3;
        }
        if (!Prolog()) {
            return false;
        }
        std::vector<std::string> open;  // element names from the root down
        std::string childText;
        bool childHasElements = false;
        while (true) {
            const std::size_t lt = text_.find('<', pos_);
            if (!open.empty()) {
                if (lt == std::string_view::npos) {
                    return Fail("unclosed <" + open.back() + ">");
                }
                if (open.size() == 2 && !AppendText(text_.substr(pos_, lt - pos_), childText)) {
                    return false;
                }
            } else if (lt == std::string_view::npos ||
                       text_.substr(pos_, lt - pos_).find_first_not_of(" \t\r\n") !=
                           std::string_view::npos) {
                return Fail("no root element");
            }
            pos_ = lt;
            if (text_.substr(pos_, 4) == "<!--") {
                if (!Skip("-->")) {
                    return false;
                }
                continue;
            }
            if (text_.substr(pos_, 9) == "<![CDATA[") {
                const std::size_t end = text_.find("]]>", pos_ + 9);
                if (end == std::string_view::npos || open.empty()) {
                    return Fail("bad CDATA section");
                }
                if (open.size() == 2) {
                    childText.append(text_.substr(pos_ + 9, end - pos_ - 9));
                }
                pos_ = end + 3;
                continue;
            }
            if (text_.substr(pos_, 2) == "<?") {
                if (!Skip("?>")) {
                    return false;
                }
                continue;
            }
            if (text_.substr(pos_, 2) == "</") {
                const std::size_t gt = text_.find('>', pos_);
                if (gt == std::string_view::npos || open.empty() ||
                    Trimmed(text_.substr(pos_ + 2, gt - pos_ - 2)) != open.back()) {
                    return Fail("mismatched end tag");
                }
                pos_ = gt + 1;
                if (open.size() == 2 && !childHasElements) {
                    children.emplace(open.back(), Trimmed(childText));
                }
                open.pop_back();
                if (open.empty()) {
                    return Epilogue();
                }
                continue;
            }
            std::string name;
            bool selfClosing = false;
            if (!StartTag(name, selfClosing)) {
                return false;
            }
            if (open.empty()) {
                root = name;
            }
            if (open.size() == 2) {
                childHasElements = true;
            }
            if (selfClosing) {
                if (open.empty()) {
                    return Epilogue();
                }
                continue;
            }
            if (open.size() >= kMaxDepth) {
                return Fail("nested too deeply");
            }
            open.push_back(name);
            if (open.size() == 2) {
                childText.clear();
                childHasElements = false;
            }
        }
    }

    std::string error;

  private:
    bool Fail(const std::string& what) {
        error = what + " at byte " + std::to_string(pos_);
        return false;
    }

    static std::string Trimmed(std::string_view text) {
        const std::size_t first = text.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos) {
            return {};
        }
        const std::size_t last = text.find_last_not_of(" \t\r\n");
        return std::string(text.substr(first, last - first + 1));
    }

    bool Skip(std::string_view terminator) {
        const std::size_t end = text_.find(terminator, pos_);
        if (end == std::string_view::npos) {
            return Fail("unterminated markup");
        }
        pos_ = end + terminator.size();
        return true;
    }

    // The XML declaration, comments, processing instructions and a document type without an
    // internal subset.
    bool Prolog() {
        while (true) {
            const std::size_t next = text_.find_first_not_of(" \t\r\n", pos_);
            if (next == std::string_view::npos) {
                return Fail("no root element");
            }
            pos_ = next;
            if (text_.substr(pos_, 2) == "<?") {
                if (!Skip("?>")) {
                    return false;
                }
            } else if (text_.substr(pos_, 4) == "<!--") {
                if (!Skip("-->")) {
                    return false;
                }
            } else if (text_.substr(pos_, 9) == "<!DOCTYPE") {
                const std::size_t gt = text_.find('>', pos_);
                const std::size_t bracket = text_.find('[', pos_);
                if (bracket != std::string_view::npos &&
                    (gt == std::string_view::npos || bracket < gt)) {
                    return Fail("document type declarations are not read");
                }
                if (!Skip(">")) {
                    return false;
                }
            } else {
                return true;
            }
        }
    }

    bool Epilogue() {
        while (true) {
            const std::size_t next = text_.find_first_not_of(" \t\r\n", pos_);
            if (next == std::string_view::npos) {
                return true;
            }
            pos_ = next;
            if (text_.substr(pos_, 4) == "<!--") {
                if (!Skip("-->")) {
                    return false;
                }
            } else if (text_.substr(pos_, 2) == "<?") {
                if (!Skip("?>")) {
                    return false;
                }
            } else {
                return Fail("text after the root element");
            }
        }
    }

    // A start tag at pos_; attributes are checked for form and their values ignored.
    bool StartTag(std::string& name, bool& selfClosing) {
        ++pos_;
        const std::size_t nameEnd = text_.find_first_of(" \t\r\n/>", pos_);
        if (nameEnd == std::string_view::npos || nameEnd == pos_) {
            return Fail("bad start tag");
        }
        name = std::string(text_.substr(pos_, nameEnd - pos_));
        pos_ = nameEnd;
        while (true) {
            pos_ = text_.find_first_not_of(" \t\r\n", pos_);
            if (pos_ == std::string_view::npos) {
                pos_ = text_.size();
                return Fail("unterminated start tag");
            }
            if (text_[pos_] == '>') {
                ++pos_;
                return true;
            }
            if (text_.substr(pos_, 2) == "/>") {
                pos_ += 2;
                selfClosing = true;
                return true;
            }
            const std::size_t eq = text_.find('=', pos_);
            if (eq == std::string_view::npos || eq + 1 >= text_.size() ||
                (text_[eq + 1] != '"' && text_[eq + 1] != '\'')) {
                return Fail("bad attribute");
            }
            const std::size_t close = text_.find(text_[eq + 1], eq + 2);
            if (close == std::string_view::npos) {
                return Fail("unterminated attribute");
            }
            std::string ignored;
            if (!AppendText(text_.substr(eq + 2, close - eq - 2), ignored)) {
                return false;
            }
            pos_ = close + 1;
        }
    }

    // Appends character data with its references decoded.
    bool AppendText(std::string_view data, std::string& out) {
        std::size_t i = 0;
        while (i < data.size()) {
            const std::size_t amp = data.find('&', i);
            out.append(data.substr(i, amp == std::string_view::npos ? amp : amp - i));
            if (amp == std::string_view::npos) {
                return true;
            }
            const std::size_t semi = data.find(';', amp);
            if (semi == std::string_view::npos || semi - amp > 12) {
                return Fail("bad entity reference");
            }
            const std::string_view entity = data.substr(amp + 1, semi - amp - 1);
            static const std::map<std::string_view, char> kNamed = {
                {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
            if (const auto named = kNamed.find(entity); named != kNamed.end()) {
                out.push_back(named->second);
            } else if (entity.size() > 1 && entity[0] == '#') {
                const bool hex = entity[1] == 'x';
                const std::string digits(entity.substr(hex ? 2 : 1));
                char* end = nullptr;
                const unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
                if (digits.empty() || *end != '\0' || code == 0 || code > 0x10FFFF ||
                    (code >= 0xD800 && code <= 0xDFFF)) {
                    return Fail("bad character reference");
                }
                AppendUtf8(out, static_cast<char32_t>(code));
            } else {
                return Fail("unknown entity &" + std::string(entity) + ";");
            }
            i = semi + 1;
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

std::optional<std::string> First(const ChildTexts& children, const std::string& name) {
    for (auto [it, end] = children.equal_range(name); it != end; ++it) {
        if (!it->second.empty()) {
            return it->second;
        }
    }
    return std::nullopt;
}

}  // namespace

SidecarMetadata ParseNfo(std::string_view text) {
    SidecarMetadata result;
    if (!IsValidUtf8(text)) {
        result.error = "not UTF-8";
        return result;
    }
    NfoScanner scanner(text);
    std::string root;
    ChildTexts children;
    if (!scanner.Scan(root, children)) {
        result.error = scanner.error;
        return result;
    }
    if (root != "musicvideo" && root != "movie" && root != "episodedetails") {
        result.error = "root <" + root + "> is not <musicvideo>, <movie> or <episodedetails>";
        return result;
    }
    MediaMetadata& meta = result.metadata;
    meta.title = First(children, "title");
    std::string artists;
    for (auto [it, end] = children.equal_range("artist"); it != end; ++it) {
        if (!it->second.empty()) {
            artists += (artists.empty() ? "" : ", ") + it->second;
        }
    }
    if (!artists.empty()) {
        meta.artist = artists;
    }
    meta.description = First(children, "plot");
    if (!meta.description) {
        meta.description = First(children, "outline");
    }
    for (const char* date : {"premiered", "aired", "year"}) {
        if (const auto value = First(children, date); value && !meta.published) {
            meta.published = ParseLooseDate(*value);
        }
    }
    for (const char* name : {"album", "genre", "tag", "studio"}) {
        for (auto [it, end] = children.equal_range(name); it != end; ++it) {
            if (!it->second.empty()) {
                meta.keywords.push_back(it->second);
            }
        }
    }
    return result;
}

}  // namespace tunova::server
