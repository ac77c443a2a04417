#include "app/remote_commands.h"

#include <cstdio>

#include "app/main_window_title.h"
#include "app/single_instance.h"
#include "platform/core/codepage.h"

namespace tunova {

std::string RemoteSearchWord(std::string_view utf8) {
    const std::string cp949 = plat::Utf8ToCp949(utf8);
    return std::string(plat::CutCp949(cp949, kMaxRemoteSearchBytes));
}

std::optional<int> ForwardRemoteCommand(const AppServices& services,
                                        const CommandLineOptions& options) {
    const std::string& name = options.remoteCommand;
    if (!AnotherTunovaRunning()) {
        if (name == kRemoteSearch) {
            return std::nullopt;
        }
        std::fprintf(stderr, "tunova: no player is running\n");
        return 1;
    }
    const std::string argument = name == kRemoteSearch ? RemoteSearchWord(options.searchWord) : "";
    const plat::RequestResult result =
        SendToRunningCopy(services.machine.clock, kMainWindowTitle, name, argument);
    switch (result.status) {
        case plat::RequestStatus::kAnswered:
            return 0;
        case plat::RequestStatus::kRefused:
            std::fprintf(stderr, "tunova: the running player refused --%s\n", name.c_str());
            return 1;
        case plat::RequestStatus::kUnreachable:
            break;
    }
    std::fprintf(stderr, "tunova: the running player does not answer\n");
    return 1;
}

}  // namespace tunova
