// Termination signals through a self-pipe: the handler only writes the signal number (all it
// may safely do), and a socket notifier on the user-interface thread does the closing.
#include "platform/window/termination.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <cerrno>
#include <vector>

#include "platform/window/dialog.h"

namespace plat {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
// Bound on closing nested boxes and menus, in case one refuses to close.
constexpr int kMaxNestedClose = 32;

int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_received = 0;
bool g_requested = false;
std::function<void(int)> g_onSignal;

void OnSignal(int signal) {
    if (g_received != 0) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    g_received = signal;
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

void CloseMenusAndBoxes() {
    for (int i = 0; i < kMaxNestedClose; ++i) {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        } else if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
        } else {
            return;
        }
    }
}

void HandleSignal() {
    unsigned char byte = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) {
    }
    if (g_requested) {
        return;
    }
    g_requested = true;
    if (g_onSignal) {
        g_onSignal(static_cast<int>(g_received));
    }
    CloseMenusAndBoxes();
    std::vector<Dialog*> running = Dialog::RunningModal();
    for (auto it = running.rbegin(); it != running.rend(); ++it) {
        (*it)->SendCommand(kIdCancel);
    }
}

}  // namespace

bool EndOnTerminationSignals(std::function<void(int signal)> onSignal) {
    g_onSignal = std::move(onSignal);
    if (g_pipe[0] >= 0) {
        return true;
    }
    if (QCoreApplication::instance() == nullptr || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    auto* notifier =
        new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { HandleSignal(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    bool installed = true;
    for (int signal : kSignals) {
        installed = ::sigaction(signal, &action, nullptr) == 0 && installed;
    }
    return installed;
}

bool TerminationRequested() {
    return g_requested;
}

}  // namespace plat
