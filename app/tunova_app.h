// CTunovaApp, the application object: it runs the main window modally and ends the program
// when the window closes.
#pragma once

#include <string>
#include <utility>

#include "app/app_services.h"

namespace tunova {

class CTunovaDlg;

class CTunovaApp {
  public:
    // `services` (not owned) go to the main window; they outlive the application object.
    explicit CTunovaApp(const AppServices& services) : services_(services) {}

    // The framework's profile key; the program keeps its settings elsewhere and never reads it.
    static constexpr char kProfileKey[] = "로컬 응용 프로그램 마법사에서 생성된 응용 프로그램";

    // Runs the main window to its end. Returns false, so the process ends afterwards.
    bool InitInstance();
    // A search (CP949) the window runs once it is on screen.
    void SearchAtStart(std::string word) { searchAtStart_ = std::move(word); }
    CTunovaDlg* MainWindow() const { return mainWindow_; }
    const std::string& ProfileKey() const { return profileKey_; }

  private:
    const AppServices& services_;
    CTunovaDlg* mainWindow_ = nullptr;
    std::string profileKey_;
    std::string searchAtStart_;
};

}  // namespace tunova
