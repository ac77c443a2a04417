// The library's metadata sidecar, "metadata.tsv" in the library root: a header line naming the
// columns, then one tab-separated line per media file. Columns: file (path relative to the
// root, required), title, artist, description, language (ko/en/ja/zh), rating (0 to 5), raters,
// published (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SSZ, UTC), seconds. "\t", "\n" and "\\" escape a
// tab, a line break and a backslash inside a field; an empty field counts as absent; '#' starts a
// comment line.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tunova::server {

inline constexpr const char* kSidecarName = "metadata.tsv";

struct SidecarRow {
    std::optional<std::string> title;
    std::optional<std::string> artist;
    std::optional<std::string> description;
    std::optional<std::string> language;
    std::optional<double> rating;
    std::optional<int> raters;
    std::optional<std::int64_t> published;  // seconds since the epoch
    std::optional<int> seconds;
    std::string signature;  // the row's raw text: a change of metadata changes it
};

struct Sidecar {
    std::map<std::string, SidecarRow> rows;  // by file path
    std::vector<std::string> warnings;       // rows skipped or fields ignored, with line numbers
};

// Reads the sidecar text. Bad fields are ignored and bad rows skipped, each with a warning;
// text is kept as UTF-8 (ill-formed bytes replaced). A missing header gives no rows.
Sidecar ParseSidecar(std::string_view text);

// Reads `path`; a missing file gives an empty sidecar without warnings.
Sidecar ReadSidecarFile(const std::string& path);

// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM:SS[.fff]Z" (UTC) as seconds since the epoch.
std::optional<std::int64_t> ParseUtcDate(std::string_view text);

}  // namespace tunova::server
