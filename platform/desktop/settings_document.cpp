// Reading and editing the settings store's text, keeping every line it does not change.
#include "platform/desktop/settings_document_impl.h"

namespace plat {
namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

SettingsDocument::Line SettingsDocument::Classify(std::string raw,
                                                  const std::string& currentSection) {
    Line line;
    std::string_view text = raw;
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        text.remove_prefix(kUtf8Mark.size());
    }
    const std::string_view trimmed = TrimBlanks(text);
    if (!trimmed.empty() && trimmed.front() == '[') {
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::kSection;
            line.section = std::string(TrimBlanks(trimmed.substr(1, close - 1)));
        }
    } else if (!currentSection.empty() && !trimmed.empty() && trimmed.front() != ';' &&
               trimmed.front() != '#') {
        const std::size_t equals = text.find('=');
        if (equals != std::string_view::npos) {
            const std::string_view name = TrimBlanks(text.substr(0, equals));
            if (!name.empty()) {
                line.kind = Kind::kValue;
                line.section = currentSection;
                line.name = std::string(name);
                line.value = std::string(text.substr(equals + 1));
            }
        }
    }
    line.raw = std::move(raw);
    return line;
}

SettingsDocument::SettingsDocument(std::string_view text) {
    endsWithNewline_ = text.empty() || text.back() == '\n';
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        Line line = Classify(std::string(raw), section);
        if (line.kind == Kind::kSection) {
            section = line.section;
        }
        lines_.push_back(std::move(line));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

bool SettingsDocument::HasSection(std::string_view keyPath) const {
    for (const Line& line : lines_) {
        if (line.kind == Kind::kSection && EqualsIgnoringAsciiCase(line.section, keyPath)) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> SettingsDocument::Find(std::string_view keyPath,
                                                  std::string_view name) const {
    for (const Line& line : lines_) {
        if (line.kind == Kind::kValue && EqualsIgnoringAsciiCase(line.section, keyPath) &&
            EqualsIgnoringAsciiCase(line.name, name)) {
            return line.value;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> SettingsDocument::LastLineOfSection(std::string_view keyPath) const {
    // The last value line of the first matching section, or its header when it has none.
    std::optional<std::size_t> last;
    bool inside = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::kSection) {
            if (last) {
                break;
            }
            inside = EqualsIgnoringAsciiCase(line.section, keyPath);
            if (inside) {
                last = i;
            }
        } else if (inside && line.kind == Kind::kValue) {
            last = i;
        }
    }
    return last;
}

bool SettingsDocument::AddSection(std::string_view keyPath) {
    if (HasSection(keyPath)) {
        return false;
    }
    if (!lines_.empty() && !endsWithNewline_) {
        endsWithNewline_ = true;  // the last line gets its LF before the new section
    }
    Line header;
    header.kind = Kind::kSection;
    header.section = std::string(keyPath);
    header.raw = "[" + header.section + "]";
    lines_.push_back(std::move(header));
    return true;
}

bool SettingsDocument::Set(std::string_view keyPath, std::string_view name,
                           std::string_view value) {
    for (Line& line : lines_) {
        if (line.kind == Kind::kValue && EqualsIgnoringAsciiCase(line.section, keyPath) &&
            EqualsIgnoringAsciiCase(line.name, name)) {
            if (line.value == value) {
                return false;
            }
            line.value = std::string(value);
            line.raw = line.name + "=" + line.value;
            return true;
        }
    }
    AddSection(keyPath);
    Line added;
    added.kind = Kind::kValue;
    added.section = std::string(keyPath);
    added.name = std::string(name);
    added.value = std::string(value);
    added.raw = added.name + "=" + added.value;
    const std::size_t at = *LastLineOfSection(keyPath) + 1;
    if (at == lines_.size() && !endsWithNewline_) {
        endsWithNewline_ = true;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
    return true;
}

bool SettingsDocument::Remove(std::string_view keyPath, std::string_view name) {
    const std::size_t before = lines_.size();
    std::erase_if(lines_, [&](const Line& line) {
        return line.kind == Kind::kValue && EqualsIgnoringAsciiCase(line.section, keyPath) &&
               EqualsIgnoringAsciiCase(line.name, name);
    });
    return lines_.size() != before;
}

std::string SettingsDocument::Text() const {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i].raw;
        if (i + 1 < lines_.size() || endsWithNewline_) {
            text += '\n';
        }
    }
    return text;
}

}  // namespace plat
