// The log's levels and format, and the trace's lines, as they reach standard error.
#include "platform/core/log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace plat {
namespace {

class LogTest : public ::testing::Test {
  protected:
    void TearDown() override {
        ::unsetenv("TUNOVA_LOG");
        ::unsetenv("TUNOVA_TRACE");
        ReloadLogSettings();
    }
    // What `body` writes to standard error with TUNOVA_LOG and TUNOVA_TRACE as given (null:
    // unset).
    template <typename Body>
    std::string Written(const char* log, const char* trace, Body body) {
        log != nullptr ? ::setenv("TUNOVA_LOG", log, 1) : ::unsetenv("TUNOVA_LOG");
        trace != nullptr ? ::setenv("TUNOVA_TRACE", trace, 1) : ::unsetenv("TUNOVA_TRACE");
        ReloadLogSettings();
        ::testing::internal::CaptureStderr();
        body();
        return ::testing::internal::GetCapturedStderr();
    }
    static void OneOfEach() {
        LogError("store", "save failed");
        LogInfo("update", "asked");
        LogDebug("page", "detail");
    }
};

TEST_F(LogTest, EachLevelShowsItselfAndTheLevelsAboveItAndNothingIsTheDefault) {
    EXPECT_EQ(Written(nullptr, nullptr, OneOfEach), "");
    EXPECT_EQ(Written("", nullptr, OneOfEach), "");
    EXPECT_EQ(Written("verbose", nullptr, OneOfEach), "") << "an unknown level stays quiet";
    EXPECT_EQ(Written("error", nullptr, OneOfEach), "tunova error store: save failed\n");
    EXPECT_EQ(Written("info", nullptr, OneOfEach),
              "tunova error store: save failed\ntunova info update: asked\n");
    EXPECT_EQ(Written("debug", nullptr, OneOfEach),
              "tunova error store: save failed\ntunova info update: asked\n"
              "tunova debug page: detail\n");
}

TEST_F(LogTest, ProgramTextReachesTheTerminalAsUtf8OnOneLine) {
    // "재생" in CP949, and a message with line breaks in it.
    const std::string written = Written("error", nullptr, [] {
        LogError("list", "\xC0\xE7\xBB\xFD");
        LogError("list", "a\nb\r\nc");
    });
    EXPECT_EQ(written, "tunova error list: \xEC\x9E\xAC\xEC\x83\x9D\ntunova error list: a b  c\n");
}

TEST_F(LogTest, TraceLinesCarryAMonotonicTimestampAndOnlyWithTraceOn) {
    EXPECT_EQ(Written(nullptr, nullptr, [] { Trace(kTraceSearchSent); }), "");
    EXPECT_EQ(Written(nullptr, "0", [] { Trace(kTraceSearchSent); }), "");
    const std::string written = Written(nullptr, "1", [] {
        Trace(kTraceSearchSent);
        Trace(kTraceRowsDrawn);
    });
    // Each line: "tunova-trace", seconds with six decimals, the moment.
    std::istringstream lines(written);
    std::string line;
    std::vector<double> stamps;
    std::vector<std::string> moments;
    while (std::getline(lines, line)) {
        ASSERT_TRUE(line.starts_with("tunova-trace ")) << line;
        const std::string rest = line.substr(13);
        const std::size_t space = rest.find(' ');
        ASSERT_NE(space, std::string::npos) << line;
        const std::string stamp = rest.substr(0, space);
        const std::size_t dot = stamp.find('.');
        ASSERT_NE(dot, std::string::npos) << line;
        EXPECT_EQ(stamp.size() - dot - 1, 6u) << line;
        stamps.push_back(std::stod(stamp));
        moments.push_back(rest.substr(space + 1));
    }
    EXPECT_EQ(moments, (std::vector<std::string>{"search sent", "rows drawn"}));
    ASSERT_EQ(stamps.size(), 2u);
    EXPECT_LE(stamps[0], stamps[1]);
    EXPECT_TRUE(TraceEnabled());
}

}  // namespace
}  // namespace plat
