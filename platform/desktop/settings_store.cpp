// The settings store: INI text in the user's config folder, written under a lock file with an
// atomic replace.
#include "platform/desktop/settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/core/files.h"
#include "platform/desktop/autostart_impl.h"
#include "platform/desktop/settings_document_impl.h"

namespace plat {
namespace {

constexpr std::size_t kMaxStoreBytes = 1u << 20;
constexpr auto kLockPatience = std::chrono::seconds(10);

StoreResult Failure(StoreError error, std::string description) {
    return {error, std::move(description)};
}

bool HoldsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos;
}

bool ValidKeyPath(std::string_view path) {
    return !path.empty() && path.find_first_of("[]") == std::string_view::npos &&
           !HoldsLineBreakOrNul(path) && path.front() != ' ' && path.back() != ' ' &&
           path.front() != '\t' && path.back() != '\t';
}

// A name must read back as itself: no '=', no line break, no blanks around it, and it must not
// look like a section or a comment.
bool ValidValueName(std::string_view name) {
    return !name.empty() && name.find('=') == std::string_view::npos &&
           !HoldsLineBreakOrNul(name) && name.front() != '[' && name.front() != ';' &&
           name.front() != '#' && name.front() != ' ' && name.back() != ' ' &&
           name.front() != '\t' && name.back() != '\t';
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Reads the store; a missing file is an empty store.
StoreResult ReadStore(const std::string& path, std::string& text) {
    const FileResult read = ReadFile(path, text, kMaxStoreBytes);
    if (!read && read.error != ENOENT) {
        return Failure(StoreError::kUnreadable, read.description);
    }
    return {};
}

// Holds the store's lock file locked for the life of the object.
class StoreLock {
  public:
    explicit StoreLock(const std::string& storePath) {
        const std::string lockPath = storePath + ".lock";
        fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0) {
            result_ = Failure(StoreError::kWrite, "open " + lockPath + ": " + std::strerror(errno));
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + kLockPatience;
        auto pause = std::chrono::microseconds(200);
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) ||
                std::chrono::steady_clock::now() > deadline) {
                const int error = errno;
                result_ = Failure(error == EWOULDBLOCK ? StoreError::kLocked : StoreError::kWrite,
                                  "lock " + lockPath + ": " + std::strerror(error));
                ::close(fd_);
                fd_ = -1;
                return;
            }
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::microseconds(20'000));
        }
    }
    ~StoreLock() {
        if (fd_ >= 0) {
            ::close(fd_);  // releases the lock
        }
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    const StoreResult& Result() const { return result_; }

  private:
    int fd_ = -1;
    StoreResult result_;
};

// Read, edit and replace the store under its lock. `edit` returns true when it changed the text.
StoreResult ModifyStore(const std::string& path,
                        const std::function<bool(SettingsDocument&)>& edit) {
    if (path.empty()) {
        return Failure(StoreError::kNoStore, "no config folder (HOME and XDG_CONFIG_HOME unset)");
    }
    if (!MakeFolders(FolderOf(path))) {
        return Failure(StoreError::kNoStore, "cannot create the folder of " + path);
    }
    StoreLock lock(path);
    if (!lock.Result()) {
        return lock.Result();
    }
    // Under the lock nobody else is mid-save: temporaries left now are a dead writer's.
    RemoveStaleTemporaries(path);
    std::string text;
    if (StoreResult read = ReadStore(path, text); !read) {
        return read;
    }
    SettingsDocument document(text);
    if (!edit(document)) {
        return {};
    }
    if (const FileResult written = ReplaceFile(path, document.Text()); !written) {
        return Failure(StoreError::kWrite, written.description);
    }
    return {};
}

}  // namespace

std::string SettingsStorePath() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        config = std::string(home) + "/.config";
    } else {
        return {};
    }
    return config + "/tunova/registry.ini";
}

SettingsKey::SettingsKey(std::string storePath, std::string keyPath)
    : storePath_(std::move(storePath)), keyPath_(std::move(keyPath)) {}

SettingsKey SettingsKey::Open(std::string_view keyPath) {
    return Open(keyPath, SettingsStorePath());
}

SettingsKey SettingsKey::Open(std::string_view keyPath, const std::string& storePath) {
    SettingsKey key(storePath, std::string(keyPath));
    if (!ValidKeyPath(keyPath)) {
        key.openResult_ = Failure(StoreError::kBadName, "unusable key path");
        return key;
    }
    if (storePath.empty()) {
        key.openResult_ = Failure(StoreError::kNoStore, "no config folder");
        return key;
    }
    if (IsAutostartKey(keyPath)) {
        key.autostartFolder_ = AutostartFolderFor(storePath);
        key.open_ = MakeFolders(key.autostartFolder_);
        if (!key.open_) {
            key.openResult_ =
                Failure(StoreError::kNoStore, "cannot create " + key.autostartFolder_);
        }
        return key;
    }
    std::string text;
    if (StoreResult read = ReadStore(storePath, text); !read) {
        key.openResult_ = read;
        return key;
    }
    if (!SettingsDocument(text).HasSection(keyPath)) {
        key.openResult_ = ModifyStore(
            storePath, [&](SettingsDocument& document) { return document.AddSection(keyPath); });
    }
    key.open_ = static_cast<bool>(key.openResult_);
    return key;
}

std::optional<std::string> SettingsKey::ReadString(std::string_view name,
                                                   std::size_t capacity) const {
    if (!open_) {
        return std::nullopt;
    }
    std::optional<std::string> value;
    if (!autostartFolder_.empty()) {
        value = ReadAutostartEntry(autostartFolder_, name);
    } else {
        std::string text;
        if (!ReadStore(storePath_, text)) {
            return std::nullopt;
        }
        value = SettingsDocument(text).Find(keyPath_, name);
    }
    if (value && value->size() >= capacity) {
        return std::nullopt;
    }
    return value;
}

StoreResult SettingsKey::WriteString(std::string_view name, std::string_view value) {
    if (!open_) {
        return Failure(StoreError::kNotOpen, "key " + keyPath_ + " is not open");
    }
    if (!ValidValueName(name)) {
        return Failure(StoreError::kBadName, "unusable value name");
    }
    if (HoldsLineBreakOrNul(value)) {
        return Failure(StoreError::kBadValue, "a value may not hold NUL, CR or LF");
    }
    if (!autostartFolder_.empty()) {
        return WriteAutostartEntry(autostartFolder_, name, value);
    }
    return ModifyStore(storePath_, [&](SettingsDocument& document) {
        return document.Set(keyPath_, name, value);
    });
}

StoreResult SettingsKey::DeleteValue(std::string_view name) {
    if (!open_) {
        return Failure(StoreError::kNotOpen, "key " + keyPath_ + " is not open");
    }
    if (!autostartFolder_.empty()) {
        return DeleteAutostartEntry(autostartFolder_, name);
    }
    return ModifyStore(storePath_,
                       [&](SettingsDocument& document) { return document.Remove(keyPath_, name); });
}

}  // namespace plat
