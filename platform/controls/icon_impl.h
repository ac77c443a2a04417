// Platform-internal: icon resources as Qt icons (the window icon, the tray icon).
#pragma once

#include <QIcon>

namespace plat {

// Every registered size of icon resource `iconResourceId`; a null icon when it is unknown.
QIcon IconFromResource(int iconResourceId);

}  // namespace plat
