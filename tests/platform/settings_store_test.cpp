// The settings store: its file format, refusals, and writers in several processes at once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/core/files.h"
#include "platform/desktop/settings_store.h"

namespace plat {
namespace {

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tunova-store-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        store_ = dir_ + "/tunova/registry.ini";
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    std::string StoreText() const {
        std::string text;
        ReadFile(store_, text);
        return text;
    }
    void WriteStoreText(const std::string& text) {
        ASSERT_TRUE(MakeFolders(dir_ + "/tunova"));
        ASSERT_TRUE(ReplaceFile(store_, text));
    }
    bool TemporaryLeft() const {
        DIR* d = ::opendir((dir_ + "/tunova").c_str());
        bool found = false;
        while (const dirent* e = ::readdir(d)) {
            found = found || std::string(e->d_name).starts_with(".registry.ini.tmp.");
        }
        ::closedir(d);
        return found;
    }

    std::string dir_;
    std::string store_;
};

TEST_F(SettingsStoreTest, OpeningCreatesTheKeyAndValuesRoundTrip) {
    SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova\\count", store_);
    ASSERT_TRUE(key.IsOpen()) << key.OpenResult().description;
    EXPECT_EQ(StoreText(), "[SOFTWARE\\tunova\\count]\n");
    EXPECT_FALSE(key.ReadString("count_exe"));
    ASSERT_TRUE(key.WriteString("count_exe", "1"));
    ASSERT_TRUE(key.WriteString("count_exe", "261208"));
    EXPECT_EQ(key.ReadString("count_exe"), "261208");
    // Korean text in the program's code page, '=' and blanks inside a value survive.
    const std::string korean = "\xC5\xF5\xB3\xEB\xB9\xD9 = a=b ";
    ASSERT_TRUE(key.WriteString("title", korean));
    ASSERT_TRUE(key.WriteString("empty", ""));
    SettingsKey again = SettingsKey::Open("software\\TUNOVA\\Count", store_);
    EXPECT_EQ(again.ReadString("TITLE"), korean);
    EXPECT_EQ(again.ReadString("empty"), "");
    EXPECT_EQ(StoreText(),
              "[SOFTWARE\\tunova\\count]\ncount_exe=261208\ntitle=" + korean + "\nempty=\n");
}

TEST_F(SettingsStoreTest, LinesItDoesNotUnderstandAreKeptAsTheyAre) {
    const std::string original =
        "\xEF\xBB\xBF; written by hand\r\n"
        "stray line before any section\n"
        "[SOFTWARE\\tunova]\r\n"
        "  PID = partner\r\n"
        "# a comment\n"
        "no equals sign here\n"
        "\n"
        "[Other]\n"
        "x=1";
    WriteStoreText(original);
    SettingsKey key = SettingsKey::Open("SOFTWARE\\TUNOVA", store_);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(StoreText(), original);  // opening an existing key writes nothing
    EXPECT_EQ(key.ReadString("pid"), " partner");
    ASSERT_TRUE(key.WriteString("tunova_ver", "3"));
    ASSERT_TRUE(key.WriteString("pid", "tunova"));
    ASSERT_TRUE(SettingsKey::Open("SOFTWARE\\tunova\\setting", store_).WriteString("a", "b"));
    EXPECT_EQ(StoreText(),
              "\xEF\xBB\xBF; written by hand\r\n"
              "stray line before any section\n"
              "[SOFTWARE\\tunova]\r\n"
              "PID=tunova\n"
              "tunova_ver=3\n"  // after the key's last value
              "# a comment\n"
              "no equals sign here\n"
              "\n"
              "[Other]\n"
              "x=1\n"
              "[SOFTWARE\\tunova\\setting]\n"
              "a=b\n");
}

TEST_F(SettingsStoreTest, AKeyInSeveralSectionsReadsFirstAndDeletesEveryCopy) {
    WriteStoreText(
        "[SOFTWARE\\tunova]\ntunova_verup=1\n[x]\n[software\\tunova]\n"
        "tunova_verup=2\ndownday=261207\n");
    SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova", store_);
    EXPECT_EQ(key.ReadString("downday"), "261207");
    EXPECT_EQ(key.ReadString("tunova_verup"), "1");
    ASSERT_TRUE(key.DeleteValue("TUNOVA_VERUP"));
    EXPECT_FALSE(key.ReadString("tunova_verup"));  // no second copy shows through
    EXPECT_TRUE(key.DeleteValue("tunova_verup"));  // deleting a missing value is harmless
    ASSERT_TRUE(key.WriteString("downday", "261208"));
    EXPECT_EQ(StoreText(), "[SOFTWARE\\tunova]\n[x]\n[software\\tunova]\ndownday=261208\n");
}

TEST_F(SettingsStoreTest, ValuesTooLongForTheReaderReadAsAbsent) {
    SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova", store_);
    ASSERT_TRUE(key.WriteString("pid", std::string(259, 'p')));
    EXPECT_EQ(key.ReadString("pid")->size(), 259u);
    ASSERT_TRUE(key.WriteString("pid", std::string(260, 'p')));
    EXPECT_FALSE(key.ReadString("pid"));
    EXPECT_FALSE(key.ReadString("pid", 260));
    EXPECT_TRUE(key.ReadString("pid", 261));
    ASSERT_TRUE(key.WriteString("tunova_ver", std::string(199, '9')));
    EXPECT_FALSE(key.ReadString("tunova_ver", 199));
    EXPECT_TRUE(key.ReadString("tunova_ver", 200));
}

TEST_F(SettingsStoreTest, UnsafeValuesAndNamesAreRefusedAndTheFileUntouched) {
    SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova", store_);
    ASSERT_TRUE(key.WriteString("pid", "ok"));
    const std::string before = StoreText();
    for (const std::string& value : {std::string("a\nurl=x"), std::string("a\rb"),
                                     std::string("a\0b", 3), std::string("\n")}) {
        const StoreResult result = key.WriteString("pid", value);
        EXPECT_EQ(result.error, StoreError::kBadValue);
    }
    for (const char* name : {"", "a=b", "[x]", ";c", "#c", " pid", "pid ", "a\nb"}) {
        EXPECT_EQ(key.WriteString(name, "v").error, StoreError::kBadName) << name;
    }
    EXPECT_EQ(StoreText(), before);
    EXPECT_EQ(key.ReadString("pid"), "ok");
    for (const char* path : {"", "a]b", "[a", "a\nb", " a"}) {
        const SettingsKey bad = SettingsKey::Open(path, store_);
        EXPECT_FALSE(bad.IsOpen()) << path;
        EXPECT_EQ(bad.OpenResult().error, StoreError::kBadName);
    }
    EXPECT_EQ(StoreText(), before);
}

TEST_F(SettingsStoreTest, AStoreItCannotReadIsNeverOverwritten) {
    // An oversized file (a runaway editor, a hostile drop) is not parsed and not replaced.
    const std::string huge = "[SOFTWARE\\tunova]\npid=" + std::string(2u << 20, 'x') + "\n";
    WriteStoreText(huge);
    SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova", store_);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.OpenResult().error, StoreError::kUnreadable);
    EXPECT_FALSE(key.ReadString("pid", 1u << 30));
    EXPECT_EQ(key.WriteString("pid", "x").error, StoreError::kNotOpen);
    EXPECT_EQ(StoreText(), huge);
    // A folder where the file should be, and no config folder at all.
    ASSERT_TRUE(DeleteFile(store_));
    ASSERT_TRUE(MakeFolders(store_));
    EXPECT_FALSE(SettingsKey::Open("SOFTWARE\\tunova", store_).IsOpen());
    EXPECT_EQ(SettingsKey::Open("SOFTWARE\\tunova", "").OpenResult().error, StoreError::kNoStore);
}

TEST_F(SettingsStoreTest, DefaultPathFollowsTheConfigFolder) {
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = savedXdg ? savedXdg : "";
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    EXPECT_EQ(SettingsStorePath(), store_);
    ASSERT_TRUE(SettingsKey::Open("SOFTWARE\\tunova").WriteString("pid", "p"));
    EXPECT_EQ(StoreText(), "[SOFTWARE\\tunova]\npid=p\n");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
    EXPECT_EQ(SettingsStorePath(),
              std::string(std::getenv("HOME")) + "/.config/tunova/registry.ini");
    if (savedXdg) {
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

// Two player processes saving at the same moment: every value of both arrives.
TEST_F(SettingsStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kValuesEach = 40;
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        if (children[c] == 0) {
            ::close(gate[1]);
            char go = 0;
            if (::read(gate[0], &go, 1) != 1) {  // both start when the gate opens
                ::_exit(3);
            }
            SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova", store_);
            for (int i = 0; i < kValuesEach; ++i) {
                const std::string name =
                    std::string(1, static_cast<char>('a' + c)) + std::to_string(i);
                if (!key.WriteString(name, name + "-value")) {
                    ::_exit(1);
                }
            }
            ::_exit(0);
        }
    }
    ::close(gate[0]);
    ASSERT_EQ(::write(gate[1], "gg", 2), 2);
    ::close(gate[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova", store_);
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < kValuesEach; ++i) {
            const std::string name = std::string(1, static_cast<char>('a' + c)) + std::to_string(i);
            EXPECT_EQ(key.ReadString(name), name + "-value");
        }
    }
    EXPECT_FALSE(TemporaryLeft());
}

// A writer killed while its new file is half written leaves the previous file whole; the next
// writer clears its temporary file.
TEST_F(SettingsStoreTest, AWriterKilledMidSaveLeavesTheOldFileWhole) {
    constexpr std::size_t kBig = 700'000;
    {
        SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova", store_);
        ASSERT_TRUE(key.WriteString("pid", "keep"));
        ASSERT_TRUE(key.WriteString("blob", std::string(kBig, 'a')));
    }
    const pid_t writer = ::fork();
    if (writer == 0) {
        SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova", store_);
        for (int i = 0;; ++i) {
            key.WriteString("blob", std::string(kBig, static_cast<char>('b' + i % 20)));
        }
    }
    // Kill it once a temporary file shows that a save is under way.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!TemporaryLeft() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    const bool caughtMidSave = TemporaryLeft();
    ::kill(writer, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(caughtMidSave);

    SettingsKey key = SettingsKey::Open("SOFTWARE\\tunova", store_);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(key.ReadString("pid"), "keep");
    const std::optional<std::string> blob = key.ReadString("blob", kBig + 1);
    ASSERT_TRUE(blob);
    ASSERT_EQ(blob->size(), kBig);
    EXPECT_EQ(blob->find_first_not_of(blob->front()), std::string::npos);  // one whole version
    // The dead writer's lock went with it; the next save succeeds and sweeps its temporary.
    ASSERT_TRUE(key.WriteString("pid", "after"));
    EXPECT_FALSE(TemporaryLeft());
    EXPECT_EQ(key.ReadString("pid"), "after");
}

}  // namespace
}  // namespace plat
