// Feeds arbitrary bytes to the request handling the server does itself, past the HTTP engine:
// the feed query, query parameters and percent-decoding, the Range header against a file size,
// and media ids from paths. The input is split at newlines: query, Range header, file size,
// media path.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "server/byte_ranges.h"
#include "server/feed_query.h"
#include "server/http_message.h"
#include "server/media_file.h"

using namespace tunova::server;

namespace {

// The next newline-separated part of `rest`, taken off it.
std::string_view NextPart(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    const std::string_view part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return part;
}

bool IsIdChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view query = NextPart(rest);
    const std::string_view range = NextPart(rest);
    const std::string_view sizeText = NextPart(rest);
    const std::string_view mediaPath = NextPart(rest);

    const FeedQueryParse feed = ParseFeedQuery(query);
    if (feed) {
        const FeedQuery& q = feed.query;
        if (q.maxResults < 1 || q.maxResults > kMaxResultsLimit || q.startIndex < 1 ||
            q.startIndex > kStartIndexLimit || q.word.size() > kWordByteLimit) {
            __builtin_trap();
        }
        (void)TimeWindowSeconds(q.time);
    }
    for (const auto& [name, value] : QueryParameters(query)) {
        // Decoding only shortens: an escape of three bytes gives one.
        if (name.size() + value.size() > query.size()) {
            __builtin_trap();
        }
    }
    if (PercentDecoded(query, true).size() > query.size() ||
        PercentDecoded(query, false).size() > query.size()) {
        __builtin_trap();
    }

    // A file size of up to 12 decimal digits from the third part (digits read as themselves,
    // other bytes as some digit); an empty part is an empty file.
    std::int64_t fileSize = 0;
    for (const char c : sizeText.substr(0, 12)) {
        fileSize = fileSize * 10 + (static_cast<unsigned char>(c) + 2) % 10;
    }
    const ByteSpan span = ChooseByteSpan(!range.empty(), range, fileSize);
    if (span.kind == ByteSpan::Kind::Partial &&
        (span.offset < 0 || span.length < 1 || span.offset + span.length > fileSize)) {
        __builtin_trap();
    }
    if (span.kind == ByteSpan::Kind::Whole && (span.offset != 0 || span.length != fileSize)) {
        __builtin_trap();
    }

    const auto id = MediaIdFromPath(PercentDecoded(mediaPath, false));
    if (id) {
        if (id->empty() || id->size() > kVideoIdLimit) {
            __builtin_trap();
        }
        for (const char c : *id) {
            if (!IsIdChar(c)) {
                __builtin_trap();
            }
        }
    }
    (void)MediaContentType(mediaPath);

    return 0;
}
