// Process facilities: the named lock across processes, the published window list and system
// commands delivered through it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "bench/support/pump_events.h"
#include "platform/core/runtime_dir_impl.h"
#include "platform/core/system.h"
#include "platform/window/application.h"
#include "platform/window/window.h"

namespace plat {
namespace {

std::string UniqueName(const char* base) {
    return std::string(base) + "-" + std::to_string(::getpid());
}

// Runs `probe` in a child process and returns its exit code (the child touches no Qt state).
int InChild(const std::function<int()>& probe) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(probe());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SystemTest, NamedMutexIsExclusiveAcrossProcessesAndFreedWithItsOwner) {
    const std::string name = UniqueName("test-mutex");
    auto probe = [&] {
        NamedMutex other(name);
        if (!other.Create()) {
            return 2;
        }
        return other.AlreadyExists() ? 1 : 0;
    };
    EXPECT_EQ(InChild(probe), 0);  // nobody holds it yet
    {
        NamedMutex first(name);
        ASSERT_TRUE(first.Create());
        EXPECT_FALSE(first.AlreadyExists());
        EXPECT_EQ(InChild(probe), 1);
        NamedMutex second(name);  // a second holder in this process is refused as well
        ASSERT_TRUE(second.Create());
        EXPECT_TRUE(second.AlreadyExists());
    }
    EXPECT_EQ(InChild(probe), 0);
    // A name cannot climb out of the runtime folder.
    NamedMutex hostile("../../etc/x");
    EXPECT_TRUE(hostile.Create());
}

bool PumpUntil(const std::function<bool()>& done) {
    return tunova::support::PumpUntil(done, 5000);
}

const TopLevelWindow* FindOurs(const std::vector<TopLevelWindow>& all, const std::string& title) {
    for (const TopLevelWindow& w : all) {
        if (w.processId == CurrentProcessId() && w.title == title) {
            return &w;
        }
    }
    return nullptr;
}

TEST(SystemTest, TitledWindowsArePublishedAndReceiveSystemCommands) {
    // "Tunova " + CP949 for the Korean word for player.
    const std::string title =
        "Tunova \xc7\xc3\xb7\xb9\xc0\xcc\xbe\xee " + std::to_string(::getpid());
    Window window;
    ASSERT_TRUE(window.Create(nullptr, 102, Rect::FromXYWH(0, 0, 100, 100)));
    EXPECT_EQ(FindOurs(EnumTopLevelWindows(), title), nullptr);
    window.SetText(title);
    const auto all = EnumTopLevelWindows();
    const TopLevelWindow* found = FindOurs(all, title);
    ASSERT_NE(found, nullptr);
    const TopLevelWindow target = *found;

    std::vector<WParam> commands;
    window.Messages().OnMessage(kWmSysCommand, [&](WParam w, LParam) {
        commands.push_back(w);
        return LResult{0};
    });
    // From this thread: posted directly.
    EXPECT_TRUE(SendSystemCommand(target, kScRestore));
    EXPECT_TRUE(PumpUntil([&] { return commands.size() == 1; }));
    // From another thread: through the process's command socket.
    bool sent = false;
    std::thread other([&] { sent = SendSystemCommand(target, kScMinimize); });
    EXPECT_TRUE(PumpUntil([&] { return commands.size() == 2; }));
    other.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(commands, (std::vector<WParam>{kScRestore, kScMinimize}));

    window.Destroy();
    EXPECT_EQ(FindOurs(EnumTopLevelWindows(), title), nullptr);
    EXPECT_FALSE(SendSystemCommand(target, kScRestore));
}

TEST(SystemTest, RestoreCommandShowsAMinimizedWindow) {
    Window window;
    ASSERT_TRUE(window.Create(nullptr, 102, Rect::FromXYWH(0, 0, 100, 100)));
    window.SetText("restore " + std::to_string(::getpid()));
    const TopLevelWindow* found = nullptr;
    const auto all = EnumTopLevelWindows();
    found = FindOurs(all, "restore " + std::to_string(::getpid()));
    ASSERT_NE(found, nullptr);
    window.ShowMinimized();
    window.Show(false);
    ASSERT_TRUE(SendSystemCommand(*found, kScRestore));
    EXPECT_TRUE(PumpUntil([&] { return window.IsVisible() && !window.IsMinimized(); }));
}

TEST(SystemTest, EntriesOfDeadProcessesAreSkipped) {
    // A child publishes nothing but leaves a stale entry behind, as a crashed instance would.
    const pid_t dead = ::fork();
    if (dead == 0) {
        ::_exit(0);
    }
    ::waitpid(dead, nullptr, 0);
    Window window;
    ASSERT_TRUE(window.Create(nullptr, 1, Rect::FromXYWH(0, 0, 10, 10)));
    window.SetText("alive");  // makes sure the folder exists
    const std::string stale = RuntimeDir() + "/tunova-windows/" + std::to_string(dead) + "-7";
    {
        std::ofstream out(stale);
        out << "ghost";
    }
    bool sawAlive = false;
    for (const TopLevelWindow& w : EnumTopLevelWindows()) {
        EXPECT_NE(w.processId, dead);
        sawAlive = sawAlive || (w.processId == CurrentProcessId() && w.title == "alive");
    }
    EXPECT_TRUE(sawAlive);
    EXPECT_NE(::access(stale.c_str(), F_OK), 0);  // cleaned away
}

}  // namespace
}  // namespace plat
