// Platform-internal: assistive technology's view of the platform's own windows. Qt asks a
// factory for the accessible interface of each widget; the one installed here answers for host
// widgets with their window's name, role, state, value and press action.
#pragma once

namespace plat {

// Installs the factory once per process; later calls do nothing.
void InstallAccessibleFactory();

}  // namespace plat
