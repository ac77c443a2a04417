#include "app/app_services.h"

namespace tunova {

AppServices LoadAppServices() {
    return {LoadHosts(), plat::ThisMachine()};
}

}  // namespace tunova
