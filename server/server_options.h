// Command-line options of tunova-server.
#pragma once

#include <cstdint>
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
    int headDeadlineMs = 10000;       // a request head must arrive whole within this
    int idleMs = 15000;               // a kept-alive connection without a request closes
    int maxConnections = 4096;        // open connections in all
    int maxPerAddress = 64;           // open connections of one client address; 0: no cap
    int idleExitMs = 1800000;         // socket-activated: exit after this long unused; 0: never
    std::string mediaCache;           // playable copies; empty means the default location
    std::int64_t mediaCacheLimit = 10LL << 30;  // bytes of copies at most; 0: no cap
    bool ingestOnly = false;                    // scan the library and exit
    bool help = false;
};

struct OptionsParse {
    ServerOptions options;
    std::string error;  // empty on success
    explicit operator bool() const { return error.empty(); }
};

// Reads `--host ADDR --port N --library DIR --db FILE --player-version TEXT --port-file FILE
// --threads N --cache-entries N --head-deadline MS --keep-alive-idle MS --max-connections N
// --max-per-address N --idle-exit MS --media-cache DIR --media-cache-limit SIZE --ingest-only
// --help`. Unknown options, missing values and
// out-of-range numbers give an error.
OptionsParse ParseServerOptions(const std::vector<std::string>& arguments);

// A whole decimal number from `low` to `high` into `value`; false (value untouched) for anything
// else. Shared by the command line and server.conf.
bool ReadInt(const std::string& text, int low, int high, int& value);

// A size in bytes: a whole number with an optional K, M, G or T suffix (powers of 1024), at
// most 1 PiB, into `bytes`; false (bytes untouched) for anything else.
bool ReadByteSize(const std::string& text, std::int64_t& bytes);

// The default catalogue path: $XDG_DATA_HOME/tunova/catalogue.sqlite, or under
// ~/.local/share; the folder is created when missing.
std::string DefaultDatabasePath();

// The default folder of playable copies: $XDG_CACHE_HOME/tunova/media, or under ~/.cache.
std::string DefaultMediaCachePath();

// The usage text printed by --help.
std::string UsageText();

}  // namespace tunova::server
