// What the program takes from the machine it runs on: the clock, the settings store and HTTP.
// The program's start builds one (ThisMachine()) and hands it to the window, which hands it on to
// each subsystem; a test builds one on its manual clock, or points it at a store file or an HTTP
// function of its own, without touching anything process-wide.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/core/clock.h"
#include "platform/core/http.h"
#include "platform/desktop/settings_store.h"

namespace plat {

// A function with HttpGet's signature (HttpGet itself, or a test's stand-in).
using HttpGetFunction = HttpResponse (*)(std::string_view host, std::string_view path,
                                         const HttpOptions& options);

// The settings store in one file (platform/desktop/settings_store.h): keys are opened in it.
class SettingsStore {
  public:
    explicit SettingsStore(std::string path) : path_(std::move(path)) {}

    // SettingsKey::Open of `keyPath` in this store's file.
    SettingsKey Open(std::string_view keyPath) const { return SettingsKey::Open(keyPath, path_); }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

struct MachineServices {
    Clock& clock;
    SettingsStore settings;
    HttpGetFunction http = &HttpGet;
};

// The machine as the process finds it: the clock in force, the default settings store
// (SettingsStorePath(), read from the environment now) and HttpGet.
MachineServices ThisMachine();

}  // namespace plat
