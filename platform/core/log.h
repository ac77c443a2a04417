// The program's log and trace, both on standard error.
//
// The log is quiet unless TUNOVA_LOG names a level: "error" (failures at the program's
// boundaries: fetches, file saves), "info" (also what was asked of a service and its answer),
// "debug" (also details useful only while hunting a fault). Each entry is one line:
//   tunova LEVEL AREA: MESSAGE
// The trace is on when TUNOVA_TRACE=1: one line per key moment with a monotonic timestamp in
// seconds (the same clock for every process on the machine), for timing the program from outside:
//   tunova-trace SECONDS MOMENT
// Both are safe to call from any thread; a line is written with one write, so lines of several
// threads or processes never interleave. The environment is read once, at the first call.
#pragma once

#include <string_view>

namespace plat {

enum class LogLevel {
    kError = 1,
    kInfo = 2,
    kDebug = 3,
};

// True when TUNOVA_LOG asks for `level` or a more detailed one.
bool LogEnabled(LogLevel level);
// Writes one entry when `level` is enabled. `message` is program text (CP949; ASCII passes
// as it is) and reaches the terminal as UTF-8; line breaks in it are written as spaces.
void Log(LogLevel level, std::string_view area, std::string_view message);
inline void LogError(std::string_view area, std::string_view message) {
    Log(LogLevel::kError, area, message);
}
inline void LogInfo(std::string_view area, std::string_view message) {
    Log(LogLevel::kInfo, area, message);
}
inline void LogDebug(std::string_view area, std::string_view message) {
    Log(LogLevel::kDebug, area, message);
}

// The key moments the trace knows, as printed.
inline constexpr std::string_view kTraceProcessStart = "process start";
inline constexpr std::string_view kTraceWindowShown = "main window shown";
inline constexpr std::string_view kTraceSearchSent = "search sent";
inline constexpr std::string_view kTraceAnswerReceived = "answer received";
inline constexpr std::string_view kTraceRowsDrawn = "rows drawn";
inline constexpr std::string_view kTracePageReady = "page ready";
inline constexpr std::string_view kTracePlaybackStarted = "playback started";

// True when TUNOVA_TRACE=1.
bool TraceEnabled();
// Writes one trace line for `moment` (ASCII) when the trace is on.
void Trace(std::string_view moment);

// Forgets the levels read from the environment, so the next call reads it again (for tests).
void ReloadLogSettings();

}  // namespace plat
