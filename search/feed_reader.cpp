#include "search/feed_reader.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "platform/core/codepage.h"
#include "platform/core/number_text.h"
#include "search/cp949_scan.h"
#include "search/xml_reader.h"

namespace tunova {
namespace {

// The document as the reader sees it: UTF-16 after a byte-order mark is converted (into
// `converted`), anything else ends at its first zero byte.
std::string_view PrepareText(std::string_view text, std::string& converted) {
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF &&
        static_cast<unsigned char>(text[1]) == 0xFE) {
        std::u16string wide((text.size() - 2) / 2, u'\0');
        for (std::size_t i = 0; i < wide.size(); ++i) {
            wide[i] = static_cast<char16_t>(static_cast<unsigned char>(text[2 + 2 * i]) |
                                            (static_cast<unsigned char>(text[3 + 2 * i]) << 8));
        }
        const std::size_t zero = wide.find(u'\0');
        if (zero != std::u16string::npos) {
            wide.resize(zero);
        }
        converted = plat::Utf16ToCp949(wide, '?');
        return converted;
    }
    return text.substr(0, text.find('\0'));
}

// Occurrences of the text "<entry>" from index 1 on, as whole characters. Every '<' is a
// candidate; the character-boundary test runs only for the few that match.
int CountEntryTags(std::string_view document) {
    constexpr std::string_view kEntry = "<entry>";
    const char* s = document.data();
    const std::size_t end = document.size();
    int count = 0;
    std::size_t pos = 1;
    while (pos + kEntry.size() <= end) {
        const void* hit = std::memchr(s + pos, '<', end - kEntry.size() + 1 - pos);
        if (hit == nullptr) {
            break;
        }
        const std::size_t q = static_cast<std::size_t>(static_cast<const char*>(hit) - s);
        if (s[q + 1] == 'e' && std::memcmp(s + q, kEntry.data(), kEntry.size()) == 0 &&
            cp949::IsBoundary(s, 0, q)) {
            ++count;
        }
        pos = q + 1;
    }
    return count;
}

VideoItem ReadEntry(CXmlReader& doc) {
    VideoItem item;
    doc.EnterElement();
    // Each read happens whether or not its find succeeded; after a failed find it reads the
    // element found last, as the feeds this was written against never lack these.
    doc.FindSibling("updated");
    item.updated = doc.ElementText();
    doc.FindSibling("title type");
    item.title = doc.ElementText();
    doc.FindSibling("content");
    item.content = doc.ElementText();
    doc.FindSibling("link");
    item.link = doc.StartTagValue("href=");
    doc.FindSibling("media:group");
    if (doc.EnterElement()) {
        doc.FindSibling("yt:duration");
        item.seconds = plat::ReadLeadingInteger(doc.StartTagValue("seconds="));
    }
    doc.LeaveElement();
    doc.LeaveElement();
    return item;
}

}  // namespace

FeedPage ReadFeedPage(std::string_view text, std::size_t maxItems) {
    FeedPage page;
    std::string converted;
    const std::string_view prepared = PrepareText(text, converted);
    if (static_cast<std::int64_t>(prepared.size()) <
        static_cast<std::int64_t>(text.size() / 2) - 20) {
        return page;
    }
    CXmlReader doc;
    doc.LoadText(prepared);
    if (!doc.FindSibling()) {
        return page;
    }
    doc.EnterElement();
    page.read = true;
    page.pageCount = CountEntryTags(doc.DocumentText());
    if (doc.FindSibling("openSearch:totalResults")) {
        page.totalResultCount = plat::ReadLeadingInteger(doc.ElementText());
    }
    if (doc.FindSibling("openSearch:startIndex")) {
        page.startIndex = plat::ReadLeadingInteger(doc.ElementText());
    }
    if (page.totalResultCount == 0) {
        page.startIndex = 0;
        page.pageCount = 0;
    }
    const std::size_t wanted = std::min(static_cast<std::size_t>(page.pageCount), maxItems);
    page.items.reserve(wanted);
    while (page.items.size() < wanted && doc.FindSibling("entry")) {
        page.items.push_back(ReadEntry(doc));
    }
    return page;
}

}  // namespace tunova
