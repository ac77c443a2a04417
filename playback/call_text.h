// The call texts through which the player talks to its page: "loadNewVideo('abc', 1)",
// "getVolume()", optionally preceded by anything up to and including "javascript:".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tunova {

struct ParsedCall {
    std::string name;               // blanks around it removed; empty when there is no "("
    std::vector<std::string> args;  // in order; never empty strings
};

// Splits a call text into the function name and its arguments. The arguments are the tokens of
// the text after the first "(" (the whole text when there is none) split at space, comma,
// single and double quote, tab, both parentheses and semicolon.
ParsedCall ParseCallText(std::string_view callText);

}  // namespace tunova
