#include "server/library_ingest.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "server/media_file.h"
#include "server/media_metadata.h"
#include "server/metadata_sidecar.h"
#include "server/playable_media.h"
#include "server/script_language.h"
#include "server/sidecar_files.h"

namespace tunova::server {

namespace fs = std::filesystem;

namespace {

struct FoundFile {
    std::string relativePath;
    std::string absolutePath;
    std::int64_t size = 0;
    std::int64_t mtimeNanos = 0;
};

bool IsMediaFile(const fs::path& path) {
    return MediaContentType(path.filename().string()) != "application/octet-stream";
}

std::vector<FoundFile> FindMediaFiles(const fs::path& root, std::string& error) {
    std::vector<FoundFile> files;
    std::error_code failure;
    fs::recursive_directory_iterator walk(root, fs::directory_options::skip_permission_denied,
                                          failure);
    if (failure) {
        error = root.string() + ": " + failure.message();
        return files;
    }
    for (auto it = walk; it != fs::recursive_directory_iterator(); it.increment(failure)) {
        if (failure) {
            error = failure.message();
            return files;
        }
        const fs::path& path = it->path();
        if (path.filename().string().front() == '.') {
            if (it->is_directory(failure)) {
                it.disable_recursion_pending();
            }
            continue;
        }
        struct stat info {};
        if (!IsMediaFile(path) || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        files.push_back(
            {fs::relative(path, root).generic_string(), path.string(),
             static_cast<std::int64_t>(info.st_size),
             static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec});
    }
    return files;
}

}  // namespace

std::string VideoIdForPath(std::string_view relativePath) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : relativePath) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string id;
    for (int i = 0; i < 11; ++i) {
        id.push_back(kDigits[hash & 63]);
        hash >>= 6;
    }
    return id;
}

namespace {

// One file the scan found new or changed, and what reading it takes.
struct IngestPlan {
    const FoundFile* file = nullptr;
    SidecarRow row;
    SidecarFiles sidecars;
    std::string metaSig;
    bool isNew = false;
    bool fileChanged = false;
    bool needProbe = false;
    ProbeResult probe;
    bool probed = false;  // `probe` holds what ffprobe said, now or at an earlier scan
};

// Probes the files of `plans` that need it, on up to `threads` threads, reporting progress
// through `log` every few seconds when there are many.
void ProbeAll(std::vector<IngestPlan>& plans, const MediaProber& prober,
              const IngestOptions& options) {
    std::vector<IngestPlan*> work;
    for (IngestPlan& plan : plans) {
        if (plan.needProbe) {
            work.push_back(&plan);
        }
    }
    if (work.empty()) {
        return;
    }
    const unsigned hardware = std::max(2u, std::thread::hardware_concurrency());
    const std::size_t threads = std::min<std::size_t>(
        work.size(),
        options.probeThreads > 0 ? static_cast<std::size_t>(options.probeThreads) : hardware);
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    const auto probeSome = [&] {
        for (std::size_t i = next++; i < work.size(); i = next++) {
            work[i]->probe = prober(work[i]->file->absolutePath);
            work[i]->probed = static_cast<bool>(work[i]->probe);
            ++done;
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t) {
        pool.emplace_back(probeSome);
    }
    std::thread reporter;
    std::mutex waitMutex;
    std::condition_variable finished;
    bool allDone = false;
    if (options.log) {
        reporter = std::thread([&] {
            std::unique_lock lock(waitMutex);
            while (!finished.wait_for(lock, std::chrono::milliseconds(options.progressEveryMs),
                                      [&] { return allDone; })) {
                options.log("probed " + std::to_string(done.load()) + " of " +
                            std::to_string(work.size()) + " files");
            }
        });
    }
    probeSome();
    for (std::thread& thread : pool) {
        thread.join();
    }
    if (reporter.joinable()) {
        {
            std::lock_guard lock(waitMutex);
            allDone = true;
        }
        finished.notify_all();
        reporter.join();
    }
}

std::string JoinLines(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& word : words) {
        joined += (joined.empty() ? "" : "\n") + word;
    }
    return joined;
}

// Metadata signatures of this version: older rows are read again once, for what they lack.
constexpr const char* kMetaSigVersion = "2\n";

}  // namespace

IngestReport IngestLibrary(Catalogue& catalogue, const std::string& libraryRoot,
                           const MediaProber& prober, const IngestOptions& options) {
    IngestReport report;
    const std::vector<FoundFile> files = FindMediaFiles(libraryRoot, report.error);
    if (!report) {
        return report;
    }
    Sidecar sidecar = ReadSidecarFile(libraryRoot + "/" + kSidecarName);
    report.warnings = std::move(sidecar.warnings);
    auto known = catalogue.Signatures(report.error);
    if (!report) {
        return report;
    }

    std::vector<IngestPlan> plans;
    std::set<std::string> seen;
    for (const FoundFile& file : files) {
        seen.insert(file.relativePath);
        IngestPlan plan;
        plan.file = &file;
        const auto rowFound = sidecar.rows.find(file.relativePath);
        if (rowFound != sidecar.rows.end()) {
            plan.row = rowFound->second;
        }
        plan.sidecars = FindSidecarFiles(file.absolutePath);
        plan.metaSig = kMetaSigVersion + plan.row.signature + "\n" + plan.sidecars.signature;
        const auto old = known.find(file.relativePath);
        plan.isNew = old == known.end();
        plan.fileChanged = plan.isNew || old->second.fileSize != file.size ||
                           old->second.fileMtime != file.mtimeNanos;
        // A listed copy that left the cache (emptied by hand) is made again.
        const bool copyLost = !plan.isNew && !old->second.mediaCopy.empty() &&
                              options.converter != nullptr &&
                              !options.converter->HasCopy(old->second.mediaCopy);
        if (!plan.fileChanged && old->second.metaSig == plan.metaSig && !copyLost) {
            ++report.unchanged;
            continue;
        }
        // A row giving the title and length declares the file: it is not read.
        const bool declared = plan.row.seconds && plan.row.title;
        if (!plan.fileChanged) {
            plan.probe.seconds = old->second.seconds;
            plan.probed = LoadProbe(old->second.probe, plan.probe);
        }
        plan.needProbe = !declared && !plan.probed;
        plans.push_back(std::move(plan));
    }
    ProbeAll(plans, prober, options);

    std::vector<VideoRecord> upserts;
    std::vector<std::string> dropped;
    for (IngestPlan& plan : plans) {
        const FoundFile& file = *plan.file;
        const SidecarRow& row = plan.row;
        if (plan.needProbe && !plan.probed && !row.seconds) {
            report.warnings.push_back(file.relativePath + ": " + plan.probe.error + ", skipped");
            ++report.skipped;
            continue;
        }
        std::string mediaCopy;
        if (plan.probed && options.converter != nullptr) {
            const PlaybackPlan playback = PlanPlayback(plan.probe, file.relativePath);
            if (playback.route != PlaybackRoute::AsItIs) {
                mediaCopy = CopyNameFor(VideoIdForPath(file.relativePath), file.size,
                                        file.mtimeNanos, playback.container);
                if (!options.converter->HasCopy(mediaCopy)) {
                    options.converter->Request({file.absolutePath, mediaCopy, playback.route});
                    report.warnings.push_back(
                        file.relativePath + ": " + playback.why + ", " +
                        (playback.route == PlaybackRoute::Remux ? "remuxing" : "transcoding") +
                        " in the background; listed when done");
                    ++report.waiting;
                    if (!plan.isNew) {
                        dropped.push_back(file.relativePath);  // its old row no longer fits
                    }
                    continue;
                }
            }
        }
        SidecarRead sidecars = ReadSidecarFiles(plan.sidecars, libraryRoot);
        for (std::string& warning : sidecars.warnings) {
            report.warnings.push_back(std::move(warning));
        }
        const MediaMetadata tags = plan.probed ? MetadataFromTags(plan.probe) : MediaMetadata{};
        const MediaMetadata name = MetadataFromFileName(file.relativePath);
        const MediaMetadata meta = MergeMetadata({&sidecars.nfo, &sidecars.infoJson, &tags, &name});

        VideoRecord video;
        video.path = file.relativePath;
        video.id = VideoIdForPath(file.relativePath);
        video.fileSize = file.size;
        video.fileMtime = file.mtimeNanos;
        video.metaSig = plan.metaSig;
        video.probe = plan.probed ? SaveProbe(plan.probe) : std::string();
        video.mediaCopy = mediaCopy;
        video.seconds = row.seconds ? *row.seconds
                        : plan.probed || !plan.fileChanged
                            ? static_cast<int>(std::lround(plan.probe.seconds))
                            : meta.seconds.value_or(0);
        video.title = row.title.value_or(meta.title.value_or(""));
        video.artist = row.artist.value_or(meta.artist.value_or(""));
        video.description = row.description.value_or(meta.description.value_or(""));
        video.keywords = JoinLines(meta.keywords);
        video.language = row.language    ? *row.language
                         : meta.language ? *meta.language
                                         : LanguageFromScript(video.title);
        video.rating = row.rating.value_or(0.0);
        video.raters = row.raters.value_or(0);
        const std::int64_t modified = file.mtimeNanos / 1000000000;
        video.published = row.published.value_or(meta.published.value_or(modified));
        video.updated = std::max(video.published, modified);
        upserts.push_back(std::move(video));
        ++(plan.isNew ? report.added : report.updated);
    }
    const std::size_t droppedCount = dropped.size();
    std::vector<std::string> removed = std::move(dropped);
    for (const auto& entry : known) {
        if (!seen.count(entry.first)) {
            removed.push_back(entry.first);
        }
    }
    report.removed = static_cast<int>(removed.size() - droppedCount);
    if (!catalogue.Apply(upserts, removed, report.error)) {
        report.added = report.updated = report.removed = 0;
        return report;
    }
    for (const std::string& path : removed) {
        known.erase(path);
    }
    for (const VideoRecord& video : upserts) {
        known[video.path].mediaCopy = video.mediaCopy;
    }
    for (const auto& entry : known) {
        if (!entry.second.mediaCopy.empty()) {
            report.copies.insert(entry.second.mediaCopy);
        }
    }
    return report;
}

}  // namespace tunova::server
