// Numbers read from version texts, bounded: no text can overflow them.
#pragma once

#include <string_view>

namespace tunova {

// The leading decimal integer of `text` as the C library's atoi reads it (leading blanks
// skipped, an optional sign, digits up to the first non-digit; none gives 0), saturated at the
// int range instead of overflowing.
int ReadLeadingInteger(std::string_view text);

// `text` read as a decimal floating-point number (as atof, always with '.' as the decimal
// point) and truncated toward zero; out-of-range values saturate at the int range and
// not-a-number gives 0.
int ReadVersionNumber(std::string_view text);

}  // namespace tunova
