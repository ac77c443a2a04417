// Termination signals end the program the way closing its windows does, so that what the windows
// save when they close (the playlist) is saved: SIGTERM (logout, shutdown, kill), SIGHUP (the
// terminal closed) and SIGINT (Ctrl-C).
#pragma once

#include <functional>

namespace plat {

// Installs the handlers; later calls only replace `onSignal`. When a signal arrives, on the
// user-interface thread's event loop: `onSignal` runs with the signal number, open menus and
// message boxes close, and every running modal dialog, innermost first, is sent the cancel
// command, which is how each of them closes itself. A dialog that starts after that is sent the
// cancel command as soon as it has initialised. A second signal before the process has ended
// ends it at once with the signal's default action. Returns false when the handlers could not be
// installed (no Application yet, or the system refused).
bool EndOnTerminationSignals(std::function<void(int signal)> onSignal = {});

// True once a termination signal has been handled.
bool TerminationRequested();

}  // namespace plat
