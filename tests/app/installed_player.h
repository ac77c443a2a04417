// What a started player needs from outside to come on screen: the installed version in the
// settings store (an installer writes it) and an update server that answers. Tests that start
// a main window, in this process or as a real player process, set both up first.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/core/files.h"
#include "platform/desktop/settings_store.h"
#include "support/loopback_server.h"

namespace tunova::testing {

// Makes `server` answer as the update server and vendor web host: the probe, the version
// `*version` (read at each request, so a test may change it) and the counter; 404 otherwise.
inline void AnswerAsUpdateServer(LoopbackServer& server,
                                 std::shared_ptr<const std::string> version) {
    server.SetHandler([version](const ServerRequest& request) {
        ServerReply reply;
        reply.contentType = "text/plain";
        if (request.target == "/update/player_ver.php") {
            reply.body = *version;
        } else if (request.target.starts_with("/update/update_tunova.php") ||
                   request.target.starts_with("/web/counter/insert.php")) {
            reply.body = "ok\n";
        } else {
            reply.status = 404;
        }
        return reply;
    });
}

// A fresh settings store holding the installed version `version`, as after installation.
inline void InstallPlayerVersion(const std::string& version) {
    plat::DeleteFile(plat::SettingsStorePath());
    ASSERT_TRUE(plat::SettingsKey::Open("SOFTWARE\\tunova").WriteString("tunova_ver", version));
}

}  // namespace tunova::testing
