// Entry point: the command line first (help, playlist files, player commands for a running
// copy), then the platform's application and the program's.
#include <cstdio>
#include <optional>
#include <string>

#include "app/app_services.h"
#include "app/command_line.h"
#include "app/player_engine.h"
#include "app/playlist_command.h"
#include "app/remote_commands.h"
#include "app/tunova_app.h"
#include "platform/core/allocator.h"
#include "platform/core/log.h"
#include "platform/window/application.h"
#include "platform/window/termination.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitized build (the one the tests start): the web engine's own library frees memory with
// a mismatched delete (not our code), and Qt's allocations for the life of the process would
// drown real leaks. ASAN_OPTIONS from the environment still add to or override these.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0:new_delete_type_mismatch=0";
}
#endif

int main(int argc, char** argv) {
    plat::Trace(plat::kTraceProcessStart);
    plat::ReturnLargeBlocksWhenFreed();
    const tunova::CommandLineOptions options = tunova::ParseCommandLine(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "tunova: %s\n\n%s", options.error.c_str(),
                     tunova::CommandLineHelp().c_str());
        return tunova::kExitUsage;
    }
    if (options.help) {
        std::fputs(tunova::CommandLineHelp().c_str(), stdout);
        return 0;
    }
    // The hosts and the machine's clock, settings store and HTTP, read once here and handed to
    // whatever this start does.
    const tunova::AppServices services = tunova::LoadAppServices();
    if (tunova::WantsPlaylistCommand(options)) {
        return tunova::RunPlaylistCommand(services, options, argc, argv);
    }
    if (!options.remoteCommand.empty()) {
        if (const std::optional<int> status = tunova::ForwardRemoteCommand(services, options)) {
            return *status;
        }
    }
    // Only the page engine needs the web engine's OpenGL, and the mpv engine when it draws with
    // OpenGL; otherwise the player plays with mpv without it.
    plat::Application application(argc, argv,
                                  {.openGl = tunova::PlayerEngineNeedsOpenGl(
                                       services.hosts.playerEngine, services.hosts.mpvRender)});
    // Logout, shutdown, a closed terminal or Ctrl-C close the window as the user would, so the
    // playlist is saved.
    plat::EndOnTerminationSignals(
        [](int signal) { plat::LogInfo("app", "ending on signal " + std::to_string(signal)); });
    tunova::CTunovaApp app(services);
    if (!options.searchWord.empty()) {
        app.SearchAtStart(tunova::RemoteSearchWord(options.searchWord));
    }
    app.InitInstance();
    return 0;
}
