// The settings store in place of the system registry: keys holding named string values.
//
// Mapping on Linux:
// - The machine-wide keys the program uses (everything it keeps under the local-machine root,
//   "SOFTWARE\tunova" and below) map to this one per-user store, the file
//   $XDG_CONFIG_HOME/tunova/registry.ini ($HOME/.config when XDG_CONFIG_HOME is unset or not
//   absolute). A key is an INI section named by its backslash-separated path, a value is a
//   "name=value" line in it:
//       [SOFTWARE\tunova]
//       tunova_ver=1
//       [SOFTWARE\tunova\setting]
//       setting_click=true
//   Key paths and value names are compared without regard to ASCII case. Values are bytes in
//   the program's code page, stored exactly; one holding NUL, CR or LF is refused.
// - Lines the store does not understand (comments, blank lines, text before the first section)
//   are kept as they are through every write.
// - Every write is a read-modify-write under an exclusive lock on "registry.ini.lock" beside
//   the file, ending in an atomic replace: two players saving at once both keep their change,
//   and a writer killed mid-save leaves the previous file whole. Reads take no lock; they see
//   either the old or the new file.
// - The Run key, "SOFTWARE\Microsoft\Windows\CurrentVersion\Run", is not in this file: its
//   values are the desktop session's autostart entries (platform/desktop/autostart.h).
// - A store that cannot be read (permissions, I/O error, a file over 1 MiB) reads as empty and
//   refuses writes, so it is never overwritten with less than it held.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

enum class StoreError {
    kNone,
    kNotOpen,     // the key could not be opened or created
    kBadName,     // empty key path or value name, or one holding characters the file cannot keep
    kBadValue,    // the value holds NUL, CR or LF
    kNoStore,     // no config folder, or the store's folder cannot be created
    kLocked,      // another writer held the lock for more than ten seconds
    kUnreadable,  // the existing file cannot be read; it is left as it is
    kWrite,       // the lock file or the replacement could not be written
};

struct StoreResult {
    StoreError error = StoreError::kNone;
    std::string description;  // readable reason on failure
    explicit operator bool() const { return error == StoreError::kNone; }
};

// $XDG_CONFIG_HOME/tunova/registry.ini (or $HOME/.config/...); empty when neither is set.
std::string SettingsStorePath();

// A key of the store. Holds no file open: each call reads the file afresh, each write takes the
// lock, rewrites and releases it, as registry keys are opened and closed within one operation.
class SettingsKey {
  public:
    // Opens `keyPath` ("SOFTWARE\tunova\setting") in the store at `storePath`, creating the key
    // (and the file and its folder) when missing. When that fails the key is not open: reads
    // give nothing and writes fail with kNotOpen.
    static SettingsKey Open(std::string_view keyPath, const std::string& storePath);
    // The same in the default store, SettingsStorePath().
    static SettingsKey Open(std::string_view keyPath);

    bool IsOpen() const { return open_; }
    // Why the key is not open (kNone when it is).
    const StoreResult& OpenResult() const { return openResult_; }

    // The value `name`, or nothing when it is missing or does not fit `capacity` bytes with its
    // terminating NUL (a value of capacity - 1 bytes fits).
    std::optional<std::string> ReadString(std::string_view name, std::size_t capacity = 260) const;
    // Sets `name` to `value`, adding the value (and the key's section) when missing.
    StoreResult WriteString(std::string_view name, std::string_view value);
    // Removes every `name` line of the key; removing a missing value succeeds.
    StoreResult DeleteValue(std::string_view name);

  private:
    SettingsKey(std::string storePath, std::string keyPath);

    std::string storePath_;
    std::string keyPath_;
    std::string autostartFolder_;  // set for the Run key, whose values are autostart entries
    bool open_ = false;
    StoreResult openResult_;
};

}  // namespace plat
