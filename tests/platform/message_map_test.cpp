// Message table routing: each kind of entry takes exactly its own messages.
#include <gtest/gtest.h>

#include "platform/core/message_map.h"
#include "platform/core/messages.h"

namespace plat {
namespace {

Message Command(int id, int code = kBnClicked) {
    return {nullptr, kWmCommand, MakeWParam(id, code), 0};
}

TEST(MessageMapTest, CommandsRangesAndControlNotificationsAreDistinct) {
    MessageMap map;
    std::vector<std::string> calls;
    map.OnCommand(1124, [&] { calls.push_back("search"); });
    map.OnCommandRange(32776, 32781,
                       [&](int id) { calls.push_back("country " + std::to_string(id)); });
    map.OnControlNotify(1125, kEnSetFocus, [&] { calls.push_back("edit focus"); });

    LResult result = -1;
    EXPECT_TRUE(map.Dispatch(Command(1124), &result));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(map.Dispatch(Command(32781), nullptr));
    EXPECT_TRUE(map.Dispatch(Command(32776), nullptr));
    EXPECT_FALSE(map.Dispatch(Command(32782), nullptr));
    // A control notification from the same id is not a click, and vice versa.
    EXPECT_FALSE(map.Dispatch(Command(1124, kEnChange), nullptr));
    EXPECT_TRUE(map.Dispatch(Command(1125, kEnSetFocus), nullptr));
    EXPECT_FALSE(map.Dispatch(Command(1125, kEnKillFocus), nullptr));
    EXPECT_FALSE(map.Dispatch(Command(1125), nullptr));
    EXPECT_EQ(calls,
              (std::vector<std::string>{"search", "country 32781", "country 32776", "edit focus"}));
}

TEST(MessageMapTest, NotifyMatchesIdAndCodeAndReturnsTheHandlersResult) {
    MessageMap map;
    int clicks = 0;
    map.OnNotify(1000, kNmDblClk, [&](const NotifyHeader& h) {
        ++clicks;
        return static_cast<LResult>(h.idFrom + 1);
    });
    NotifyHeader header{nullptr, 1000, kNmDblClk};
    LResult result = 0;
    EXPECT_TRUE(
        map.Dispatch({nullptr, kWmNotify, 1000, reinterpret_cast<LParam>(&header)}, &result));
    EXPECT_EQ(result, 1001);
    header.code = kNmClick;
    EXPECT_FALSE(
        map.Dispatch({nullptr, kWmNotify, 1000, reinterpret_cast<LParam>(&header)}, nullptr));
    header = {nullptr, 1001, kNmDblClk};
    EXPECT_FALSE(
        map.Dispatch({nullptr, kWmNotify, 1001, reinterpret_cast<LParam>(&header)}, nullptr));
    // A notify message without its header is refused, not dereferenced.
    EXPECT_FALSE(map.Dispatch({nullptr, kWmNotify, 1000, 0}, nullptr));
    EXPECT_EQ(clicks, 1);
}

TEST(MessageMapTest, MessagesTimersAndFirstEntryWins) {
    MessageMap map;
    std::vector<std::string> calls;
    map.OnMessage(0x28D1, [&](WParam w, LParam l) {
        calls.push_back("slider " + std::to_string(w) + "," + std::to_string(l));
        return LResult{7};
    });
    map.OnMessage(0x28D1, [&](WParam, LParam) {
        calls.push_back("second");
        return LResult{8};
    });
    map.OnTimer(35, [&] { calls.push_back("timer 35"); });

    LResult result = 0;
    EXPECT_TRUE(map.Dispatch({nullptr, 0x28D1, 1009, 42}, &result));
    EXPECT_EQ(result, 7);
    EXPECT_TRUE(map.Dispatch({nullptr, kWmTimer, 35, 0}, nullptr));
    EXPECT_FALSE(map.Dispatch({nullptr, kWmTimer, 34, 0}, nullptr));
    EXPECT_TRUE(map.Handles({nullptr, kWmTimer, 35, 0}));
    EXPECT_FALSE(map.Handles({nullptr, 0x28D2, 0, 0}));
    EXPECT_EQ(calls, (std::vector<std::string>{"slider 1009,42", "timer 35"}));
}

TEST(MessageMapTest, HandlerMayExtendItsOwnTable) {
    MessageMap map;
    int later = 0;
    map.OnCommand(1, [&] {
        for (int i = 0; i < 64; ++i) {
            map.OnCommand(100 + i, [&] { ++later; });
        }
    });
    EXPECT_TRUE(map.Dispatch(Command(1), nullptr));
    EXPECT_TRUE(map.Dispatch(Command(163), nullptr));
    EXPECT_EQ(later, 1);
}

}  // namespace
}  // namespace plat
