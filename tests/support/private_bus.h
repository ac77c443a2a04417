// A session bus of the test's own: a dbus-daemon started for it, its address in
// DBUS_SESSION_BUS_ADDRESS while it runs (players the test starts inherit it), stopped at the end.
// And the bus's own command-line client (dbus-send) for calls a desktop would make, run while
// this process keeps serving its events.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tunova::testing {

class PrivateBus {
  public:
    // Starts the daemon; Address() is empty when it could not be started.
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;
    const std::string& Address() const { return address_; }

  private:
    pid_t pid_ = -1;
    std::string address_;
};

struct CommandRun {
    bool ended = false;  // false: killed after the time limit
    int status = -1;     // exit status
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs `argv` (argv[0] looked up in PATH), pumping this process's events (so a call to this
// process is served) until it ends, for at most `limitMs`.
CommandRun RunPumping(const std::vector<std::string>& argv, long long limitMs = 20'000);

// dbus-send --session --print-reply to bus name `busName`, object /org/mpris/MediaPlayer2:
// `member` ("org.mpris.MediaPlayer2.Player.Next") with `args` ("int64:5", "objpath:/x", ...).
CommandRun CallOnBus(const std::string& busName, const std::string& member,
                     const std::vector<std::string>& args = {});

// A process that watches the bus and writes every signal it sees, as dbus-monitor prints them,
// to a file; stopped at the end. Started() is false when it could not start.
class BusMonitor {
  public:
    explicit BusMonitor(const std::string& matchRule);
    ~BusMonitor();
    BusMonitor(const BusMonitor&) = delete;
    BusMonitor& operator=(const BusMonitor&) = delete;
    bool Started() const { return pid_ > 0; }
    // What it has written so far.
    std::string Seen() const;
    // Pumps events until Seen() holds `text` `count` times or `limitMs` passes.
    bool WaitToSee(const std::string& text, int count = 1, long long limitMs = 10'000) const;

  private:
    pid_t pid_ = -1;
    std::string path_;
};

// How often `needle` occurs in `text`.
int CountOf(const std::string& text, const std::string& needle);

}  // namespace tunova::testing
