#include "server/live_library.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace tunova::server {

namespace {

// Lines kept to say each warning once; past this the record starts afresh (a warning may then
// be said again, memory stays bounded).
constexpr std::size_t kToldLimit = 100000;

}  // namespace

LiveLibrary::LiveLibrary(Catalogue& catalogue, LiveLibraryOptions options)
    : catalogue_(catalogue), options_(std::move(options)) {
    if (!options_.cacheFolder.empty()) {
        MediaConverterOptions converter;
        converter.cacheFolder = options_.cacheFolder;
        converter.cacheLimitBytes = options_.cacheLimitBytes;
        converter.log = [this](const std::string& line) { Log(line); };
        converter.converted = [this] { CopyMade(); };
        converter_ = std::make_unique<MediaConverter>(std::move(converter));
    }
}

LiveLibrary::~LiveLibrary() {
    // The watcher's scans use the converter: it goes first.
    std::unique_ptr<LibraryWatcher> watcher;
    {
        std::lock_guard lock(watcherMutex_);
        watcher = std::move(watcher_);
    }
    watcher.reset();
    converter_.reset();
}

void LiveLibrary::Log(const std::string& line) const {
    if (options_.log) {
        options_.log(line);
    } else {
        std::fprintf(stderr, "tunova-server: %s\n", line.c_str());
    }
}

bool LiveLibrary::Scan() {
    std::lock_guard lock(scanMutex_);
    const bool first = !scanned_;
    scanned_ = true;
    IngestOptions ingest;
    ingest.converter = converter_.get();
    ingest.progressEveryMs = options_.progressEveryMs;
    ingest.log = [this](const std::string& line) { Log("library " + options_.root + ": " + line); };
    const auto started = std::filesystem::file_time_type::clock::now();
    const IngestReport report = IngestLibrary(catalogue_, options_.root, options_.prober, ingest);
    // Told once each, not again at every later scan that finds the same file.
    if (told_.size() > kToldLimit) {
        told_.clear();
    }
    bool news = false;
    for (const std::string& warning : report.warnings) {
        if (told_.insert(warning).second) {
            Log("library: " + warning);
            news = true;
        }
    }
    if (!report) {
        if (told_.insert("error: " + report.error).second) {
            Log("library: " + report.error);
        }
        return false;
    }
    const bool changed = report.added + report.updated + report.removed > 0;
    // Copies of files changed or gone would fill the cache up to its cap for nothing.
    if (converter_) {
        if (const int removed = converter_->RemoveUnlisted(report.copies, started); removed > 0) {
            Log("media cache " + options_.cacheFolder + ": " + std::to_string(removed) +
                " copies no longer listed removed");
        }
    }
    if (first || changed || news) {
        std::string line = "library " + options_.root + ": " + std::to_string(report.added) +
                           " added, " + std::to_string(report.updated) + " updated, " +
                           std::to_string(report.unchanged) + " unchanged, " +
                           std::to_string(report.removed) + " removed, " +
                           std::to_string(report.skipped) + " skipped";
        if (report.waiting > 0) {
            line += ", " + std::to_string(report.waiting) + " waiting for a playable copy";
        }
        Log(line);
    }
    if (changed && options_.changed) {
        options_.changed();
    }
    return true;
}

void LiveLibrary::Watch() {
    LibraryWatcherOptions watch;
    watch.root = options_.root;
    watch.rescan = [this] { Scan(); };
    watch.log = [this](const std::string& line) { Log(line); };
    watch.settleMs = options_.settleMs;
    auto watcher = std::make_unique<LibraryWatcher>(std::move(watch));
    std::lock_guard lock(watcherMutex_);
    watcher_ = std::move(watcher);
}

void LiveLibrary::CopyMade() {
    std::lock_guard lock(watcherMutex_);
    if (watcher_) {
        watcher_->Poke();
    }
}

void LiveLibrary::FinishCopies() {
    while (converter_ && !converter_->Idle()) {
        while (!converter_->Idle()) {
            usleep(100 * 1000);
        }
        Scan();  // lists the copies made
    }
}

}  // namespace tunova::server
