#include "server/byte_ranges.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace tunova::server {

namespace {

// One byte range of a Range header: first and last byte, or a suffix length when `suffix`.
struct ByteRange {
    std::int64_t first = 0;
    std::int64_t last = -1;  // -1: to the end
    bool suffix = false;
};

std::optional<std::int64_t> ReadOffset(std::string_view text) {
    if (text.empty() || text.size() > 18 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// The ranges of a "bytes=" Range header; empty optional when it does not read.
std::optional<std::vector<ByteRange>> ParseRanges(std::string_view header) {
    if (header.substr(0, 6) != "bytes=") {
        return std::nullopt;
    }
    std::vector<ByteRange> ranges;
    std::string_view rest = header.substr(6);
    while (true) {
        const std::size_t comma = rest.find(',');
        std::string_view part = rest.substr(0, comma);
        while (!part.empty() && part.front() == ' ') {
            part.remove_prefix(1);
        }
        const std::size_t dash = part.find('-');
        if (dash == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view from = part.substr(0, dash);
        const std::string_view to = part.substr(dash + 1);
        ByteRange range;
        if (from.empty()) {
            const auto length = ReadOffset(to);
            if (!length) {
                return std::nullopt;
            }
            range.suffix = true;
            range.last = *length;
        } else {
            const auto first = ReadOffset(from);
            const auto last = to.empty() ? std::optional<std::int64_t>(-1) : ReadOffset(to);
            if (!first || !last || (*last >= 0 && *last < *first)) {
                return std::nullopt;
            }
            range.first = *first;
            range.last = *last;
        }
        ranges.push_back(range);
        if (comma == std::string_view::npos) {
            return ranges;
        }
        rest.remove_prefix(comma + 1);
    }
}

}  // namespace

ByteSpan ChooseByteSpan(bool present, std::string_view header, std::int64_t size) {
    ByteSpan span{ByteSpan::Kind::Whole, 0, size};
    if (!present) {
        return span;
    }
    const auto ranges = ParseRanges(header);
    const bool one = ranges && ranges->size() == 1;
    const ByteRange range = one ? ranges->front() : ByteRange();
    const bool satisfiable =
        one && (range.suffix ? range.last > 0 && size > 0 : range.first < size);
    if (!ranges || (one && !satisfiable)) {
        span.kind = ByteSpan::Kind::Unsatisfiable;
        return span;
    }
    if (!one) {
        return span;
    }
    span.kind = ByteSpan::Kind::Partial;
    if (range.suffix) {
        span.length = std::min(range.last, size);
        span.offset = size - span.length;
    } else {
        span.offset = range.first;
        const std::int64_t last = range.last < 0 ? size - 1 : std::min(range.last, size - 1);
        span.length = last - span.offset + 1;
    }
    return span;
}

}  // namespace tunova::server
