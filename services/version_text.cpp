// Bounded conversions of version texts.
#include "services/version_text.h"

#include <locale.h>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tunova {

int ReadLeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;  // saturated; more digits change nothing
        }
    }
    if (negative) {
        return static_cast<int>(-value);  // -(INT_MAX + 1) is INT_MIN
    }
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

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
