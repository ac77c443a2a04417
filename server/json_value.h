// A small JSON reader for the documents the server reads from disk or from ffprobe: a value tree
// built with bounds (nesting depth, document size), so hostile input is refused, never followed.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tunova::server {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;                                        // String: UTF-8, escapes decoded
    std::vector<JsonValue> items;                            // Array
    std::vector<std::pair<std::string, JsonValue>> members;  // Object, in document order

    // The member `key` of an object (the first of that name), or null when absent or not an
    // object.
    const JsonValue* Find(std::string_view key) const;
    // The member `key` as text when it is a non-empty string, else empty.
    std::string Text(std::string_view key) const;
};

struct JsonLimits {
    int maxDepth = 64;
    std::size_t maxBytes = 16 * 1024 * 1024;
};

struct JsonParse {
    JsonValue value;
    std::string error;  // empty on success
    explicit operator bool() const { return error.empty(); }
};

// Parses one JSON document (RFC 8259). Fails, with the byte offset in `error`, on a syntax
// error, trailing text, nesting past `maxDepth`, text longer than `maxBytes`, or strings that
// are not well-formed UTF-8 (lone surrogate escapes included).
JsonParse ParseJson(std::string_view text, const JsonLimits& limits = {});

}  // namespace tunova::server
