// Every key and value the program keeps in the settings store (platform/desktop/settings_store.h),
// and the bounded reader all of them go through.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop/settings_store.h"

namespace tunova {

inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kTunovaKey[] = "SOFTWARE\\tunova";
inline constexpr char kSettingKey[] = "SOFTWARE\\tunova\\setting";
inline constexpr char kCountKey[] = "SOFTWARE\\tunova\\count";

inline constexpr char kValueAutostart[] = "tunova_player";  // in kRunKey
inline constexpr char kValueClick[] = "setting_click";      // in kSettingKey
inline constexpr char kValuePartnerId[] = "pid";            // in kTunovaKey
inline constexpr char kValueVersion[] = "tunova_ver";       // in kTunovaKey
inline constexpr char kValueVersionUp[] = "tunova_verup";   // in kTunovaKey
inline constexpr char kValueDownDay[] = "downday";          // in kTunovaKey
inline constexpr char kValueCountDay[] = "count_exe";       // in kCountKey

// Buffer sizes of the readers, terminating NUL included.
inline constexpr std::size_t kRegistryStringCapacity = 260;
inline constexpr std::size_t kVersionCapacity = 200;

// The value `name` of `key` when it is present and fits `capacity` bytes with its NUL.
inline std::optional<std::string> ReadRegistryString(
    const plat::SettingsKey& key, std::string_view name,
    std::size_t capacity = kRegistryStringCapacity) {
    return key.ReadString(name, capacity);
}

}  // namespace tunova
