// What the playback tests share: a pause that keeps the event loop running, and temporary
// folders and their files.
#pragma once

#include <string>

#include "support/loopback_server.h"

namespace tunova::testing {

// Runs the event loop for `ms` milliseconds.
void PumpEvents(int ms);

// A fresh folder under the temporary folder, removed with its contents on destruction. `stem`
// is UTF-8 and may hold any characters a folder name can.
class TempFolder {
  public:
    explicit TempFolder(const std::string& stem = "tunova-playback-");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

void WriteTextFile(const std::string& path, const std::string& text);
}  // namespace tunova::testing
