#include "app/tunova_app.h"

#include "app/tunova_dlg.h"

namespace tunova {

bool CTunovaApp::InitInstance() {
    // Common controls and control hosting are part of the toolkit and need no set-up here.
    profileKey_ = kProfileKey;
    CTunovaDlg dialog(services_);
    dialog.Startup().searchAtStart = searchAtStart_;
    mainWindow_ = &dialog;
    dialog.DoModal();
    mainWindow_ = nullptr;
    return false;
}

}  // namespace tunova
