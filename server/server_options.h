// Command-line options of tunova-server.
#pragma once

#include <string>
#include <vector>

namespace tunova::server {

struct ServerOptions {
    std::string host = "127.0.0.1";   // address to bind
    int port = 8080;                  // 0 picks a free port
    std::string library;              // media folder to ingest and serve; empty for none
    std::string database;             // catalogue file; empty means the default location
    std::string playerVersion = "1";  // answer of /update/player_ver.php
    std::string portFile;             // when set, the bound port is written there
    int threads = 16;                 // request worker threads
    int cacheEntries = 1024;          // rendered feeds kept for 60 s; 0 disables
    bool ingestOnly = false;          // scan the library and exit
    bool help = false;
};

struct OptionsParse {
    ServerOptions options;
    std::string error;  // empty on success
    explicit operator bool() const { return error.empty(); }
};

// Reads `--host ADDR --port N --library DIR --db FILE --player-version TEXT --port-file FILE
// --threads N --cache-entries N --ingest-only --help`. Unknown options, missing values and
// out-of-range numbers give an error.
OptionsParse ParseServerOptions(const std::vector<std::string>& arguments);

// The default catalogue path: $XDG_DATA_HOME/tunova/catalogue.sqlite, or under
// ~/.local/share; the folder is created when missing.
std::string DefaultDatabasePath();

// The usage text printed by --help.
std::string UsageText();

}  // namespace tunova::server
