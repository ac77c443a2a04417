// Entry point: the platform's application, then the program's.
#include <string>

#include "app/tunova_app.h"
#include "platform/application.h"
#include "platform/log.h"
#include "platform/termination.h"

int main(int argc, char** argv) {
    plat::Trace(plat::kTraceProcessStart);
    plat::Application application(argc, argv);
    // Logout, shutdown, a closed terminal or Ctrl-C close the window as the user would, so the
    // playlist is saved.
    plat::EndOnTerminationSignals(
        [](int signal) { plat::LogInfo("app", "ending on signal " + std::to_string(signal)); });
    tunova::CTunovaApp app;
    app.InitInstance();
    return 0;
}
