// Platform-internal: the user's private runtime folder, where locks, published windows and the
// per-process command sockets live.
#pragma once

#include <string>

namespace plat {

// $XDG_RUNTIME_DIR when it is a folder of ours, else /tmp/tunova-<uid> (created 0700 and
// refused when it is a link or belongs to someone else). Empty when neither is usable.
std::string RuntimeDir();

// Keeps letters, digits, '-', '_' and '.' of `name` and turns everything else into '_', so a
// name can never leave its folder.
std::string SafeFileName(const std::string& name);

}  // namespace plat
