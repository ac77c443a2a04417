// The update flow's requests with their attempts, pauses and deadlines; the updater; web links.
#include "services/update_check.h"

#include <algorithm>
#include <optional>

#include "platform/controls/web_link.h"
#include "platform/core/log.h"
#include "platform/core/number_text.h"
#include "services/registry_keys.h"
#include "services/version_text.h"

namespace tunova {
namespace {

constexpr std::string_view kLogArea = "update";
constexpr char kProbePath[] = "/update/update_tunova.php";
constexpr char kVersionPath[] = "/update/player_ver.php";
constexpr char kBoardPath[] = "/web/bbs/board.php?bo_table=freeboard";
constexpr char kAgent[] = "total";
constexpr int kProbeRetries = 10;
constexpr int kFetchAttempts = 62;
constexpr std::size_t kLongestAnswer = 100;
constexpr std::size_t kAnswerReadLimit = 4096;
constexpr char kNoAnswer[] = "false";

// An HTTP answer arrived, whatever its status (a body over the limit still means one did).
bool Answered(const plat::HttpResponse& response) {
    return response || response.error == plat::HttpError::kTooLarge;
}

// Requests `path` of `host` until an attempt is answered, at most `maxAttempts` times, pausing
// after each failure, and never past the loop's deadline. Nothing when no attempt succeeded.
std::optional<plat::HttpResponse> RequestWithRetries(const plat::MachineServices& machine,
                                                     const std::string& host,
                                                     const std::string& path, int maxAttempts,
                                                     std::size_t maxBody,
                                                     const NetworkTimings& timings) {
    plat::Clock& clock = machine.clock;
    const std::uint32_t start = clock.TickCount();
    plat::HttpOptions options;
    options.userAgent = kAgent;
    options.maxBodyBytes = maxBody;
    for (int attempt = 1;; ++attempt) {
        const std::uint32_t elapsed = clock.TickCount() - start;
        if (elapsed >= timings.deadlineMs) {
            plat::LogError(kLogArea, host + path + ": gave up after " + std::to_string(elapsed) +
                                         " ms, " + std::to_string(attempt - 1) + " attempts");
            return std::nullopt;
        }
        const long remaining = static_cast<long>(timings.deadlineMs - elapsed);
        options.connectTimeoutMs = std::min(timings.connectTimeoutMs, remaining);
        options.totalTimeoutMs = std::min(timings.attemptTimeoutMs, remaining);
        plat::HttpResponse response = machine.http(host, path, options);
        if (Answered(response)) {
            plat::LogInfo(kLogArea, host + path + ": HTTP " + std::to_string(response.status) +
                                        " on attempt " + std::to_string(attempt));
            return response;
        }
        plat::LogDebug(kLogArea, host + path + ": attempt " + std::to_string(attempt) + ": " +
                                     response.description);
        if (response.error == plat::HttpError::kBadRequest) {
            plat::LogError(kLogArea, host + path + ": " + response.description);
            return std::nullopt;  // an unusable address stays unusable
        }
        clock.Sleep(timings.pauseMs);
        if (attempt >= maxAttempts) {
            plat::LogError(kLogArea, host + path + ": no answer in " + std::to_string(attempt) +
                                         " attempts: " + response.description);
            return std::nullopt;
        }
    }
}

std::string WebAddress(const std::string& webHost, std::string_view path) {
    return "http://" + webHost + std::string(path);
}

}  // namespace

bool StartedByAutostart(const std::vector<std::string>& arguments) {
    return std::find(arguments.begin(), arguments.end(), kAutostartArgument) != arguments.end();
}

bool CheckServerReachable(const plat::MachineServices& machine, bool startedByAutostart,
                          const std::string& updateHost, const NetworkTimings& timings) {
    const int retryLimit = startedByAutostart ? 0 : kProbeRetries;
    return RequestWithRetries(machine, updateHost, kProbePath, retryLimit + 1, 64 * 1024, timings)
        .has_value();
}

std::string FetchUrlText(const plat::MachineServices& machine, const std::string& host,
                         const std::string& path, const NetworkTimings& timings) {
    const std::optional<plat::HttpResponse> response =
        RequestWithRetries(machine, host, path, kFetchAttempts, kAnswerReadLimit, timings);
    if (!response || !*response) {
        return kNoAnswer;  // no answer, or one too long to read
    }
    // An error page is not an answer: its text ("404 Not Found") must not read as a version.
    if (response->status < 200 || response->status > 299) {
        plat::LogError(kLogArea, host + path + ": HTTP " + std::to_string(response->status));
        return kNoAnswer;
    }
    if (response->body.size() > kLongestAnswer) {
        return kNoAnswer;
    }
    return response->body;
}

int FetchServerVersion(const plat::MachineServices& machine, const std::string& updateHost,
                       const NetworkTimings& timings) {
    const std::string answer = FetchUrlText(machine, updateHost, kVersionPath, timings);
    const int version = answer == kNoAnswer ? -1 : plat::ReadLeadingInteger(answer);
    plat::LogInfo(kLogArea, "server version " + std::to_string(version));
    return version;
}

bool IsInstalledVersionCurrent(const plat::SettingsStore& store, int serverVersion) {
    plat::SettingsKey key = store.Open(kTunovaKey);
    const std::optional<std::string> installed =
        ReadRegistryString(key, kValueVersion, kVersionCapacity);
    if (installed && ReadVersionNumber(*installed) >= serverVersion) {
        return true;
    }
    plat::LogInfo(kLogArea, installed ? "installed version " + *installed + " is outdated"
                                      : std::string("no installed version"));
    if (const plat::StoreResult removed = key.DeleteValue(kValueVersionUp); !removed) {
        plat::LogError(kLogArea, "tunova_verup: " + removed.description);
    }
    return false;
}

std::string VersionNoticeText(const std::string& webHost) {
    return "투노바 플레이어를 최신버전으로 설치 / 업데이트해 주세요\r\n투노바 홈페이지 " +
           HomePageAddress(webHost);
}

plat::LaunchResult LaunchUpdater(const std::string& folder) {
    const std::string path = folder + "/" + kUpdaterName;
    plat::LaunchResult result = plat::StartExecutable(path);
    if (result) {
        plat::LogInfo(kLogArea, "updater started: " + path);
    } else if (result.error == plat::LaunchError::kMissing) {
        plat::LogInfo(kLogArea, "no updater: " + result.description);
    } else {
        plat::LogError(kLogArea, "updater not started: " + result.description);
    }
    return result;
}

bool IsUpdaterRunning() {
    return plat::IsProcessRunning(kUpdaterName);
}

std::string HomePageAddress(const std::string& webHost) {
    return WebAddress(webHost, "/");
}

std::string QnaBoardAddress(const std::string& webHost) {
    return WebAddress(webHost, kBoardPath);
}

bool OpenHomePage(const std::string& webHost) {
    return plat::OpenInBrowser(HomePageAddress(webHost));
}

bool OpenQnaBoard(const std::string& webHost) {
    return plat::OpenInBrowser(QnaBoardAddress(webHost));
}

}  // namespace tunova
