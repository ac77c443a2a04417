// The player's own options: both value forms, the arguments it leaves alone, and the refusals
// that end a start with the help and status 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace tunova {
namespace {

CommandLineOptions Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "tunova");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, TakesValuesInBothFormsAndLeavesOtherArgumentsAlone) {
    const CommandLineOptions spaced = Parse({"/run", "--export-playlist", "my list.xspf"});
    EXPECT_EQ(spaced.error, "");
    EXPECT_EQ(spaced.exportPlaylist, "my list.xspf");
    EXPECT_FALSE(spaced.help);

    const CommandLineOptions joined = Parse({"--import-playlist=a=b.m3u", "run"});
    EXPECT_EQ(joined.error, "");
    EXPECT_EQ(joined.importPlaylist, "a=b.m3u");

    EXPECT_TRUE(Parse({"-h"}).help);
    EXPECT_TRUE(Parse({"--help"}).help);
    const CommandLineOptions none = Parse({"/run"});
    EXPECT_EQ(none.error, "");
    EXPECT_FALSE(none.help);
    EXPECT_TRUE(none.exportPlaylist.empty() && none.importPlaylist.empty());
}

TEST(CommandLine, RefusesUnknownOptionsMissingValuesAndTwoPlaylistActions) {
    EXPECT_EQ(Parse({"--bogus"}).error, "unknown option --bogus");
    EXPECT_EQ(Parse({"-x", "--help"}).error, "unknown option -x");
    EXPECT_EQ(Parse({"--export-playlist=x", "--verbose=1"}).error, "unknown option --verbose");
    EXPECT_EQ(Parse({"--export-playlist"}).error, "--export-playlist needs FILE");
    EXPECT_EQ(Parse({"--import-playlist="}).error, "--import-playlist needs FILE");
    EXPECT_EQ(Parse({"--help=yes"}).error, "--help takes no value");
    EXPECT_EQ(Parse({"--import-playlist", "a.m3u", "--export-playlist", "b.m3u"}).error,
              "give --export-playlist or --import-playlist, not both");
}

TEST(CommandLine, HelpListsEveryOption) {
    const std::string help = CommandLineHelp();
    EXPECT_EQ(help.rfind("usage: tunova [OPTION]...\n", 0), 0u);
    for (const char* line : {"  --export-playlist FILE  ", "  --import-playlist FILE  ",
                             "  -h, --help              show this help and exit\n"}) {
        EXPECT_NE(help.find(line), std::string::npos) << line << "\n" << help;
    }
}

}  // namespace
}  // namespace tunova
