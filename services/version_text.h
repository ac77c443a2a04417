// Numbers read from version texts, bounded: no text can overflow them.
#pragma once

#include <string_view>

namespace tunova {

// `text` read as a decimal floating-point number (as atof, always with '.' as the decimal
// point) and truncated toward zero; out-of-range values saturate at the int range and
// not-a-number gives 0.
int ReadVersionNumber(std::string_view text);

}  // namespace tunova
