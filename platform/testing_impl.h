// Platform-internal: the interceptions tests install (platform/testing.h), read by the menu and
// message-box code.
#pragma once

#include <functional>

#include "platform/testing.h"

namespace plat::testing {

// The installed interceptors; empty when none is set.
const std::function<int(const TrackedMenu&)>& MenuInterceptor();
const std::function<int(const ShownMessageBox&)>& MessageBoxInterceptor();

}  // namespace plat::testing
