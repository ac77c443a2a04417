// Finds and loads the web engine module (see web_page_host.h).
#include <dlfcn.h>

#include <string>
#include <string_view>

#include "platform/controls/web_page_host.h"
#include "platform/core/data_dir.h"
#include "platform/core/log.h"

namespace plat {
namespace {

MakeWebPageHostFunction LoadFromPlaces() {
    const std::string programDir = ExecutableDir();
    std::string_view places = TUNOVA_WEB_ENGINE_MODULE_DIRS;
    std::string tried;
    while (!places.empty()) {
        const std::size_t colon = places.find(':');
        const std::string_view place = places.substr(0, colon);
        places = colon == std::string_view::npos ? std::string_view() : places.substr(colon + 1);
        const std::string path = programDir + '/' + std::string(place) + '/' + kWebEngineModuleName;
        // Its libraries are bound now, so a missing one is told here and not at a first call.
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            const char* why = ::dlerror();
            tried += "\n  " + (why != nullptr ? std::string(why) : path);
            continue;
        }
        void* entry = ::dlsym(module, kMakeWebPageHostSymbol);
        if (entry == nullptr) {
            tried += "\n  " + path + ": no " + kMakeWebPageHostSymbol;
            continue;
        }
        return reinterpret_cast<MakeWebPageHostFunction>(entry);
    }
    LogError("browser", "the web engine module could not be loaded; no page can be shown:" + tried);
    return nullptr;
}

}  // namespace

MakeWebPageHostFunction LoadWebEngineModule() {
    static const MakeWebPageHostFunction entry = LoadFromPlaces();
    return entry;
}

}  // namespace plat
