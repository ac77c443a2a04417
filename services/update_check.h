// The update server's reachability probe, the version check against the installed version, the
// updater beside the player, and the vendor's web pages.
//
// Every request has its own time limits and every retry loop one overall deadline, all on the
// clock of the machine services it is given (platform/desktop/machine_services.h), through their
// HTTP function, so a server that never answers costs at most about 15 s per loop instead of
// minutes. The pauses between attempts are that clock's sleeps. At start-up the probe,
// the usage count and the version check share one such budget (ServicesController), so the
// window shows within about 16 s whatever the servers do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/process.h"
#include "platform/desktop/machine_services.h"

namespace tunova {

struct NetworkTimings {
    std::uint32_t pauseMs = 100;             // between failed attempts
    std::uint32_t deadlineMs = 14'500;       // for a whole retry loop, pauses included
    long connectTimeoutMs = 2'000;           // for one attempt to connect
    long attemptTimeoutMs = 5'000;           // for one attempt in all
    std::uint32_t startupBudgetMs = 14'500;  // for all requests of one start-up together
};

// The updater's file name, beside the player (in its data folder).
inline constexpr char kUpdaterName[] = "tnu_update.exe";

// The argument the autostart entry starts the player with.
inline constexpr char kAutostartArgument[] = "/run";

// True when one of the arguments (program name excluded) is exactly "/run", the autostart
// entry's. Such a start probes once and sends no usage count. A word that merely holds "run"
// ("--search running", a program folder named "rerun") is a start by the user.
bool StartedByAutostart(const std::vector<std::string>& arguments);

// Requests "/update/update_tunova.php" of `updateHost` until one attempt gets any HTTP answer:
// one attempt when started by autostart, else up to 11, with a pause after each failure.
bool CheckServerReachable(const plat::MachineServices& machine, bool startedByAutostart,
                          const std::string& updateHost, const NetworkTimings& timings = {});

// GET `path` of `host` with up to 62 attempts; the body as received, or "false" when no attempt
// got an answer, the status was not a success, or the body is longer than 100 bytes (bodies
// over 4 KiB are not read at all).
std::string FetchUrlText(const plat::MachineServices& machine, const std::string& host,
                         const std::string& path, const NetworkTimings& timings = {});

// The number "/update/player_ver.php" announces, or -1 when it gave none ("false").
int FetchServerVersion(const plat::MachineServices& machine, const std::string& updateHost,
                       const NetworkTimings& timings = {});

// True when "tunova_ver" of `store` is present and its integer part is at least
// `serverVersion`. Otherwise deletes "tunova_verup" and returns false.
bool IsInstalledVersionCurrent(const plat::SettingsStore& store, int serverVersion);

// The notice shown when the installed version is outdated, naming the home page.
std::string VersionNoticeText(const std::string& webHost);
inline constexpr char kVersionNoticeCaption[] = "투노바";

// Starts the updater "tnu_update.exe" of `folder` directly. A missing updater, or one that is
// not safe to run (platform/core/process.h), is not an error: nothing starts and the reason is
// logged. The result says what happened.
plat::LaunchResult LaunchUpdater(const std::string& folder);

// True while a process named "tnu_update.exe" runs.
bool IsUpdaterRunning();

// The vendor's pages, opened in the default browser.
std::string HomePageAddress(const std::string& webHost);
std::string QnaBoardAddress(const std::string& webHost);
bool OpenHomePage(const std::string& webHost);
bool OpenQnaBoard(const std::string& webHost);

}  // namespace tunova
