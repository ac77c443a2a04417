// What the program takes from its surroundings, built once at its start and handed to the main
// window (which hands each subsystem what it needs), to the playlist command and to the hand-over
// to a running copy: the hosts of tunova.conf and the machine's clock, settings store and HTTP.
#pragma once

#include "platform/desktop/machine_services.h"
#include "services/host_config.h"

namespace tunova {

struct AppServices {
    HostConfig hosts;
    plat::MachineServices machine;
};

// The hosts in force (LoadHosts()) and the machine as the process finds it (plat::ThisMachine()).
AppServices LoadAppServices();

}  // namespace tunova
