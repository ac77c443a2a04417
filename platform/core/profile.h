// Reading of profile (INI) files with the semantics of the classic private-profile calls, which
// the list files were written for. A file is parsed once; every lookup after that is an index
// search, never another pass over the text.
//
// - Lines end at CR LF, LF or CR. A line whose first non-blank character is '[' and that holds a
//   ']' names a section (the text between '[' and the last ']', trimmed). Any other line is a key:
//   it splits at its first '=' (a value may hold '='); a line without '=' is a key with an empty
//   value. Lines before the first section belong to no section anyone can ask for.
// - Section and key names are trimmed of blanks and compared without regard to ASCII case. The
//   first section of a name is the only one searched, and its first key of a name wins.
// - Values are trimmed of blanks; then one pair of matching surrounding quotes (" or ') is
//   dropped, as the classic call does, so a title written as "abc" with its quotes reads as abc.
//   A value ends at a zero byte and is cut to 999 bytes, never inside a two-byte character.
// - The text is CP949. A file opening with the UTF-16 LE byte-order mark (FF FE) is UTF-16 LE and
//   one opening with the UTF-8 mark (EF BB BF) is UTF-8; both are converted to CP949 first
//   ('?' for what CP949 cannot show).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Profile {
  public:
    // Longest value a lookup returns, in bytes (the classic 1000-byte buffer less its zero).
    static constexpr std::size_t kMaxValueBytes = 999;

    // An empty profile: every lookup gives its default.
    Profile() = default;
    // Parses `bytes`, the whole content of a profile file.
    explicit Profile(std::string_view bytes);
    // Reads and parses the file at `path`; a missing or unreadable file gives an empty profile
    // (Exists() tells them apart from an empty file). `bytes`, when given, receives the file's
    // content as it lies on disk (empty when it could not be read).
    static Profile FromFile(const std::string& path, std::string* bytes = nullptr);

    // True when FromFile found and read the file (true for every parsed text).
    bool Exists() const { return exists_; }
    // Size in bytes of the text parsed (of the file as it lies on disk).
    std::size_t ByteSize() const { return byteSize_; }

    // The value of `key` in `section`, or `fallback` when the section or the key is missing.
    std::string String(std::string_view section, std::string_view key,
                       std::string_view fallback = {}) const;
    // The value read like atoi (blanks, a sign, then digits; 0 when there are none; saturates at
    // the 32-bit limits), or `fallback` when the section or the key is missing.
    int Int(std::string_view section, std::string_view key, int fallback) const;
    bool HasSection(std::string_view section) const;

  private:
    // Values stay in text_ as they were written; a lookup cleans the one it returns.
    struct Entry {
        std::string key;  // lower-cased
        std::size_t valueBegin = 0;
        std::size_t valueLength = 0;
    };
    // A section's entries are entries_[firstEntry, firstEntry + entryCount).
    struct Section {
        std::string name;  // lower-cased
        std::size_t firstEntry = 0;
        std::size_t entryCount = 0;
    };

    void Parse();
    const Section* FindSection(std::string_view section) const;
    const Entry* FindEntry(std::string_view section, std::string_view key) const;

    std::string text_;  // the whole text in CP949
    std::vector<Entry> entries_;
    std::vector<Section> sections_;
    // Indices into sections_ of the first section of each name, sorted by name for lookup.
    std::vector<std::size_t> firstByName_;
    bool exists_ = false;
    std::size_t byteSize_ = 0;
};

}  // namespace plat
