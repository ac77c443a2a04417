// The two user settings: the double-click action and the autostart entry, through the real
// settings store and autostart folder of this test process.
#include "services/settings.h"

#include <gtest/gtest.h>

#include "platform/core/files.h"
#include "services/registry_keys.h"
#include "services/services_fixture.h"
#include "support/test_environment.h"

namespace tunova {
namespace {

using SettingsTest = testing::ServicesTest;

constexpr char kPlayer[] = "/opt/tunova player/bin/tunova";

TEST_F(SettingsTest, TheDoubleClickSettingIsTrueWhereverItSaysTrue) {
    EXPECT_EQ(LoadClickSetting(settings), 0);  // absent: play at once
    for (const char* text : {"true", "TRUE", "True", "untrue", "xxtrUExx"}) {
        Store(kSettingKey, kValueClick, text);
        EXPECT_EQ(LoadClickSetting(settings), 1) << text;
    }
    for (const char* text : {"false", "", "yes", "1", "tru e"}) {
        Store(kSettingKey, kValueClick, text);
        EXPECT_EQ(LoadClickSetting(settings), 0) << text;
    }
    Store(kSettingKey, kValueClick, "true" + std::string(260, ' '));  // too long to read
    EXPECT_EQ(LoadClickSetting(settings), 0);
    // Lower-casing leaves double-byte characters alone: the trail byte 'T' of a Korean
    // character (0x54) is not a letter to fold.
    Store(kSettingKey, kValueClick, "\xB0\x54rue");
    EXPECT_EQ(LoadClickSetting(settings), 0);
}

TEST_F(SettingsTest, SavingWritesBothSettingsAndReturnsTheFlag) {
    EXPECT_EQ(SaveSettings(settings, {true, 1}, kPlayer), 1);
    EXPECT_EQ(Stored(kSettingKey, kValueClick), "true");
    EXPECT_EQ(Stored(kRunKey, kValueAutostart), "\"/opt/tunova player/bin/tunova\" /run");
    std::string entry;
    ASSERT_TRUE(plat::ReadFile(AutostartEntryPath(), entry));
    EXPECT_NE(entry.find("\nExec=\"/opt/tunova player/bin/tunova\" /run\n"), std::string::npos);
    const MenuSettings loaded = LoadSettings(settings, kPlayer);
    EXPECT_TRUE(loaded.autostart);
    EXPECT_EQ(loaded.clickSelection, 1);

    EXPECT_EQ(SaveSettings(settings, {false, 0}, kPlayer), 0);
    EXPECT_EQ(Stored(kSettingKey, kValueClick), "false");
    EXPECT_FALSE(plat::FileExists(AutostartEntryPath()));
    EXPECT_EQ(SaveSettings(settings, {false, 0}, kPlayer),
              0);  // saving "off" twice is harmless
    EXPECT_FALSE(LoadSettings(settings, kPlayer).autostart);
    EXPECT_EQ(SaveSettings(settings, {false, 7}, kPlayer),
              1);  // any selection but 0 adds
}

TEST_F(SettingsTest, AutostartIsOnWhenTheEntryNamesThisProgramInAnyCase) {
    EXPECT_FALSE(IsAutostartOn(settings, kPlayer));
    Store(kRunKey, kValueAutostart, "\"C:\\Program Files\\tunova\\TUNOVA.EXE\" /run");
    EXPECT_TRUE(IsAutostartOn(settings, kPlayer));  // "tunova" is in it, whatever the folder
    Store(kRunKey, kValueAutostart, "/usr/bin/other-player /run");
    EXPECT_FALSE(IsAutostartOn(settings, kPlayer));
    EXPECT_FALSE(IsAutostartOn(settings, ""));
    // The entry written on save starts this very program.
    const std::string self = "/home/u/build/bin/tunova";
    SaveSettings(settings, {true, 0}, self);
    EXPECT_TRUE(IsAutostartOn(settings, self));
    EXPECT_EQ(AutostartCommandLine(self), "\"/home/u/build/bin/tunova\" /run");
    // With the program's own path unknown, no entry that starts nothing is written.
    plat::DeleteFile(AutostartEntryPath());
    SaveSettings(settings, {true, 0}, "");
    EXPECT_FALSE(plat::FileExists(AutostartEntryPath()));
}

TEST_F(SettingsTest, AnInstalledPlayerStartsWithTheDesktopThroughItsLauncher) {
    // The packaged layout: the program in PREFIX/libexec/tunova, its launcher in PREFIX/bin.
    const std::string prefix = testing::TestHome() + "/installed prefix";
    const std::string program = prefix + "/libexec/tunova/tunova";
    ASSERT_TRUE(plat::MakeFolders(prefix + "/libexec/tunova"));
    ASSERT_TRUE(plat::ReplaceFile(program, "program"));
    EXPECT_EQ(AutostartProgram(program), program);  // no launcher beside it: the program
    ASSERT_TRUE(plat::MakeFolders(prefix + "/bin"));
    ASSERT_TRUE(plat::ReplaceFile(prefix + "/bin/tunova", "#!/bin/sh"));
    EXPECT_EQ(AutostartProgram(program), prefix + "/bin/tunova");
    SaveSettings(settings, {true, 0}, program);
    EXPECT_EQ(Stored(kRunKey, kValueAutostart), "\"" + prefix + "/bin/tunova\" /run");
    EXPECT_TRUE(LoadSettings(settings, program).autostart);
    // Only that folder pair counts: a build folder or a look-alike runs itself.
    for (const std::string& other : {prefix + "/bin/tunova", prefix + "/libexec/tunova",
                                     prefix + "/xlibexec/tunova/tunova", std::string("tunova")}) {
        EXPECT_EQ(AutostartProgram(other), other);
    }
}

TEST_F(SettingsTest, AnEntryTheDesktopHidIsOff) {
    SaveSettings(settings, {true, 0}, kPlayer);
    std::string entry;
    ASSERT_TRUE(plat::ReadFile(AutostartEntryPath(), entry));
    ASSERT_TRUE(plat::ReplaceFile(AutostartEntryPath(), entry + "Hidden=true\n"));
    EXPECT_FALSE(LoadSettings(settings, kPlayer).autostart);
}

TEST_F(SettingsTest, AStoreOfItsOwnIsReadAndWrittenAndTheDefaultOneIsLeftAlone) {
    const plat::SettingsStore other(testing::TestHome() + "/other/tunova/registry.ini");
    EXPECT_EQ(SaveSettings(other, {true, 1}, kPlayer), 1);
    EXPECT_EQ(LoadClickSetting(other), 1);
    EXPECT_TRUE(IsAutostartOn(other, kPlayer));
    EXPECT_TRUE(plat::FileExists(testing::TestHome() + "/other/autostart/tunova_player.desktop"));
    EXPECT_EQ(LoadClickSetting(settings), 0);
    EXPECT_FALSE(IsAutostartOn(settings, kPlayer));
}

}  // namespace
}  // namespace tunova
