// Which bytes of a media file a request gets, read from its Range header.
#pragma once

#include <cstdint>
#include <string_view>

namespace tunova::server {

struct ByteSpan {
    enum class Kind {
        Whole,          // no Range header, or several ranges (answered whole, as RFC 9110 allows)
        Partial,        // one satisfiable range: 206 with `offset` and `length`
        Unsatisfiable,  // a range beyond the file, or a header that does not read: 416
    };
    Kind kind = Kind::Whole;
    std::int64_t offset = 0;
    std::int64_t length = 0;
};

// The bytes of a file of `size` bytes to send for Range header `header` (`present` false when
// the request has none). A partial span always lies inside the file and is never empty.
ByteSpan ChooseByteSpan(bool present, std::string_view header, std::int64_t size);

}  // namespace tunova::server
