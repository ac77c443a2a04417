// The machine services a test hands to what it builds: its clock (the manual clock it installed,
// so timers and the code under test move together), this test process's settings store and
// plat::HttpGet.
#pragma once

#include "platform/core/clock.h"
#include "platform/desktop/machine_services.h"

namespace tunova::testing {

inline plat::MachineServices TestMachine(plat::Clock& clock = plat::CurrentClock()) {
    return {clock, plat::SettingsStore(plat::SettingsStorePath()), &plat::HttpGet};
}

}  // namespace tunova::testing
