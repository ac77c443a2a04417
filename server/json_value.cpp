#include "server/json_value.h"

#include <cstdlib>

#include "server/utf8_text.h"

namespace tunova::server {

namespace {

class JsonParser {
  public:
    JsonParser(std::string_view text, const JsonLimits& limits) : text_(text), limits_(limits) {}

    bool Document(JsonValue& value) {
        SkipSpace();
        if (!Value(value, 0)) {
            return false;
        }
        SkipSpace();
        return pos_ == text_.size() || Fail("text after the document");
    }

    std::string error;

  private:
    bool Fail(const char* what) {
        if (error.empty()) {
            error = std::string(what) + " at byte " + std::to_string(pos_);
        }
        return false;
    }

    void SkipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r')) {
            ++pos_;
        }
    }

    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) {
            return Fail("unknown literal");
        }
        pos_ += word.size();
        return true;
    }

    bool Value(JsonValue& value, int depth) {
        if (pos_ >= text_.size()) {
            return Fail("unexpected end");
        }
        switch (text_[pos_]) {
            case '{':
                return Object(value, depth + 1);
            case '[':
                return Array(value, depth + 1);
            case '"':
                value.kind = JsonValue::Kind::String;
                return String(value.text);
            case 't':
                value.kind = JsonValue::Kind::Bool;
                value.boolean = true;
                return Literal("true");
            case 'f':
                value.kind = JsonValue::Kind::Bool;
                return Literal("false");
            case 'n':
                return Literal("null");
            default:
                return Number(value);
        }
    }

    bool Object(JsonValue& value, int depth) {
        if (depth > limits_.maxDepth) {
            return Fail("nested too deeply");
        }
        value.kind = JsonValue::Kind::Object;
        ++pos_;
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == '}') {
            ++pos_;
            return true;
        }
        while (true) {
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_] != '"') {
                return Fail("expected a member name");
            }
            value.members.emplace_back();
            if (!String(value.members.back().first)) {
                return false;
            }
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_] != ':') {
                return Fail("expected ':'");
            }
            ++pos_;
            SkipSpace();
            if (!Value(value.members.back().second, depth)) {
                return false;
            }
            SkipSpace();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == '}') {
                ++pos_;
                return true;
            }
            return Fail("expected ',' or '}'");
        }
    }

    bool Array(JsonValue& value, int depth) {
        if (depth > limits_.maxDepth) {
            return Fail("nested too deeply");
        }
        value.kind = JsonValue::Kind::Array;
        ++pos_;
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == ']') {
            ++pos_;
            return true;
        }
        while (true) {
            SkipSpace();
            value.items.emplace_back();
            if (!Value(value.items.back(), depth)) {
                return false;
            }
            SkipSpace();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == ']') {
                ++pos_;
                return true;
            }
            return Fail("expected ',' or ']'");
        }
    }

    bool Hex4(char32_t& unit) {
        if (pos_ + 4 > text_.size()) {
            return Fail("short \\u escape");
        }
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[pos_++];
            unit <<= 4;
            if (c >= '0' && c <= '9') {
                unit |= static_cast<char32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                unit |= static_cast<char32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                unit |= static_cast<char32_t>(c - 'A' + 10);
            } else {
                return Fail("bad \\u escape");
            }
        }
        return true;
    }

    bool String(std::string& out) {
        ++pos_;
        const std::size_t start = pos_;
        while (true) {
            if (pos_ >= text_.size()) {
                return Fail("unterminated string");
            }
            const char c = text_[pos_];
            if (c == '"') {
                ++pos_;
                break;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return Fail("control character in a string");
            }
            if (c != '\\') {
                out.push_back(c);
                ++pos_;
                continue;
            }
            if (++pos_ >= text_.size()) {
                return Fail("unterminated string");
            }
            const char escaped = text_[pos_++];
            switch (escaped) {
                case '"':
                case '\\':
                case '/':
                    out.push_back(escaped);
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'u': {
                    char32_t unit = 0;
                    if (!Hex4(unit)) {
                        return false;
                    }
                    if (unit >= 0xD800 && unit <= 0xDBFF) {
                        char32_t low = 0;
                        if (text_.substr(pos_, 2) != "\\u" || (pos_ += 2, !Hex4(low)) ||
                            low < 0xDC00 || low > 0xDFFF) {
                            return Fail("lone surrogate");
                        }
                        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                        return Fail("lone surrogate");
                    }
                    AppendUtf8(out, unit);
                    break;
                }
                default:
                    return Fail("bad escape");
            }
        }
        if (!IsValidUtf8(out)) {
            pos_ = start;
            return Fail("string is not UTF-8");
        }
        return true;
    }

    bool Number(JsonValue& value) {
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') {
            ++pos_;
        }
        const auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
                ++pos_;
            }
            return pos_ > from;
        };
        if (!digits()) {
            return Fail("unexpected character");
        }
        if (pos_ < text_.size() && text_[pos_] == '.' && (++pos_, !digits())) {
            return Fail("bad number");
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
                ++pos_;
            }
            if (!digits()) {
                return Fail("bad number");
            }
        }
        value.kind = JsonValue::Kind::Number;
        const std::string copy(text_.substr(start, pos_ - start));
        value.number = std::strtod(copy.c_str(), nullptr);
        return true;
    }

    std::string_view text_;
    JsonLimits limits_;
    std::size_t pos_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Find(std::string_view key) const {
    for (const auto& member : members) {
        if (member.first == key) {
            return &member.second;
        }
    }
    return nullptr;
}

std::string JsonValue::Text(std::string_view key) const {
    const JsonValue* value = Find(key);
    return value != nullptr && value->kind == Kind::String ? value->text : std::string();
}

JsonParse ParseJson(std::string_view text, const JsonLimits& limits) {
    JsonParse result;
    if (text.size() > limits.maxBytes) {
        result.error = "larger than " + std::to_string(limits.maxBytes) + " bytes";
        return result;
    }
    JsonParser parser(text, limits);
    if (!parser.Document(result.value)) {
        result.error = parser.error;
        result.value = {};
    }
    return result;
}

}  // namespace tunova::server
