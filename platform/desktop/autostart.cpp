// Run-key values as XDG autostart desktop entries.
#include "platform/desktop/autostart.h"

#include <cerrno>

#include "platform/core/files.h"
#include "platform/desktop/autostart_impl.h"
#include "platform/desktop/settings_document_impl.h"

namespace plat {
namespace {

constexpr std::string_view kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view kDesktopGroup = "[Desktop Entry]";

StoreResult Failure(StoreError error, std::string description) {
    return {error, std::move(description)};
}

// The entry's file name for a value name, or empty when the name cannot be one.
std::string EntryFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return {};
    }
    std::string file;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        const bool ok =
            (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
        if (!ok) {
            return {};
        }
        file += c;
    }
    return file + ".desktop";
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// The string escapes of desktop entries: \s \n \t \r \\ .
std::string Unescape(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        switch (text[++i]) {
            case 's':
                plain += ' ';
                break;
            case 'n':
                plain += '\n';
                break;
            case 't':
                plain += '\t';
                break;
            case 'r':
                plain += '\r';
                break;
            case '\\':
                plain += '\\';
                break;
            default:
                plain += '\\';
                plain += text[i];
        }
    }
    return plain;
}

std::string Escape(std::string_view text) {
    std::string escaped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            escaped += "\\\\";
        } else if (text[i] == ' ' && i == 0) {
            escaped += "\\s";  // a leading blank would be taken for the space around '='
        } else if (text[i] == '\t') {
            escaped += "\\t";
        } else {
            escaped += text[i];
        }
    }
    return escaped;
}

}  // namespace

std::string QuoteExecArgument(std::string_view argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    return quoted + "\"";
}

bool IsAutostartKey(std::string_view keyPath) {
    return EqualsIgnoringAsciiCase(keyPath, kRunKey);
}

std::string AutostartFolderFor(const std::string& storePath) {
    const std::size_t file = storePath.rfind('/');
    const std::size_t folder =
        file == std::string::npos || file == 0 ? std::string::npos : storePath.rfind('/', file - 1);
    return folder == std::string::npos ? std::string("autostart")
                                       : storePath.substr(0, folder) + "/autostart";
}

std::optional<std::string> ReadAutostartEntry(const std::string& folder, std::string_view name) {
    const std::string file = EntryFileName(name);
    std::string text;
    if (file.empty() || !ReadFile(folder + "/" + file, text, 1u << 16)) {
        return std::nullopt;
    }
    std::optional<std::string> exec;
    bool inGroup = false;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = Trim(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.front() == '[') {
            inGroup = line == kDesktopGroup;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string value = Unescape(Trim(line.substr(equals + 1)));
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false")) {
            return std::nullopt;
        }
        if (key == "Exec" && !exec) {
            exec = value;
        }
    }
    return exec;
}

StoreResult WriteAutostartEntry(const std::string& folder, std::string_view name,
                                std::string_view value) {
    const std::string file = EntryFileName(name);
    if (file.empty()) {
        return Failure(StoreError::kBadName, "unusable autostart entry name");
    }
    if (!MakeFolders(folder)) {
        return Failure(StoreError::kNoStore, "cannot create " + folder);
    }
    std::string entry = std::string(kDesktopGroup) + "\nType=Application\nName=";
    entry += name;
    entry += "\nExec=" + Escape(value) + "\nX-GNOME-Autostart-enabled=true\n";
    if (const FileResult written = ReplaceFile(folder + "/" + file, entry); !written) {
        return Failure(StoreError::kWrite, written.description);
    }
    return {};
}

StoreResult DeleteAutostartEntry(const std::string& folder, std::string_view name) {
    const std::string file = EntryFileName(name);
    if (file.empty()) {
        return Failure(StoreError::kBadName, "unusable autostart entry name");
    }
    const FileResult removed = DeleteFile(folder + "/" + file);
    if (!removed && removed.error != ENOENT) {
        return Failure(StoreError::kWrite, removed.description);
    }
    return {};
}

}  // namespace plat
