// Whole numbers read from stored and received texts, bounded so no text can overflow them.
#pragma once

#include <string_view>

namespace plat {

// The leading decimal integer of `text` as the C library's atoi reads it: white space skipped,
// an optional sign, digits up to the first non-digit; none gives 0. Values beyond the int range
// saturate at its ends instead of overflowing.
int ReadLeadingInteger(std::string_view text);

}  // namespace plat
