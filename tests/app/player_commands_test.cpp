// The player commands of the command line: how they are read, and what the running copy does
// with the word and the play-pause it is handed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/media_panel.h"
#include "app/remote_commands.h"
#include "res/resource_ids.h"

namespace tunova {
namespace {

CommandLineOptions Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "tunova");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(PlayerCommands, EachOptionNamesItsRequestAndSearchTakesItsWordInBothForms) {
    for (const char* name :
         {"play-pause", "next", "previous", "stop", "volume-up", "volume-down"}) {
        const CommandLineOptions options = Parse({(std::string("--") + name).c_str()});
        EXPECT_EQ(options.error, "");
        EXPECT_EQ(options.remoteCommand, name);
    }
    const CommandLineOptions spaced = Parse({"/run", "--search", "two words"});
    EXPECT_EQ(spaced.error, "");
    EXPECT_EQ(spaced.remoteCommand, "search");
    EXPECT_EQ(spaced.searchWord, "two words");
    EXPECT_EQ(Parse({"--search=a=b"}).searchWord, "a=b");
    EXPECT_TRUE(Parse({"/run"}).remoteCommand.empty());
}

TEST(PlayerCommands, RefusesTwoCommandsValuesOnSwitchesAndAMissingWord) {
    EXPECT_EQ(Parse({"--next", "--previous"}).error, "give one of the player commands at a time");
    EXPECT_EQ(Parse({"--stop=now"}).error, "--stop takes no value");
    EXPECT_EQ(Parse({"--search"}).error, "--search needs WORD");
    EXPECT_EQ(Parse({"--search="}).error, "--search needs WORD");
    EXPECT_EQ(Parse({"--nexts"}).error, "unknown option --nexts");
    EXPECT_EQ(Parse({"-n"}).error, "unknown option -n");
    // One thing per start: a player command and a playlist file are two.
    EXPECT_EQ(Parse({"--next", "--export-playlist", "x.m3u"}).error,
              "give a player command or a playlist file, not both");
    EXPECT_EQ(Parse({"--import-playlist=x.m3u", "--search", "a"}).error,
              "give a player command or a playlist file, not both");
}

TEST(PlayerCommands, TheWordIsTheProgramsTextAndCutOnACharacterBoundary) {
    // "사랑" typed in a UTF-8 terminal is CP949 in the player.
    EXPECT_EQ(RemoteSearchWord("\xEC\x82\xAC\xEB\x9E\x91"), "사랑");
    // 200 Korean syllables are 400 CP949 bytes: cut to 254, never half a syllable.
    std::string longWord;
    for (int i = 0; i < 200; ++i) {
        longWord += "\xEA\xB0\x80";  // "가"
    }
    const std::string cut = RemoteSearchWord(longWord);
    EXPECT_EQ(cut.size(), 254u);
    EXPECT_LE(cut.size(), kMaxRemoteSearchBytes);
    EXPECT_EQ(cut.substr(cut.size() - 2), "가");
    // Bytes that are not UTF-8 do not pass through as they are.
    EXPECT_EQ(RemoteSearchWord("a\xFF"
                               "b")
                  .find('\xFF'),
              std::string::npos);
}

TEST(PlayerCommands, PlayPauseIsPauseWhileAVideoPlaysOrLoadsAndPlayOtherwise) {
    PlaybackState state;
    for (const auto& [playerState, command] :
         std::vector<std::pair<int, int>>{{1, res::kIdcPause},
                                          {3, res::kIdcPause},
                                          {2, res::kIdcPlay},
                                          {0, res::kIdcPlay},
                                          {-1, res::kIdcPlay},
                                          {5, res::kIdcPlay}}) {
        state.playerState = playerState;
        EXPECT_EQ(PlayPauseCommand(state), command) << playerState;
    }
}

TEST(PlayerCommands, HelpListsEveryPlayerCommand) {
    const std::string help = CommandLineHelp();
    for (const char* line : {"  --play-pause            ", "  --search WORD           ",
                             "  --volume-down           "}) {
        EXPECT_NE(help.find(line), std::string::npos) << line << "\n" << help;
    }
}

}  // namespace
}  // namespace tunova
