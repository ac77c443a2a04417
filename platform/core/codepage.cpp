// Code-page conversions on iconv. Each thread keeps its own conversion descriptors (iconv_t is not
// safe to share between threads), opened at its first conversion of each kind and reset before
// every use; a failed step substitutes and goes on, so no conversion fails.
#include "platform/core/codepage.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace plat {
namespace {

static_assert(std::endian::native == std::endian::little, "char16_t text is read as UTF-16LE");

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view s) {
    if (s.empty()) {
        return 0;
    }
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t len = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b0 < 0x80) {
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        if (b0 == 0xE0) {
            lo = 0xA0;
        } else if (b0 == 0xED) {
            hi = 0x9F;  // no surrogates
        }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        if (b0 == 0xF0) {
            lo = 0x90;
        } else if (b0 == 0xF4) {
            hi = 0x8F;
        }
    } else {
        return 0;
    }
    if (s.size() < len) {
        return 0;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < lo || b > hi) {
            return 0;
        }
        lo = 0x80;
        hi = 0xBF;
    }
    return len;
}

bool IsCp949TrailByte(unsigned char b) {
    return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A) || (b >= 0x81 && b <= 0xFE);
}

// What to do with input iconv refused at `rest`: how many bytes to drop and what to write.
struct Substitution {
    std::size_t skip = 1;
    std::string_view replacement;
};
using SubstitutionRule = std::function<Substitution(std::string_view rest)>;

class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

// This thread's descriptor for converting `from` to `to` (both string literals), reset to its
// initial state. Opening one costs more than converting a title, and the list views convert
// every cell they are given.
iconv_t Descriptor(const char* to, const char* from) {
    struct Cached {
        const char* to;
        const char* from;
        std::unique_ptr<IconvHandle> handle;
    };
    thread_local std::vector<Cached> cache;
    for (const Cached& c : cache) {
        if (std::strcmp(c.to, to) == 0 && std::strcmp(c.from, from) == 0) {
            iconv(c.handle->get(), nullptr, nullptr, nullptr, nullptr);
            return c.handle->get();
        }
    }
    auto handle = std::make_unique<IconvHandle>(to, from);
    const iconv_t cd = handle->get();
    if (handle->ok()) {
        cache.push_back({to, from, std::move(handle)});
    }
    return cd;
}

// Converts `input` from one encoding to the other, asking `substitute` at every byte iconv
// refuses (invalid, unconvertible, or truncated at the end) and continuing after it.
std::string Convert(const char* to, const char* from, std::string_view input,
                    const SubstitutionRule& substitute) {
    std::string out;
    const iconv_t cd = Descriptor(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // The system lacks the code page: keep ASCII, substitute the rest byte by byte.
        for (std::size_t i = 0; i < input.size();) {
            const Substitution sub = substitute(input.substr(i));
            out.append(sub.replacement);
            i += sub.skip == 0 ? 1 : sub.skip;
        }
        return out;
    }
    out.reserve(input.size() + input.size() / 2 + 16);
    char chunk[4096];
    std::size_t pos = 0;
    while (pos < input.size()) {
        char* inPtr = const_cast<char*>(input.data() + pos);
        std::size_t inLeft = input.size() - pos;
        char* outPtr = chunk;
        std::size_t outLeft = sizeof(chunk);
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        out.append(chunk, static_cast<std::size_t>(outPtr - chunk));
        pos = input.size() - inLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (err == E2BIG) {
            continue;  // chunk full: flush and go on
        }
        // EILSEQ or EINVAL (or anything else): substitute and resume after the bad input.
        const Substitution sub = substitute(input.substr(pos));
        out.append(sub.replacement);
        pos += sub.skip == 0 ? 1 : sub.skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);  // reset shift state
    }
    // Flush any final shift sequence.
    char* outPtr = chunk;
    std::size_t outLeft = sizeof(chunk);
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(chunk, static_cast<std::size_t>(outPtr - chunk));
    return out;
}

std::string_view AsBytes(std::u16string_view s) {
    return {reinterpret_cast<const char*>(s.data()), s.size() * sizeof(char16_t)};
}

std::u16string ToU16(const std::string& bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * sizeof(char16_t));
    return out;
}

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
constexpr char16_t kReplacementUnit = 0xFFFD;

// An invalid CP949 pair is dropped whole only when its second byte could not be a character
// of its own; an ASCII byte after a stray lead byte survives (it may be a tag character).
std::size_t InvalidCp949Skip(std::string_view rest) {
    if (rest.size() >= 2 && IsLeadByte(static_cast<unsigned char>(rest[0])) &&
        IsCp949TrailByte(static_cast<unsigned char>(rest[1])) &&
        static_cast<unsigned char>(rest[1]) >= 0x80) {
        return 2;
    }
    return 1;
}

}  // namespace

std::string Utf8ToCp949(std::string_view utf8, char defaultChar) {
    const std::string def(1, defaultChar);
    return Convert("CP949", "UTF-8", utf8, [&def](std::string_view rest) {
        // A well-formed character CP949 cannot show is replaced whole; a bad byte one by one.
        const std::size_t len = Utf8SequenceLength(rest);
        return Substitution{len == 0 ? 1 : len, def};
    });
}

std::string Cp949ToUtf8(std::string_view cp949) {
    return Convert("UTF-8", "CP949", cp949, [](std::string_view rest) {
        return Substitution{InvalidCp949Skip(rest), kReplacementUtf8};
    });
}

std::u16string Cp949ToUtf16(std::string_view cp949) {
    static const char16_t unit = kReplacementUnit;
    const std::string_view replacement(reinterpret_cast<const char*>(&unit), sizeof(unit));
    return ToU16(Convert("UTF-16LE", "CP949", cp949, [replacement](std::string_view rest) {
        return Substitution{InvalidCp949Skip(rest), replacement};
    }));
}

std::string Utf16ToCp949(std::u16string_view utf16, char defaultChar) {
    const std::string def(1, defaultChar);
    return Convert("CP949", "UTF-16LE", AsBytes(utf16), [&def](std::string_view rest) {
        // Whole code units: a surrogate pair counts as one character.
        std::size_t skip = 2;
        if (rest.size() >= 4) {
            const auto hi = static_cast<char16_t>(static_cast<unsigned char>(rest[0]) |
                                                  (static_cast<unsigned char>(rest[1]) << 8));
            const auto lo = static_cast<char16_t>(static_cast<unsigned char>(rest[2]) |
                                                  (static_cast<unsigned char>(rest[3]) << 8));
            if (hi >= 0xD800 && hi <= 0xDBFF && lo >= 0xDC00 && lo <= 0xDFFF) {
                skip = 4;
            }
        }
        if (rest.size() < skip) {
            skip = rest.size();
        }
        return Substitution{skip, def};
    });
}

std::string LowerCp949(std::string_view cp949) {
    std::string out(cp949);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(b) && i + 1 < out.size()) {
            ++i;  // both bytes of a double-byte character stay
        } else if (b >= 'A' && b <= 'Z') {
            out[i] = static_cast<char>(b - 'A' + 'a');
        }
    }
    return out;
}

std::string_view CutCp949(std::string_view cp949, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < cp949.size()) {
        const std::size_t step =
            IsLeadByte(static_cast<unsigned char>(cp949[end])) && end + 1 < cp949.size() ? 2 : 1;
        if (end + step > maxBytes) {
            break;
        }
        end += step;
    }
    return cp949.substr(0, end);
}

}  // namespace plat
