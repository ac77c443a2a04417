// Platform-internal: assistive technology's view of the platform's own windows. Qt asks a
// factory for the accessible interface of each widget; the one installed here answers for host
// widgets with their window's name, role, state, value and press action.
#pragma once

namespace plat {

class HostWidget;

// Installs the factory once per process; later calls do nothing.
void InstallAccessibleFactory();

// The factory answers only for host widgets alive now: it is asked about every object that takes
// focus, web-engine items among them, and must not look inside objects that are not ours.
void AddAccessibleHost(const HostWidget* host);
void RemoveAccessibleHost(const HostWidget* host);

}  // namespace plat
