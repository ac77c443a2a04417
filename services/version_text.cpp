// Bounded conversions of version texts.
#include "services/version_text.h"

#include <locale.h>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tunova {

int ReadVersionNumber(std::string_view text) {
    // The user's locale may use ',' as its decimal point; the stored text always uses '.'.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string terminated(text);
    const double value = cLocale != static_cast<locale_t>(nullptr)
                             ? ::strtod_l(terminated.c_str(), nullptr, cLocale)
                             : std::strtod(terminated.c_str(), nullptr);
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(value);  // truncates toward zero
}

}  // namespace tunova
