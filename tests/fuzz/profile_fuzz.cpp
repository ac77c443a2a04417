// Feeds arbitrary bytes to the profile reader as a whole file, then asks it for the keys the
// list files use and for names taken from the input itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/number_text.h"
#include "platform/core/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const plat::Profile profile(bytes);
    (void)profile.Int("SETTING", "count", 0);
    for (int i = 1; i <= 3; ++i) {
        const std::string section = "LIST" + std::to_string(i);
        const std::string name = profile.String(section, "name");
        if (name.size() > plat::Profile::kMaxValueBytes) {
            __builtin_trap();
        }
        (void)profile.Int(section, "time", 0);
        (void)profile.String(section, "url", "none");
    }
    // Names from the input: the first line's text as a section and as a key.
    const std::string_view head = bytes.substr(0, bytes.find_first_of("\r\n"));
    (void)profile.HasSection(head);
    (void)profile.String(head, head);
    (void)plat::ReadLeadingInteger(bytes);
    return 0;
}
