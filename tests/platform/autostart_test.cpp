// The Run key as the desktop session's autostart folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/core/files.h"
#include "platform/desktop/autostart.h"
#include "platform/desktop/settings_store.h"

namespace plat {
namespace {

constexpr char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class AutostartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tunova-autostart-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        config_ = pattern;
        store_ = config_ + "/tunova/registry.ini";
        entry_ = config_ + "/autostart/tunova_player.desktop";
    }
    void TearDown() override { std::system(("rm -rf '" + config_ + "'").c_str()); }

    std::string EntryText() const {
        std::string text;
        ReadFile(entry_, text);
        return text;
    }

    std::string config_;
    std::string store_;
    std::string entry_;
};

TEST_F(AutostartTest, AValueIsADesktopEntryWhoseExecLineIsItsText) {
    SettingsKey run = SettingsKey::Open(kRun, store_);
    ASSERT_TRUE(run.IsOpen());
    EXPECT_FALSE(run.ReadString("tunova_player"));
    const std::string command = QuoteExecArgument("/opt/My Apps/tunova") + " /run";
    EXPECT_EQ(command, "\"/opt/My Apps/tunova\" /run");
    ASSERT_TRUE(run.WriteString("tunova_player", command));
    EXPECT_EQ(EntryText(),
              "[Desktop Entry]\nType=Application\nName=tunova_player\n"
              "Exec=\"/opt/My Apps/tunova\" /run\nX-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(run.ReadString("TUNOVA_PLAYER"), command);
    EXPECT_FALSE(FileExists(store_));  // the Run key never touches the store's file
    // Characters the Exec rules reserve round-trip through both escapes.
    const std::string odd = QuoteExecArgument("/home/a\"b`c$d\\e%f/tunova") + " /run";
    EXPECT_EQ(odd, "\"/home/a\\\"b\\`c\\$d\\\\e%%f/tunova\" /run");
    ASSERT_TRUE(run.WriteString("tunova_player", odd));
    EXPECT_NE(EntryText().find("Exec=\"/home/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e%%f/tunova\" /run\n"),
              std::string::npos);
    EXPECT_EQ(run.ReadString("tunova_player"), odd);
}

TEST_F(AutostartTest, DeletingRemovesOnlyThatEntry) {
    SettingsKey run = SettingsKey::Open(kRun, store_);
    ASSERT_TRUE(run.WriteString("tunova_player", "\"/usr/bin/tunova\" /run"));
    ASSERT_TRUE(ReplaceFile(config_ + "/autostart/other.desktop", "[Desktop Entry]\nExec=x\n"));
    ASSERT_TRUE(run.DeleteValue("tunova_player"));
    EXPECT_FALSE(FileExists(entry_));
    EXPECT_TRUE(FileExists(config_ + "/autostart/other.desktop"));
    EXPECT_TRUE(run.DeleteValue("tunova_player"));  // again: harmless
    EXPECT_EQ(run.ReadString("other"), "x");
}

TEST_F(AutostartTest, EntriesTheDesktopSwitchedOffReadAsAbsent) {
    SettingsKey run = SettingsKey::Open(kRun, store_);
    ASSERT_TRUE(ReplaceFile(entry_, "[Desktop Entry]\nExec=tunova /run\nHidden=true\n"));
    EXPECT_FALSE(run.ReadString("tunova_player"));
    ASSERT_TRUE(ReplaceFile(entry_, "[Desktop Entry]\nX-GNOME-Autostart-enabled=false\nExec=t\n"));
    EXPECT_FALSE(run.ReadString("tunova_player"));
    // Another group's Exec does not count; blanks around '=' and CR LF endings do not matter.
    ASSERT_TRUE(ReplaceFile(entry_,
                            "[Desktop Action x]\r\nExec=wrong\r\n[Desktop Entry]\r\n"
                            "Hidden=false\r\nExec = \\s/bin/tunova\\t/run \r\n"));
    EXPECT_EQ(run.ReadString("tunova_player"), " /bin/tunova\t/run");
    ASSERT_TRUE(ReplaceFile(entry_, "[Desktop Entry]\nName=no exec\n"));
    EXPECT_FALSE(run.ReadString("tunova_player"));
    // The reader's capacity holds here too.
    ASSERT_TRUE(run.WriteString("tunova_player", std::string(300, 'x')));
    EXPECT_FALSE(run.ReadString("tunova_player"));
}

TEST_F(AutostartTest, NamesThatCannotBeFileNamesAreRefused) {
    SettingsKey run = SettingsKey::Open(kRun, store_);
    for (const char* name : {"../escape", "a/b", "..", "with space", ""}) {
        EXPECT_FALSE(run.WriteString(name, "x")) << name;
        EXPECT_FALSE(run.ReadString(name)) << name;
    }
    EXPECT_EQ(run.WriteString("tunova_player", "a\nHidden=true").error, StoreError::kBadValue);
    EXPECT_FALSE(FileExists(entry_));
}

}  // namespace
}  // namespace plat
