#include "server/library_ingest.h"

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "server/media_file.h"
#include "server/metadata_sidecar.h"
#include "server/utf8_text.h"

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

std::string TitleFromFileName(const std::string& relativePath) {
    std::string stem = fs::path(relativePath).stem().string();
    for (char& c : stem) {
        if (c == '_') {
            c = ' ';
        }
    }
    return RepairUtf8(stem);
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

IngestReport IngestLibrary(Catalogue& catalogue, const std::string& libraryRoot,
                           const MediaProber& prober) {
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

    std::vector<VideoRecord> upserts;
    std::set<std::string> seen;
    for (const FoundFile& file : files) {
        seen.insert(file.relativePath);
        const auto rowFound = sidecar.rows.find(file.relativePath);
        const SidecarRow row = rowFound != sidecar.rows.end() ? rowFound->second : SidecarRow{};
        const auto old = known.find(file.relativePath);
        const bool isNew = old == known.end();
        const bool fileChanged =
            isNew || old->second.fileSize != file.size || old->second.fileMtime != file.mtimeNanos;
        if (!fileChanged && old->second.metaSig == row.signature) {
            ++report.unchanged;
            continue;
        }

        VideoRecord video;
        video.path = file.relativePath;
        video.id = VideoIdForPath(file.relativePath);
        video.fileSize = file.size;
        video.fileMtime = file.mtimeNanos;
        video.metaSig = row.signature;
        video.seconds = !fileChanged ? old->second.seconds : 0;
        std::string tagTitle;
        const bool needProbe = fileChanged ? (!row.seconds || !row.title) : !row.title;
        if (needProbe) {
            const ProbeResult probe = prober(file.absolutePath);
            if (!probe && !row.seconds && fileChanged) {
                report.warnings.push_back(file.relativePath + ": " + probe.error + ", skipped");
                ++report.skipped;
                continue;
            }
            if (probe) {
                video.seconds = static_cast<int>(std::lround(probe.seconds));
                tagTitle = RepairUtf8(probe.title);
            }
        }
        if (row.seconds) {
            video.seconds = *row.seconds;
        }
        video.title = row.title           ? *row.title
                      : !tagTitle.empty() ? tagTitle
                                          : TitleFromFileName(file.relativePath);
        video.description = row.description.value_or("");
        video.language = row.language.value_or("");
        video.rating = row.rating.value_or(0.0);
        video.raters = row.raters.value_or(0);
        const std::int64_t modified = file.mtimeNanos / 1000000000;
        video.published = row.published.value_or(modified);
        video.updated = std::max(video.published, modified);
        upserts.push_back(std::move(video));
        ++(isNew ? report.added : report.updated);
    }

    std::vector<std::string> removed;
    for (const auto& entry : known) {
        if (!seen.count(entry.first)) {
            removed.push_back(entry.first);
        }
    }
    report.removed = static_cast<int>(removed.size());
    if (!catalogue.Apply(upserts, removed, report.error)) {
        report.added = report.updated = report.removed = 0;
    }
    return report;
}

}  // namespace tunova::server
