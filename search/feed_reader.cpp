#include "search/feed_reader.h"

#include <cstdint>
#include <limits>
#include <string>

#include "platform/codepage.h"
#include "search/cp949_scan.h"
#include "search/markup.h"

namespace tunova {
namespace {

// The document as the reader sees it: UTF-16 after a byte-order mark is converted, anything
// else ends at its first zero byte.
std::string PrepareText(std::string_view text) {
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
        return plat::Utf16ToCp949(wide, '?');
    }
    return std::string(text.substr(0, text.find('\0')));
}

int CountEntryTags(std::string_view document) {
    int count = 0;
    std::size_t at = cp949::FindText(document, 0, "<entry>");
    if (at == 0) {
        at = cp949::FindText(document, 1, "<entry>");  // the search starts at index 1
    }
    while (at != cp949::kNotFound) {
        ++count;
        at = cp949::FindText(document, at + 1, "<entry>");
    }
    return count;
}

VideoItem ReadEntry(CMarkup& doc) {
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
        item.seconds = ParseLeadingInt(doc.StartTagValue("seconds="));
    }
    doc.LeaveElement();
    doc.LeaveElement();
    return item;
}

}  // namespace

int ParseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<int>(value);
}

FeedPage ReadFeedPage(std::string_view text, std::size_t maxItems) {
    FeedPage page;
    const std::string prepared = PrepareText(text);
    if (static_cast<std::int64_t>(prepared.size()) <
        static_cast<std::int64_t>(text.size() / 2) - 20) {
        return page;
    }
    CMarkup doc;
    doc.LoadText(prepared);
    if (!doc.FindSibling()) {
        return page;
    }
    doc.EnterElement();
    page.read = true;
    page.pageCount = CountEntryTags(doc.DocumentText());
    if (doc.FindSibling("openSearch:totalResults")) {
        page.totalResultCount = ParseLeadingInt(doc.ElementText());
    }
    if (doc.FindSibling("openSearch:startIndex")) {
        page.startIndex = ParseLeadingInt(doc.ElementText());
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
