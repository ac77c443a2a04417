// One HTTP/1.x request as the server's handlers see it, and the response they fill in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tunova::server {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
    std::string method;     // "GET", "HEAD", ...
    std::string target;     // as sent: path and query, still percent-encoded
    std::string path;       // the target's path, percent-decoded
    std::string query;      // after '?', still percent-encoded; empty without one
    int minorVersion = 1;   // HTTP/1.0 or HTTP/1.1
    HttpHeaders headers;    // names as sent
    bool keepAlive = true;  // the client lets the connection stay open after the answer
    std::string remoteAddress;
    std::string localAddress;
    int localPort = 0;

    // The first value of header `name` (any case); empty when absent.
    std::string Header(std::string_view name) const;
    // Whether header `name` is present (any case).
    bool HasHeader(std::string_view name) const;
};

// The query parameters of `query` in order: split at '&' and '=', '+' read as a space and
// %XX escapes decoded (a broken escape is kept as it is).
std::vector<std::pair<std::string, std::string>> QueryParameters(std::string_view query);

// The value of one hexadecimal digit, or -1 when `c` is none.
int HexDigitValue(char c);

// Percent-decodes `text`; '+' is decoded as a space when `plusIsSpace`. Broken escapes stay.
std::string PercentDecoded(std::string_view text, bool plusIsSpace);

// A file's bytes as a response body, sent straight from the file.
struct FileBody {
    std::shared_ptr<int> descriptor;  // closed when the last holder lets go
    std::int64_t offset = 0;
    std::int64_t length = 0;
};

struct HttpResponse {
    int status = 200;
    HttpHeaders headers;  // besides Content-Length and Connection, which the server sets
    std::string body;     // used unless `file` is set
    std::unique_ptr<FileBody> file;

    // Sets the body and its Content-Type.
    void SetContent(std::string content, std::string_view contentType);
    void SetHeader(std::string_view name, std::string_view value);
    // The first value of header `name` (any case); empty when absent.
    std::string Header(std::string_view name) const;
    // Length of the body as sent.
    std::int64_t BodyLength() const {
        return file ? file->length : static_cast<std::int64_t>(body.size());
    }
};

// The reason phrase of `status` ("OK", "Not Found", ...).
std::string_view StatusText(int status);

}  // namespace tunova::server
