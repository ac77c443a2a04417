// One running copy: the marker between processes, and the hand-over to the running copy.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/single_instance.h"
#include "app/tunova_dlg.h"
#include "installed_player.h"
#include "platform/core/system.h"
#include "platform/window/application.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"
#include "support/test_paths.h"

extern char** environ;

namespace tunova {
namespace {

pid_t Spawn(const std::string& path) {
    pid_t pid = -1;
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0) {
        return -1;
    }
    return pid;
}

bool HasPlayerWindowOf(pid_t pid) {
    for (const auto& w : plat::EnumTopLevelWindows()) {
        if (w.processId == pid && w.title.rfind(kMainWindowTitle, 0) == 0) {
            return true;
        }
    }
    return false;
}

TEST(SingleInstanceTest, SecondCopyRestoresTheFirstAndExitsLeavingOneProcess) {
    // The first copy must come up: it finds its update server and its installed version.
    testing::LoopbackServer updateServer;
    testing::AnswerAsUpdateServer(updateServer, std::make_shared<std::string>("1"));
    testing::UseHost(updateServer.Host());
    testing::InstallPlayerVersion("1");
    const std::string player = tunova::testing::RunDir() + "/tunova";
    ASSERT_EQ(access(player.c_str(), X_OK), 0) << player;
    std::string runtimeTemplate = testing::TestHome() + "/instance-XXXXXX";
    ASSERT_NE(mkdtemp(runtimeTemplate.data()), nullptr);
    setenv("XDG_RUNTIME_DIR", runtimeTemplate.c_str(), 1);

    const pid_t first = Spawn(player);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(testing::PumpUntil([&] { return HasPlayerWindowOf(first); }, 60'000))
        << "the first copy never published its window";

    const pid_t second = Spawn(player);
    ASSERT_GT(second, 0);
    int status = 0;
    const bool secondEnded =
        testing::PumpUntil([&] { return waitpid(second, &status, WNOHANG) == second; }, 60'000);
    if (!secondEnded) {
        kill(second, SIGKILL);
        waitpid(second, nullptr, 0);
    }
    const bool firstAlive = waitpid(first, nullptr, WNOHANG) == 0;
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);

    ASSERT_TRUE(secondEnded) << "the second copy kept running";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(firstAlive);
    EXPECT_FALSE(HasPlayerWindowOf(second));
    testing::UseHost(testing::kNoHost);
}

TEST(SingleInstanceTest, AnyWindowTitledLikeThePlayerIsTakenForTheRunningCopy) {
    std::string runtimeTemplate = testing::TestHome() + "/instance-XXXXXX";
    ASSERT_NE(mkdtemp(runtimeTemplate.data()), nullptr);
    setenv("XDG_RUNTIME_DIR", runtimeTemplate.c_str(), 1);

    EXPECT_FALSE(RestoreWindowTitled(kMainWindowTitle)) << "nothing to restore yet";

    plat::Window other;
    ASSERT_TRUE(other.Create(nullptr, 0, plat::Rect::FromXYWH(10, 10, 100, 80), plat::kStylePopup));
    int restores = 0;
    other.Messages().OnMessage(plat::kWmSysCommand, [&](plat::WParam w, plat::LParam) {
        restores += (static_cast<int>(w) & 0xFFF0) == plat::kScRestore ? 1 : 0;
        return plat::LResult{0};
    });
    other.SetText(std::string(kMainWindowTitle) + " - another program");
    EXPECT_TRUE(RestoreWindowTitled(kMainWindowTitle));
    EXPECT_TRUE(testing::PumpUntil([&] { return restores == 1; }, 10'000));

    plat::Window unrelated;
    ASSERT_TRUE(
        unrelated.Create(nullptr, 0, plat::Rect::FromXYWH(10, 10, 100, 80), plat::kStylePopup));
    unrelated.SetText("Tunova");  // shorter than the prefix: no match
    other.Destroy();
    EXPECT_FALSE(RestoreWindowTitled(kMainWindowTitle));
}

}  // namespace
}  // namespace tunova
