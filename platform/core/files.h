// Files on disk: existence, deletion, whole-file reads and atomic replacement.
//
// ReplaceFile never leaves a half-written file behind: the new contents go to a temporary file
// in the same folder (".NAME.tmp.XXXXXX"), which is flushed to disk, renamed over NAME, and the
// folder is flushed so the rename itself survives a power cut. On any failure NAME keeps its
// old contents and the temporary file is removed. A process killed between the two steps can
// only leave a stale temporary file; RemoveStaleTemporaries() clears those.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

// Outcome of a file operation: error is the errno of the step that failed, 0 on success.
struct FileResult {
    int error = 0;
    std::string description;  // readable reason on failure, naming the step and the path
    explicit operator bool() const { return error == 0; }
};

// True when `path` names an existing regular file (links are followed).
bool FileExists(const std::string& path);

// Removes the file `path`. Fails with ENOENT when there was none.
FileResult DeleteFile(const std::string& path);

// Reads the whole file into `contents` (cleared first). Fails with ENOENT when missing and
// with EFBIG when it is longer than `maxBytes`.
FileResult ReadFile(const std::string& path, std::string& contents,
                    std::size_t maxBytes = 64u << 20);

// Atomically replaces (or creates) `path` with `contents`. A new file gets mode 0666 less the
// umask, a replaced one keeps its mode; when `path` is a symbolic link, its target is replaced.
FileResult ReplaceFile(const std::string& path, std::string_view contents);

// Gives the file `from` the name `to`, replacing a file of that name. Fails with ENOENT when
// `from` is missing; on failure both names stay as they were.
FileResult RenameFile(const std::string& from, const std::string& to);

// Deletes the temporary files ReplaceFile() left for `path` when a writer died mid-save. Only
// safe while the caller holds a lock that every writer of `path` takes.
void RemoveStaleTemporaries(const std::string& path);

// `path` from the root: a relative path is joined to the working folder (nothing is resolved or
// checked on disk). Empty when the working folder cannot be read.
std::string AbsolutePath(const std::string& path);

// Creates `path` and any missing parent folders with `mode`; true when it exists as a folder.
bool MakeFolders(const std::string& path, unsigned mode = 0700);

}  // namespace plat
