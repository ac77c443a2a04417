// Entry point: the platform's application, then the program's.
#include "app/tunova_app.h"
#include "platform/application.h"
#include "platform/log.h"

int main(int argc, char** argv) {
    plat::Trace(plat::kTraceProcessStart);
    plat::Application application(argc, argv);
    tunova::CTunovaApp app;
    app.InitInstance();
    return 0;
}
