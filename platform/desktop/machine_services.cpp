#include "platform/desktop/machine_services.h"

namespace plat {

MachineServices ThisMachine() {
    return {CurrentClock(), SettingsStore(SettingsStorePath()), &HttpGet};
}

}  // namespace plat
