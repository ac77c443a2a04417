// Platform-internal: the settings store's file as an editable list of lines. Sections are key
// paths ("[SOFTWARE\tunova]"), values are "name=value" lines inside them; every other line
// (comments, blank lines, text before the first section, lines without '=') is kept exactly as
// it was. Lines end at LF; a CR before the LF is kept with the line. Names and key paths are
// compared without regard to ASCII case. A key path written in several sections is one key:
// reads take the first matching value, writes replace it, deletes remove every match.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

class SettingsDocument {
  public:
    explicit SettingsDocument(std::string_view text);

    bool HasSection(std::string_view keyPath) const;
    std::optional<std::string> Find(std::string_view keyPath, std::string_view name) const;

    // Each returns true when the text changed.
    bool AddSection(std::string_view keyPath);
    bool Set(std::string_view keyPath, std::string_view name, std::string_view value);
    bool Remove(std::string_view keyPath, std::string_view name);

    std::string Text() const;

  private:
    enum class Kind { kOther, kSection, kValue };
    struct Line {
        std::string raw;  // the line as read or written, without its LF
        Kind kind = Kind::kOther;
        std::string section;  // kSection: the key path; kValue: the enclosing section's path
        std::string name;     // kValue: the value's name
        std::string value;    // kValue: the text after the first '='
    };
    static Line Classify(std::string raw, const std::string& currentSection);
    std::optional<std::size_t> LastLineOfSection(std::string_view keyPath) const;

    std::vector<Line> lines_;
    bool endsWithNewline_ = true;
};

}  // namespace plat
