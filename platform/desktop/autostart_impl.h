// Platform-internal: the Run key's values as autostart files (see platform/desktop/autostart.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop/settings_store.h"

namespace plat {

// True for the key path of the Run key, compared without regard to ASCII case.
bool IsAutostartKey(std::string_view keyPath);
// The autostart folder beside the store's own folder: CONFIG/tunova/registry.ini gives
// CONFIG/autostart.
std::string AutostartFolderFor(const std::string& storePath);

std::optional<std::string> ReadAutostartEntry(const std::string& folder, std::string_view name);
StoreResult WriteAutostartEntry(const std::string& folder, std::string_view name,
                                std::string_view value);
StoreResult DeleteAutostartEntry(const std::string& folder, std::string_view name);

}  // namespace plat
