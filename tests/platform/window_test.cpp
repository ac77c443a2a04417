// Windows: posted versus sent messages, the pre-dispatch hook, child lifetime and destruction.
#include <gtest/gtest.h>

#include <thread>

#include "platform/controls/controls.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"
#include "platform/window/window.h"

namespace plat {
namespace {

constexpr std::uint32_t kMsgA = kWmUser + 1;
constexpr std::uint32_t kMsgB = kWmUser + 2;

class HookGuard {
  public:
    explicit HookGuard(Application::PreDispatchHook hook) {
        Application::Instance()->SetPreDispatchHook(std::move(hook));
    }
    ~HookGuard() { Application::Instance()->SetPreDispatchHook({}); }
};

TEST(WindowTest, PostedMessagesArriveInOrderAfterTheHandlerAndThroughTheHook) {
    Window window;
    ASSERT_TRUE(window.Create(nullptr, 0, Rect::FromXYWH(0, 0, 50, 50), 0));
    std::vector<std::string> seen;
    std::vector<std::uint32_t> hooked;
    HookGuard guard([&](const Message& m) {
        if (m.window == &window) {
            hooked.push_back(m.message);
        }
        return false;
    });
    window.Messages().OnMessage(kMsgA, [&](WParam w, LParam) {
        seen.push_back("A" + std::to_string(w));
        if (w == 0) {
            window.PostMessage(kMsgB, 1);
            window.PostMessage(kMsgB, 2);
            window.SendMessage(kMsgB, 9);  // runs at once, inside this handler
            seen.push_back("A0 done");
        }
        return LResult{0};
    });
    window.Messages().OnMessage(kMsgB, [&](WParam w, LParam) {
        seen.push_back("B" + std::to_string(w));
        return LResult{5};
    });
    EXPECT_EQ(window.SendMessage(kMsgB, 7), 5);
    window.PostMessage(kMsgA, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"B7"}));  // nothing posted runs before the loop
    Application::ProcessEvents();
    EXPECT_EQ(seen, (std::vector<std::string>{"B7", "A0", "B9", "A0 done", "B1", "B2"}));
    // Sent messages skip the hook; the three posted ones pass it.
    EXPECT_EQ(hooked, (std::vector<std::uint32_t>{kMsgA, kMsgB, kMsgB}));
}

TEST(WindowTest, HookConsumesPostedMessagesAndPostsToDeadWindowsAreDropped) {
    int delivered = 0;
    HookGuard guard([](const Message& m) { return m.message == kMsgA; });
    {
        Window window;
        ASSERT_TRUE(window.Create(nullptr, 0, Rect::FromXYWH(0, 0, 10, 10), 0));
        window.Messages().OnMessage(kMsgB, [&](WParam, LParam) { return LResult{++delivered}; });
        window.Messages().OnMessage(kMsgA, [&](WParam, LParam) { return LResult{++delivered}; });
        window.PostMessage(kMsgA);
        window.PostMessage(kMsgB);
        Application::ProcessEvents();
        EXPECT_EQ(delivered, 1);
        window.PostMessage(kMsgB);  // the window is gone before the loop runs
    }
    Application::ProcessEvents();
    EXPECT_EQ(delivered, 1);
}

TEST(WindowTest, MessagesPostedFromWorkerThreadsArrive) {
    Window window;
    ASSERT_TRUE(window.Create(nullptr, 0, Rect::FromXYWH(0, 0, 10, 10), 0));
    std::vector<WParam> got;
    window.Messages().OnMessage(kMsgA, [&](WParam w, LParam) {
        got.push_back(w);
        return LResult{0};
    });
    std::thread worker([&] {
        for (WParam i = 0; i < 100; ++i) {
            window.PostMessage(kMsgA, i);
        }
    });
    worker.join();
    Application::ProcessEvents();
    ASSERT_EQ(got.size(), 100u);
    for (WParam i = 0; i < 100; ++i) {
        EXPECT_EQ(got[i], i);
    }
}

TEST(WindowTest, HookConsumesEnterInAnEditBoxOnceAndOtherKeysReachIt) {
    Window top;
    ASSERT_TRUE(top.Create(nullptr, 102, Rect::FromXYWH(0, 0, 200, 100)));
    EditBox edit;
    ASSERT_TRUE(edit.Create(&top, 1125, Rect::FromXYWH(5, 5, 100, 20)));
    std::vector<std::pair<Window*, WParam>> keys;
    HookGuard guard([&](const Message& m) {
        if (m.message != kWmKeyDown) {
            return false;
        }
        keys.emplace_back(m.window, m.wParam);
        return m.wParam == static_cast<WParam>(kVkReturn) && m.window == &edit;
    });
    std::vector<std::uint32_t> topKeys;
    top.Messages().OnMessage(kWmKeyDown, [&](WParam w, LParam) {
        topKeys.push_back(static_cast<std::uint32_t>(w));
        return LResult{0};
    });
    testing::TypeText(edit, "ab");
    testing::PressKey(edit, kVkReturn);
    EXPECT_EQ(edit.Text(), "ab");
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0], std::make_pair(static_cast<Window*>(&edit), WParam{'A'}));
    EXPECT_EQ(keys[2], std::make_pair(static_cast<Window*>(&edit), WParam{kVkReturn}));
    // Consumed: the key never propagated to the dialog behind the edit.
    EXPECT_TRUE(topKeys.empty());
    EXPECT_EQ(Window::Focused(), &edit);
}

TEST(WindowTest, MousePressesPassTheHookUnlessTheWindowOwnsItsMouse) {
    Window top;
    ASSERT_TRUE(top.Create(nullptr, 0, Rect::FromXYWH(0, 0, 200, 100)));
    Window child;
    ASSERT_TRUE(child.Create(&top, 333, Rect::FromXYWH(100, 10, 50, 50)));
    std::vector<Message> hooked;
    HookGuard guard([&](const Message& m) {
        hooked.push_back(m);
        return m.message == kWmRButtonDown;
    });
    int childDowns = 0;
    child.Messages().OnMessage(kWmLButtonDown, [&](WParam w, LParam l) {
        EXPECT_EQ(w & kMkLButton, static_cast<WParam>(kMkLButton));
        EXPECT_EQ(XFromLParam(l), 5);
        EXPECT_EQ(YFromLParam(l), 6);
        return LResult{++childDowns};
    });
    testing::MouseClick(top, {105, 16});
    testing::MouseClick(top, {105, 16}, 2);
    ASSERT_EQ(hooked.size(), 2u);
    EXPECT_EQ(hooked[0].window, &child);
    EXPECT_EQ(hooked[0].message, kWmLButtonDown);
    EXPECT_EQ(hooked[1].message, kWmRButtonDown);
    EXPECT_EQ(childDowns, 1);

    child.SetOwnsMouseInput(true);
    testing::MouseClick(top, {105, 16});
    EXPECT_EQ(hooked.size(), 2u);
    EXPECT_EQ(childDowns, 2);
}

TEST(WindowTest, DestroyNotifiesChildrenFirstDetachesThemAndUnpublishesNothingTwice) {
    std::vector<std::string> order;
    Window top;
    ASSERT_TRUE(top.Create(nullptr, 1, Rect::FromXYWH(0, 0, 100, 100)));
    Window child;
    Window grandchild;
    ASSERT_TRUE(child.Create(&top, 2, Rect::FromXYWH(0, 0, 50, 50)));
    ASSERT_TRUE(grandchild.Create(&child, 3, Rect::FromXYWH(0, 0, 10, 10)));
    EXPECT_FALSE(child.Create(&top, 2, Rect{}));  // already created
    EXPECT_EQ(top.Child(3), &grandchild);
    EXPECT_EQ(top.Child(4), nullptr);
    for (auto [w, name] : {std::pair<Window*, const char*>{&top, "top"},
                           {&child, "child"},
                           {&grandchild, "grandchild"}}) {
        w->Messages().OnMessage(kWmDestroy, [&order, name](WParam, LParam) {
            order.push_back(name);
            return LResult{0};
        });
    }
    top.Destroy();
    EXPECT_EQ(order, (std::vector<std::string>{"top", "child", "grandchild"}));
    EXPECT_FALSE(child.IsCreated());
    EXPECT_EQ(child.Parent(), nullptr);
    EXPECT_TRUE(top.Children().empty());
    top.Destroy();  // twice is harmless
    EXPECT_EQ(order.size(), 3u);
}

TEST(WindowTest, ChildOutlivedByParentAndParentOutlivedByChild) {
    auto child = std::make_unique<Window>();
    {
        Window top;
        ASSERT_TRUE(top.Create(nullptr, 1, Rect::FromXYWH(0, 0, 100, 100)));
        ASSERT_TRUE(child->Create(&top, 2, Rect::FromXYWH(0, 0, 5, 5)));
        Window shortLived;
        ASSERT_TRUE(shortLived.Create(&top, 3, Rect::FromXYWH(0, 0, 5, 5)));
        ASSERT_EQ(top.Children().size(), 2u);
        // shortLived leaves first and unregisters itself.
    }
    EXPECT_FALSE(child->IsCreated());
    EXPECT_EQ(child->Parent(), nullptr);
    child.reset();
    Application::ProcessEvents();
}

TEST(WindowTest, SysCommandRestoresAndMinimizes) {
    Window top;
    ASSERT_TRUE(top.Create(nullptr, 1, Rect::FromXYWH(10, 20, 100, 80)));
    EXPECT_EQ(top.ClientRect(), (Rect{0, 0, 100, 80}));
    top.SendMessage(kWmSysCommand, kScMinimize);
    EXPECT_TRUE(top.IsMinimized());
    top.Show(false);
    top.SendMessage(kWmSysCommand, kScRestore);
    EXPECT_FALSE(top.IsMinimized());
    EXPECT_TRUE(top.IsVisible());
}

}  // namespace
}  // namespace plat
