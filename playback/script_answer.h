// Reading the page's answers. Every script call answers a plat::ScriptValue; a call the page was
// not asked, or that failed on the way, answers the integer 0.
#pragma once

#include "platform/core/script_value.h"

namespace tunova {

using ScriptAnswer = plat::ScriptValue;

// The integer the answer carries: an integer, or a whole-number-in-range double; 0 otherwise
// (text, booleans, empty answers and numbers out of the 32-bit range read as 0).
int IntegerField(const ScriptAnswer& answer);

// The answer as a number (integer or double); any other type counts as 0.
double NumberOf(const ScriptAnswer& answer);

// Whole seconds of a time in seconds: the fraction dropped, negatives and not-a-number as 0,
// anything past the largest int as the largest int.
int WholeSeconds(double seconds);

}  // namespace tunova
