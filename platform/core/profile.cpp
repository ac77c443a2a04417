// Profile (INI) reading: one pass over the text builds the sections and their keys; lookups then
// search a sorted index of section names.
#include "platform/core/profile.h"

#include <algorithm>
#include <utility>

#include "platform/core/codepage.h"
#include "platform/core/files.h"
#include "platform/core/number_text.h"

namespace plat {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string LowerAscii(std::string_view s) {
    std::string lower(s);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// What a lookup returns for the raw text after '=': trimmed, one pair of surrounding quotes
// dropped, ended at a zero byte, cut to the value limit.
std::string CleanValue(std::string_view raw) {
    std::string_view value = Trim(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (const std::size_t zero = value.find('\0'); zero != std::string_view::npos) {
        value = value.substr(0, zero);
    }
    return std::string(CutCp949(value, Profile::kMaxValueBytes));
}

// The file's text in CP949, whatever byte-order mark it opens with.
std::string ToCp949(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeMark)) {
        bytes.remove_prefix(kUtf16LeMark.size());
        std::u16string wide(bytes.size() / 2, u'\0');
        for (std::size_t i = 0; i < wide.size(); ++i) {
            wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                            (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
        }
        return Utf16ToCp949(wide);
    }
    if (bytes.starts_with(kUtf8Mark)) {
        return Utf8ToCp949(bytes.substr(kUtf8Mark.size()));
    }
    return std::string(bytes);
}

}  // namespace

Profile::Profile(std::string_view bytes)
    : text_(ToCp949(bytes)), exists_(true), byteSize_(bytes.size()) {
    Parse();
}

Profile Profile::FromFile(const std::string& path, std::string* bytes) {
    std::string content;
    if (!ReadFile(path, content)) {
        if (bytes != nullptr) {
            bytes->clear();
        }
        return Profile();
    }
    Profile profile(content);
    if (bytes != nullptr) {
        *bytes = std::move(content);
    }
    return profile;
}

void Profile::Parse() {
    const std::string_view text = text_;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        const std::string_view line = Trim(text.substr(pos, end - pos));
        // CR LF, LF or CR ends the line.
        pos = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            if (const std::size_t close = line.rfind(']'); close != std::string_view::npos) {
                sections_.push_back(
                    {LowerAscii(Trim(line.substr(1, close - 1))), entries_.size(), 0});
                current = &sections_.back();
                continue;
            }
        }
        if (current == nullptr) {
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string_view key =
            equals == std::string_view::npos ? line : line.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
        entries_.push_back(
            {LowerAscii(Trim(key)),
             value.empty() ? 0 : static_cast<std::size_t>(value.data() - text.data()),
             value.size()});
        ++current->entryCount;
    }

    firstByName_.resize(sections_.size());
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        firstByName_[i] = i;
    }
    // Sorted by name, ties in file order, so the first of each name comes first.
    std::stable_sort(
        firstByName_.begin(), firstByName_.end(),
        [this](std::size_t a, std::size_t b) { return sections_[a].name < sections_[b].name; });
    firstByName_.erase(std::unique(firstByName_.begin(), firstByName_.end(),
                                   [this](std::size_t a, std::size_t b) {
                                       return sections_[a].name == sections_[b].name;
                                   }),
                       firstByName_.end());
}

const Profile::Section* Profile::FindSection(std::string_view section) const {
    const std::string name = LowerAscii(Trim(section));
    const auto it = std::lower_bound(firstByName_.begin(), firstByName_.end(), name,
                                     [this](std::size_t index, const std::string& wanted) {
                                         return sections_[index].name < wanted;
                                     });
    if (it == firstByName_.end() || sections_[*it].name != name) {
        return nullptr;
    }
    return &sections_[*it];
}

const Profile::Entry* Profile::FindEntry(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return nullptr;
    }
    const std::string name = LowerAscii(Trim(key));
    for (std::size_t i = found->firstEntry; i < found->firstEntry + found->entryCount; ++i) {
        if (entries_[i].key == name) {
            return &entries_[i];
        }
    }
    return nullptr;
}

std::string Profile::String(std::string_view section, std::string_view key,
                            std::string_view fallback) const {
    const Entry* entry = FindEntry(section, key);
    if (entry == nullptr) {
        return std::string(fallback);
    }
    return CleanValue(std::string_view(text_).substr(entry->valueBegin, entry->valueLength));
}

int Profile::Int(std::string_view section, std::string_view key, int fallback) const {
    const Entry* entry = FindEntry(section, key);
    if (entry == nullptr) {
        return fallback;
    }
    return ReadLeadingInteger(
        CleanValue(std::string_view(text_).substr(entry->valueBegin, entry->valueLength)));
}

bool Profile::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

}  // namespace plat
