// Platform-internal: the Qt application behind plat::Application and the queue that carries
// posted messages to the user-interface thread.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/window/application.h"

namespace plat {

// A message queued by PostMessage; it names its window by key so that a window destroyed
// before delivery is simply not found.
class PostedMessageEvent : public QEvent {
  public:
    static QEvent::Type EventType();
    PostedMessageEvent(std::uint64_t key, std::uint32_t msg, WParam w, LParam l)
        : QEvent(EventType()), windowKey(key), message(msg), wParam(w), lParam(l) {}
    const std::uint64_t windowKey;
    const std::uint32_t message;
    const WParam wParam;
    const LParam lParam;
};

// Receives PostedMessageEvents on the user-interface thread and dispatches them.
class MessageQueueReceiver : public QObject {
  public:
    bool event(QEvent* event) override;
};

// QApplication that shows key presses and mouse presses to the pre-dispatch hook once, before
// the toolkit delivers (and propagates) them.
class HookedApplication : public QApplication {
  public:
    HookedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

struct ApplicationImpl {
    std::unique_ptr<HookedApplication> qt;
    std::unique_ptr<MessageQueueReceiver> queue;
    Application::PreDispatchHook hook;
    std::string commandLine;
    std::vector<std::string> arguments;
    std::string executableDir;

    // The implementation of the running Application, or null when none exists.
    static ApplicationImpl* Current();
};

// Queues a message for the window with `key` (any thread); dropped when no Application exists.
void PostToWindow(std::uint64_t key, std::uint32_t message, WParam wParam, LParam lParam);
// Runs only the pre-dispatch hook; true when it consumed the message.
bool RunPreDispatchHook(const Message& msg);

}  // namespace plat
