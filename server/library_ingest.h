// Ingest of a folder of media files into the catalogue. A rescan reads only files that are new
// or changed (size, modification time or sidecar row) and drops rows of files that are gone.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "server/catalogue.h"
#include "server/media_converter.h"
#include "server/media_probe.h"

namespace tunova::server {

struct IngestReport {
    int added = 0;
    int updated = 0;
    int unchanged = 0;
    int removed = 0;
    int skipped = 0;                    // media files that could not be read
    int waiting = 0;                    // media files listed once their playable copy is made
    std::vector<std::string> warnings;  // one line per skipped file or bad sidecar field
    std::set<std::string> copies;       // the playable copies the listed videos are served from
    std::string error;                  // set when the folder or the catalogue failed
    explicit operator bool() const { return error.empty(); }
};

struct IngestOptions {
    int probeThreads = 0;  // files probed at once; 0: one per core, at least 2
    std::function<void(const std::string&)> log;  // progress of long probes; null: none
    int progressEveryMs = 5000;
    // Makes playable copies of files the player's page cannot play as they are; null: every
    // file is listed as it is.
    MediaConverter* converter = nullptr;
};

// Scans `libraryRoot` (recursively; hidden entries skipped; media by file extension) and applies
// the changes to `catalogue` in one transaction. New or changed files are probed with `prober`
// (in parallel) unless "metadata.tsv" gives their length and title. Each field comes from the
// most trusted source that has it: metadata.tsv, the file's .nfo, its .info.json, the
// container's tags, the file name ("Artist - Title"); a video without a language gets one from
// its title's script. A file the page cannot play is listed with its copy from `converter`
// once that exists; until then it is asked for, counted as waiting and named in the warnings.
IngestReport IngestLibrary(Catalogue& catalogue, const std::string& libraryRoot,
                           const MediaProber& prober, const IngestOptions& options = {});

// The stable id of a library path: 11 URL-safe characters from a 64-bit hash of the path.
std::string VideoIdForPath(std::string_view relativePath);

}  // namespace tunova::server
