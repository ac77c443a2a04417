// Message table lookup: entries are tried in the order they were added; the first that takes
// the message runs.
#include "platform/core/message_map.h"

#include <utility>

#include "platform/core/messages.h"

namespace plat {

void MessageMap::OnCommand(int id, CommandHandler handler) {
    Entry e;
    e.kind = Entry::Kind::kCommand;
    e.first = e.last = id;
    e.command = std::move(handler);
    entries_.push_back(std::move(e));
}

void MessageMap::OnCommandRange(int first, int last, RangeHandler handler) {
    Entry e;
    e.kind = Entry::Kind::kCommandRange;
    e.first = first;
    e.last = last;
    e.range = std::move(handler);
    entries_.push_back(std::move(e));
}

void MessageMap::OnControlNotify(int id, int code, CommandHandler handler) {
    Entry e;
    e.kind = Entry::Kind::kControlNotify;
    e.first = e.last = id;
    e.code = code;
    e.command = std::move(handler);
    entries_.push_back(std::move(e));
}

void MessageMap::OnNotify(int id, int code, NotifyHandler handler) {
    Entry e;
    e.kind = Entry::Kind::kNotify;
    e.first = e.last = id;
    e.code = code;
    e.notify = std::move(handler);
    entries_.push_back(std::move(e));
}

void MessageMap::OnReflectedNotify(int code, NotifyHandler handler) {
    Entry e;
    e.kind = Entry::Kind::kReflectedNotify;
    e.code = code;
    e.notify = std::move(handler);
    entries_.push_back(std::move(e));
}

void MessageMap::OnMessage(std::uint32_t message, MessageHandler handler) {
    Entry e;
    e.kind = Entry::Kind::kMessage;
    e.message = message;
    e.generic = std::move(handler);
    entries_.push_back(std::move(e));
}

void MessageMap::OnTimer(int id, CommandHandler handler) {
    Entry e;
    e.kind = Entry::Kind::kTimer;
    e.first = e.last = id;
    e.command = std::move(handler);
    entries_.push_back(std::move(e));
}

const MessageMap::Entry* MessageMap::Find(const Message& msg) const {
    const int commandId = LowWord(msg.wParam);
    const int commandCode = HighWord(msg.wParam);
    const auto* notify = reinterpret_cast<const NotifyHeader*>(msg.lParam);
    for (const Entry& e : entries_) {
        switch (e.kind) {
            case Entry::Kind::kCommand:
                if (msg.message == kWmCommand && commandCode == kBnClicked &&
                    commandId == e.first) {
                    return &e;
                }
                break;
            case Entry::Kind::kCommandRange:
                if (msg.message == kWmCommand && commandCode == kBnClicked &&
                    commandId >= e.first && commandId <= e.last) {
                    return &e;
                }
                break;
            case Entry::Kind::kControlNotify:
                if (msg.message == kWmCommand && commandCode == e.code && commandId == e.first) {
                    return &e;
                }
                break;
            case Entry::Kind::kNotify:
                // A notify message without its header cannot be routed.
                if (msg.message == kWmNotify && notify != nullptr && notify->idFrom == e.first &&
                    notify->code == e.code) {
                    return &e;
                }
                break;
            case Entry::Kind::kReflectedNotify:
                if (msg.message == kWmReflectNotify && notify != nullptr &&
                    notify->code == e.code) {
                    return &e;
                }
                break;
            case Entry::Kind::kMessage:
                if (msg.message == e.message) {
                    return &e;
                }
                break;
            case Entry::Kind::kTimer:
                if (msg.message == kWmTimer && static_cast<int>(msg.wParam) == e.first) {
                    return &e;
                }
                break;
        }
    }
    return nullptr;
}

bool MessageMap::Dispatch(const Message& msg, LResult* result) const {
    const Entry* found = Find(msg);
    if (found == nullptr) {
        return false;
    }
    // A handler may add entries to this table, which can move the vector: run a copy.
    const Entry e = *found;
    LResult value = 0;
    switch (e.kind) {
        case Entry::Kind::kCommand:
        case Entry::Kind::kControlNotify:
        case Entry::Kind::kTimer:
            if (e.command) {
                e.command();
            }
            break;
        case Entry::Kind::kCommandRange:
            if (e.range) {
                e.range(LowWord(msg.wParam));
            }
            break;
        case Entry::Kind::kNotify:
        case Entry::Kind::kReflectedNotify:
            if (e.notify) {
                value = e.notify(*reinterpret_cast<const NotifyHeader*>(msg.lParam));
            }
            break;
        case Entry::Kind::kMessage:
            if (e.generic) {
                value = e.generic(msg.wParam, msg.lParam);
            }
            break;
    }
    if (result != nullptr) {
        *result = value;
    }
    return true;
}

bool MessageMap::Handles(const Message& msg) const {
    return Find(msg) != nullptr;
}

}  // namespace plat
