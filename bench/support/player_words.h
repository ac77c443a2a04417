// Search words as the player writes them into a feed address, for requests made by hand.
#pragma once

#include <string>

namespace tunova::support {

// UTF-8 text in the percent form the player sends: every byte from 0x80 up as %XX, a space as
// '/', the rest as it is.
std::string PlayerEncoded(const std::string& utf8);

}  // namespace tunova::support
