// The page the script bridge calls into: the hosted player page (CWebBrowser2) in the program,
// a scripted page in tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/script_value.h"

namespace tunova {

class ScriptPage {
  public:
    virtual ~ScriptPage() = default;
    // Calls the page's function `name` with string arguments (CP949) and waits for its answer,
    // within the page's time limit.
    virtual plat::ScriptCallResult CallFunction(std::string_view name,
                                                const std::vector<std::string>& args) = 0;
    // How often the page has finished loading. A page loaded again (after its renderer died)
    // has lost its video, its volume and its mute.
    virtual int PageLoads() const = 0;
};

}  // namespace tunova
