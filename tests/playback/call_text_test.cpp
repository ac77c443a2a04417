// Call texts, answer reading, and a browser that never loads a page.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>

#include "platform/controls/browser.h"
#include "playback/call_text.h"
#include "playback/script_answer.h"

namespace tunova {
namespace {

using Args = std::vector<std::string>;

TEST(CallText, NameAndStringArguments) {
    ParsedCall call = ParseCallText("loadNewVideo('abc', 1)");
    EXPECT_EQ(call.name, "loadNewVideo");
    EXPECT_EQ(call.args, (Args{"abc", "1"}));

    call = ParseCallText("javascript:seekTo(30)");
    EXPECT_EQ(call.name, "seekTo");
    EXPECT_EQ(call.args, (Args{"30"}));

    // Only the first "javascript:" goes, with everything before it.
    call = ParseCallText("x javascript:f(javascript:)");
    EXPECT_EQ(call.name, "f");
    EXPECT_EQ(call.args, (Args{"javascript:"}));

    call = ParseCallText(" \tgetVolume \t()");
    EXPECT_EQ(call.name, "getVolume");
    EXPECT_TRUE(call.args.empty());

    // Every one of the eight delimiters splits; empty tokens are dropped.
    call = ParseCallText("f(a b,c'd\"e\tf(g)h;i,,'' )");
    EXPECT_EQ(call.args, (Args{"a", "b", "c", "d", "e", "f", "g", "h", "i"}));
}

TEST(CallText, WithoutParenthesisNothingIsNamed) {
    const ParsedCall call = ParseCallText("getVolume");
    EXPECT_TRUE(call.name.empty());
    EXPECT_EQ(call.args, (Args{"getVolume"}));
    EXPECT_TRUE(ParseCallText("").name.empty());
    EXPECT_TRUE(ParseCallText("   (1)").name.empty());
}

TEST(CallText, KoreanArgumentsStayWhole) {
    // CP949 trail bytes never collide with a delimiter.
    const ParsedCall call = ParseCallText("record('노래방', '뮤직비디오')");
    EXPECT_EQ(call.args, (Args{"노래방", "뮤직비디오"}));
}

TEST(ScriptAnswers, IntegerFieldOnlyFromNumbersInRange) {
    EXPECT_EQ(IntegerField(ScriptAnswer::Int(40)), 40);
    EXPECT_EQ(IntegerField(ScriptAnswer::Double(99.7)), 99);
    EXPECT_EQ(IntegerField(ScriptAnswer::Double(-1.5)), -1);
    EXPECT_EQ(IntegerField(ScriptAnswer::Double(3e9)), 0);
    EXPECT_EQ(IntegerField(ScriptAnswer::Double(std::nan(""))), 0);
    EXPECT_EQ(IntegerField(ScriptAnswer::Double(-std::numeric_limits<double>::infinity())), 0);
    EXPECT_EQ(IntegerField(ScriptAnswer::String("1")), 0);
    EXPECT_EQ(IntegerField(ScriptAnswer::Bool(true)), 0);
    EXPECT_EQ(IntegerField(ScriptAnswer{}), 0);
}

TEST(ScriptAnswers, WholeSecondsClampsWhatIntCannotHold) {
    EXPECT_EQ(WholeSeconds(3725.9), 3725);
    EXPECT_EQ(WholeSeconds(-4.2), 0);
    EXPECT_EQ(WholeSeconds(std::nan("")), 0);
    EXPECT_EQ(WholeSeconds(1e300), INT_MAX);
    EXPECT_EQ(WholeSeconds(std::numeric_limits<double>::infinity()), INT_MAX);
    EXPECT_EQ(WholeSeconds(static_cast<double>(INT_MAX) + 0.5), INT_MAX);
    EXPECT_EQ(NumberOf(ScriptAnswer::String("12")), 0);
    EXPECT_DOUBLE_EQ(NumberOf(ScriptAnswer::Double(1.25)), 1.25);
}

// Child processes of this process (the web engine would start at least one).
int ChildProcesses() {
    int children = 0;
    DIR* proc = opendir("/proc");
    while (dirent* entry = readdir(proc)) {
        if (std::atoi(entry->d_name) <= 0) {
            continue;
        }
        std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
        std::string line((std::istreambuf_iterator<char>(stat)), {});
        const std::size_t close = line.rfind(')');
        int parent = 0;
        char state = 0;
        if (close != std::string::npos &&
            std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == getpid()) {
            ++children;
        }
    }
    closedir(proc);
    return children;
}

// True when the web engine's library is mapped into this process.
bool WebEngineMapped() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find("libQt6WebEngineCore") != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(BrowserWithoutPage, AnswersNoPageAndStartsNoEngine) {
    plat::Window parent;
    ASSERT_TRUE(parent.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 200, 100)));
    plat::Browser browser;
    ASSERT_TRUE(browser.Create(&parent, 333, plat::Rect::FromXYWH(0, 0, 1, 1)));
    EXPECT_EQ(browser.CallFunction("testAlert", {}).status, plat::ScriptCallStatus::kNoPage);
    EXPECT_FALSE(browser.LoadPage("/nonexistent/folder/you.html"));
    EXPECT_FALSE(browser.IsPageLoaded());
    EXPECT_EQ(browser.RendererProcessId(), 0);
    EXPECT_EQ(ChildProcesses(), 0);
    // The engine's libraries come with the first page, not with the program.
    EXPECT_FALSE(WebEngineMapped());
    char folder[] = "/tmp/tunova-page-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string page = std::string(folder) + "/page.html";
    std::ofstream(page) << "<html></html>";
    EXPECT_TRUE(browser.LoadPage(page));
    EXPECT_TRUE(WebEngineMapped());
    std::remove(page.c_str());
    rmdir(folder);
}

}  // namespace
}  // namespace tunova
