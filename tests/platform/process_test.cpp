// Processes: which helper files may be started, starting them without a shell or a zombie, and
// finding running processes by exact name.
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "platform/core/files.h"
#include "platform/core/process.h"

namespace plat {
namespace {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10'000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class ProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tunova-process-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        ReplaceFile(dir_ + "/release", "");  // lets any script still waiting end
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }

    // A shell script in the test folder with `mode`.
    std::string Script(const std::string& name, const std::string& body, mode_t mode = 0755) {
        const std::string path = dir_ + "/" + name;
        EXPECT_TRUE(ReplaceFile(path, "#!/bin/sh\n" + body + "\n"));
        ::chmod(path.c_str(), mode);
        return path;
    }
    // A script that writes "started", waits for "release", then ends.
    std::string HoldingScript(const std::string& name) {
        return Script(name, "echo $$ > '" + dir_ + "/started'\nwhile [ ! -e '" + dir_ +
                                "/release' ]; do sleep 0.02; done\n:");
    }

    std::string dir_;
};

TEST_F(ProcessTest, OnlySafeExecutablesMayBeStarted) {
    EXPECT_EQ(CheckSafeExecutable(dir_ + "/tunova_helper.exe").error, LaunchError::kMissing);
    EXPECT_EQ(StartExecutable(dir_ + "/tunova_helper.exe").error, LaunchError::kMissing);
    EXPECT_TRUE(CheckSafeExecutable(Script("good", "exit 0")));
    EXPECT_EQ(CheckSafeExecutable(Script("plain", "exit 0", 0644)).error, LaunchError::kUnsafe);
    EXPECT_EQ(CheckSafeExecutable(Script("group", "exit 0", 0775)).error, LaunchError::kUnsafe);
    EXPECT_EQ(CheckSafeExecutable(Script("others", "exit 0", 0757)).error, LaunchError::kUnsafe);
    const std::string foreign = Script("foreign", "exit 0");
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);  // nobody
    EXPECT_EQ(CheckSafeExecutable(foreign).error, LaunchError::kUnsafe);
    ASSERT_TRUE(MakeFolders(dir_ + "/folder.exe"));
    EXPECT_EQ(CheckSafeExecutable(dir_ + "/folder.exe").error, LaunchError::kUnsafe);
    // A link is judged by the file it leads to.
    ASSERT_EQ(::symlink((dir_ + "/good").c_str(), (dir_ + "/link-good").c_str()), 0);
    ASSERT_EQ(::symlink((dir_ + "/group").c_str(), (dir_ + "/link-group").c_str()), 0);
    EXPECT_TRUE(CheckSafeExecutable(dir_ + "/link-good"));
    EXPECT_EQ(CheckSafeExecutable(dir_ + "/link-group").error, LaunchError::kUnsafe);
    // A folder anyone may write to lets anyone swap the file.
    ::chmod(dir_.c_str(), 0777);
    EXPECT_EQ(CheckSafeExecutable(dir_ + "/good").error, LaunchError::kUnsafe);
    ::chmod(dir_.c_str(), 0700);
    // An unsafe file is never run.
    const std::string marker = dir_ + "/ran";
    EXPECT_FALSE(StartExecutable(Script("unsafe", "touch '" + marker + "'", 0777)));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(FileExists(marker));
}

TEST_F(ProcessTest, AStartedHelperRunsDetachedAndLeavesNoZombie) {
    // Arguments and the shell play no part: the file itself is executed.
    const std::string helper = Script("tunova_helper.exe", "echo \"$#:$0\" > '" + dir_ + "/ran'");
    ASSERT_TRUE(StartExecutable(helper));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(dir_ + "/ran"); }));
    std::string ran;
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(dir_ + "/ran", ran) && !ran.empty(); }));
    EXPECT_EQ(ran, "0:" + helper + "\n");
    // Neither the helper nor the intermediate process is our child: nothing to reap, ever.
    ASSERT_TRUE(WaitUntil([] { return !IsProcessRunning("tunova_helper.exe"); }));
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    // A file that is not a program fails to start and says so.
    const std::string notProgram = dir_ + "/text.exe";
    ASSERT_TRUE(ReplaceFile(notProgram, "just text\n"));
    ::chmod(notProgram.c_str(), 0755);
    const LaunchResult failed = StartExecutable(notProgram);
    EXPECT_EQ(failed.error, LaunchError::kStartFailed);
    EXPECT_NE(failed.description.find("text.exe"), std::string::npos);
}

TEST_F(ProcessTest, ARunningProcessIsFoundByItsExactNameOnly) {
    EXPECT_FALSE(IsProcessRunning("tunova_helper.exe"));
    ASSERT_TRUE(StartExecutable(HoldingScript("tunova_helper.exe")));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(dir_ + "/started"); }));
    EXPECT_TRUE(IsProcessRunning("tunova_helper.exe"));
    EXPECT_FALSE(IsProcessRunning("TUNOVA_HELPER.EXE"));
    EXPECT_FALSE(IsProcessRunning("tunova_helper"));
    EXPECT_FALSE(IsProcessRunning("unova_helper.exe"));
    EXPECT_FALSE(IsProcessRunning(""));
    ASSERT_TRUE(ReplaceFile(dir_ + "/release", ""));
    EXPECT_TRUE(WaitUntil([] { return !IsProcessRunning("tunova_helper.exe"); }));
}

TEST_F(ProcessTest, NamesLongerThanTheKernelKeepsAreMatchedWhole) {
    const std::string name = "tunova_long_updater.exe";  // the kernel keeps 15 bytes
    ASSERT_TRUE(StartExecutable(HoldingScript(name)));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(dir_ + "/started"); }));
    EXPECT_TRUE(IsProcessRunning(name));
    EXPECT_FALSE(IsProcessRunning("tunova_long_upd"));
    EXPECT_FALSE(IsProcessRunning("tunova_long_updater.ex"));
    ASSERT_TRUE(ReplaceFile(dir_ + "/release", ""));
    EXPECT_TRUE(WaitUntil([&] { return !IsProcessRunning(name); }));
}

TEST_F(ProcessTest, AZombieIsNotRunning) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::prctl(PR_SET_NAME, "tunova-zombie");
        ::_exit(0);
    }
    const std::string stat = "/proc/" + std::to_string(child) + "/stat";
    std::string text;
    ASSERT_TRUE(WaitUntil([&] {
        return ReadFile(stat, text) && text.find("(tunova-zombie) Z") != std::string::npos;
    }));
    EXPECT_FALSE(IsProcessRunning("tunova-zombie"));
    ::waitpid(child, nullptr, 0);
}

TEST(ProcessPathTest, TheProgramKnowsItsOwnPath) {
    const std::string self = ExecutablePath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(self.substr(self.rfind('/') + 1), "platform_tests");
    EXPECT_TRUE(IsProcessRunning("platform_tests"));
}

}  // namespace
}  // namespace plat
