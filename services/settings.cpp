// Reading and saving the two user settings.
#include "services/settings.h"

#include "platform/core/codepage.h"
#include "platform/core/files.h"
#include "platform/core/log.h"
#include "platform/desktop/autostart.h"
#include "services/registry_keys.h"

namespace tunova {
namespace {

constexpr std::string_view kLogArea = "settings";

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void LogFailure(const plat::StoreResult& result, std::string_view what) {
    if (!result) {
        plat::LogError(kLogArea, std::string(what) + ": " + result.description);
    }
}

}  // namespace

bool StoredTextContains(std::string_view stored, std::string_view lowerNeedle) {
    return plat::LowerCp949(stored).find(lowerNeedle) != std::string::npos;
}

int LoadClickSetting(const plat::SettingsStore& store) {
    const plat::SettingsKey key = store.Open(kSettingKey);
    const std::optional<std::string> click = ReadRegistryString(key, kValueClick);
    return click && StoredTextContains(*click, "true") ? 1 : 0;
}

std::string AutostartProgram(const std::string& executablePath) {
    // An installed player is PREFIX/libexec/tunova/NAME, started by PREFIX/bin/NAME, the
    // launcher that prepares the user's data folder before it runs the program.
    constexpr std::string_view kProgramFolder = "/libexec/tunova/";
    const std::string name = FileNameOf(executablePath);
    const std::size_t folder = executablePath.size() - name.size();
    if (name.empty() || folder < kProgramFolder.size() ||
        executablePath.compare(folder - kProgramFolder.size(), kProgramFolder.size(),
                               kProgramFolder) != 0) {
        return executablePath;
    }
    const std::string launcher =
        executablePath.substr(0, folder - kProgramFolder.size()) + "/bin/" + name;
    return plat::FileExists(launcher) ? launcher : executablePath;
}

std::string AutostartCommandLine(const std::string& executablePath) {
    return plat::QuoteExecArgument(AutostartProgram(executablePath)) + " /run";
}

bool IsAutostartOn(const plat::SettingsStore& store, const std::string& executablePath) {
    const std::string name = plat::LowerCp949(FileNameOf(executablePath));
    if (name.empty()) {
        return false;
    }
    const plat::SettingsKey key = store.Open(kRunKey);
    const std::optional<std::string> entry = ReadRegistryString(key, kValueAutostart);
    return entry && StoredTextContains(*entry, name);
}

MenuSettings LoadSettings(const plat::SettingsStore& store, const std::string& executablePath) {
    MenuSettings settings;
    settings.autostart = IsAutostartOn(store, executablePath);
    settings.clickSelection = LoadClickSetting(store);
    return settings;
}

int SaveSettings(const plat::SettingsStore& store, const MenuSettings& settings,
                 const std::string& executablePath) {
    plat::SettingsKey run = store.Open(kRunKey);
    if (settings.autostart && executablePath.empty()) {
        plat::LogError(kLogArea, "autostart entry: the program's own path is unknown");
    } else if (settings.autostart) {
        LogFailure(run.WriteString(kValueAutostart, AutostartCommandLine(executablePath)),
                   "autostart entry");
    } else {
        LogFailure(run.DeleteValue(kValueAutostart), "autostart entry");
    }
    const bool adds = settings.clickSelection != 0;
    plat::SettingsKey setting = store.Open(kSettingKey);
    LogFailure(setting.WriteString(kValueClick, adds ? "true" : "false"), "setting_click");
    return adds ? 1 : 0;
}

}  // namespace tunova
