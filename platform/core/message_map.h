// A window's message table: command ids, control notifications, message numbers and timer ids,
// each routed to one handler. Lookups are by exact key; the first matching entry wins.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/types.h"

namespace plat {

class Window;

// Header of every kWmNotify message; lParam points at it (or at a larger struct starting with it).
struct NotifyHeader {
    Window* from = nullptr;
    int idFrom = 0;
    int code = 0;
};

// One message as dispatched to a window (or seen by the pre-dispatch hook).
struct Message {
    Window* window = nullptr;
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

class MessageMap {
  public:
    using CommandHandler = std::function<void()>;
    using RangeHandler = std::function<void(int id)>;
    using NotifyHandler = std::function<LResult(const NotifyHeader&)>;
    using MessageHandler = std::function<LResult(WParam, LParam)>;

    // kWmCommand with notification code kBnClicked (0) from control or menu `id`.
    void OnCommand(int id, CommandHandler handler);
    // kWmCommand with code 0 and an id in [first, last]; the handler receives the id.
    void OnCommandRange(int first, int last, RangeHandler handler);
    // kWmCommand carrying a control notification (kEnSetFocus, kCbnSelChange, ...) from `id`.
    void OnControlNotify(int id, int code, CommandHandler handler);
    // kWmNotify from control `id` with `code`.
    void OnNotify(int id, int code, NotifyHandler handler);
    // A notification `code` a control sends about itself, handled by the control's own table
    // (kWmReflectNotify) instead of reaching its parent.
    void OnReflectedNotify(int code, NotifyHandler handler);
    // Any message by number; the handler's result is the message's result.
    void OnMessage(std::uint32_t message, MessageHandler handler);
    // kWmTimer for timer `id`.
    void OnTimer(int id, CommandHandler handler);

    // Runs the handler for `msg`; returns false (result untouched) when no entry matches.
    bool Dispatch(const Message& msg, LResult* result) const;

    // True when some entry would take `msg` (lets tests check a table without side effects).
    bool Handles(const Message& msg) const;

  private:
    struct Entry {
        enum class Kind {
            kCommand,
            kCommandRange,
            kControlNotify,
            kNotify,
            kReflectedNotify,
            kMessage,
            kTimer
        };
        Kind kind;
        int first = 0;
        int last = 0;
        int code = 0;
        std::uint32_t message = 0;
        CommandHandler command;
        RangeHandler range;
        NotifyHandler notify;
        MessageHandler generic;
    };
    const Entry* Find(const Message& msg) const;
    std::vector<Entry> entries_;
};

}  // namespace plat
