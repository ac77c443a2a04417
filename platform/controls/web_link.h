// Opening web pages in the user's default browser, in place of the shell's "open" of a browser
// program with an address.
//
// Mapping on Linux: the desktop's URL handler (QDesktopServices, which asks the desktop portal
// or runs xdg-open); the browser is whatever the user chose, never a fixed program.
#pragma once

#include <functional>
#include <string>

namespace plat {

// Opens the http or https address `url` (ASCII) in the default browser. Returns false when
// the address is not http(s) or no handler accepted it. Never blocks on the browser.
bool OpenInBrowser(const std::string& url);

namespace testing {
// While set, OpenInBrowser hands the address to `opener` (its result is the result) instead
// of starting a browser. Null restores the real opener.
void InterceptBrowser(std::function<bool(const std::string&)> opener);
}  // namespace testing

}  // namespace plat
