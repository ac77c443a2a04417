// The script bridge and the browser against real pages in the web engine. Each test starts the
// engine (a renderer process), so related checks share one test.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>

#include "page_host.h"
#include "page_support.h"
#include "platform/core/codepage.h"
#include "platform/testing/testing.h"
#include "playback/script_bridge.h"

namespace tunova {
namespace {

using testing::PageHost;
using testing::PumpUntil;
using testing::RecordingView;
using testing::TempFolder;
using Type = plat::ScriptValue::Type;

std::string U8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

// A page that records how it is called and answers every type a script can answer.
const char8_t kRecordingPage[] =
    u8R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>recording</title></head>
<body style="margin:0;background:#000;height:100vh">
<script>
var calls = [];
var alerted = false;
window.alert = function () { alerted = true; };
var presses = [];
["mousedown", "mouseup", "dblclick", "contextmenu"].forEach(function (name) {
    document.addEventListener(name, function (e) { presses.push(name + e.button); }, true);
});
function testAlert() { return 1; }
function record() { calls.push(Array.prototype.slice.call(arguments)); return arguments.length; }
function kinds() {
    return Array.prototype.map.call(arguments, function (a) { return typeof a; }).join(",");
}
function echo(a) { return a; }
function answer(kind) {
    switch (kind) {
        case "int": return 7;
        case "negative": return -3;
        case "double": return 2.5;
        case "big": return 3000000000;
        case "text": return "노래 듣기";
        case "true": return true;
        case "null": return null;
        case "object": return {a: 1};
        case "array": return [1, 2];
    }
}
function fail() { throw new Error("refused"); }
function spin(ms) { var end = Date.now() + Number(ms); while (Date.now() < end) {} return 99; }
function go(url) { location.href = url; return 1; }
var started = Date.now();
</script>
</body></html>
)";

std::string WritePage(const TempFolder& folder, const std::string& name = "page.html") {
    const std::string path = folder.Path() + "/" + name;
    testing::WriteTextFile(path, U8(kRecordingPage));
    return path;
}

std::string Text(const plat::ScriptValue& v) {
    return v.type == Type::kString ? v.text : "<not text>";
}

// The bridge's answers are typed as the page answered; before the ready flag only the probe
// reaches the page; call texts are split as the player writes them; failures answer 0.
TEST(BridgeOnRealPage, AnswersGateAndCallTexts) {
    // A folder name with '#', '%', spaces and Korean letters still gives a working address.
    TempFolder folder(U8(u8"tunova #1 %41 100% 노래 폴더-"));
    ASSERT_FALSE(folder.Path().empty());
    PageHost host;
    ASSERT_TRUE(host.Load(WritePage(folder)));
    EXPECT_NE(host.browser.PageAddress().find("%231%20%2541%20100%25"), std::string::npos);

    PlaybackState state;
    RecordingView view;
    ScriptBridge bridge(host.browser, state, view, host.window);

    // The gate: before the ready flag only "testAlert" reaches the page.
    EXPECT_EQ(bridge.ScriptCall("record('a')").type, Type::kInt);
    EXPECT_EQ(bridge.ScriptCall("record('a')").intValue, 0);
    EXPECT_EQ(bridge.ScriptCall("play()").intValue, 0);
    EXPECT_EQ(IntegerField(host.Eval("calls.length")), 0);
    EXPECT_EQ(IntegerField(bridge.ScriptCall("testAlert()")), 1);
    state.pageReady = true;

    // Typed answers.
    auto ask = [&](const char* kind) {
        return bridge.ScriptCall(std::string("answer('") + kind + "')");
    };
    EXPECT_EQ(ask("int").type, Type::kInt);
    EXPECT_EQ(ask("int").intValue, 7);
    EXPECT_EQ(ask("negative").intValue, -3);
    EXPECT_EQ(ask("double").type, Type::kDouble);
    EXPECT_DOUBLE_EQ(ask("double").doubleValue, 2.5);
    EXPECT_EQ(ask("big").type, Type::kDouble);  // integral but past 32 bits
    EXPECT_DOUBLE_EQ(ask("big").doubleValue, 3e9);
    EXPECT_EQ(IntegerField(ask("big")), 0);
    EXPECT_EQ(Text(ask("text")), "노래 듣기");  // CP949 in the program
    EXPECT_EQ(ask("true").type, Type::kBool);
    EXPECT_TRUE(ask("true").boolValue);
    EXPECT_EQ(ask("none").type, Type::kEmpty);
    EXPECT_EQ(ask("null").type, Type::kEmpty);
    EXPECT_EQ(ask("object").type, Type::kOther);
    EXPECT_EQ(ask("array").type, Type::kOther);

    // Call texts.
    EXPECT_EQ(IntegerField(bridge.ScriptCall("javascript:record(30)")), 1);
    EXPECT_EQ(Text(host.Eval("JSON.stringify(calls[0])")), "[\"30\"]");
    EXPECT_EQ(IntegerField(bridge.ScriptCall("  record  ('abc', 1)")), 2);
    EXPECT_EQ(Text(host.Eval("JSON.stringify(calls[1])")), "[\"abc\",\"1\"]");
    EXPECT_EQ(Text(bridge.ScriptCall("kinds(40)")), "string");
    EXPECT_EQ(Text(bridge.ScriptCall("kinds(\"a b\";\t'c')")), "string,string,string");
    EXPECT_EQ(bridge.ScriptCall("record").intValue, 0);  // no "(": nothing called
    EXPECT_EQ(IntegerField(host.Eval("calls.length")), 2);

    // A missing function and a throw answer 0.
    EXPECT_EQ(bridge.ScriptCall("nothing()").type, Type::kInt);
    EXPECT_EQ(bridge.ScriptCall("nothing()").intValue, 0);
    EXPECT_EQ(bridge.ScriptCall("fail()").type, Type::kInt);
    EXPECT_EQ(bridge.ScriptCall("fail()").intValue, 0);
    EXPECT_EQ(host.browser.CallFunction("nothing", {}).status, plat::ScriptCallStatus::kNoFunction);
    EXPECT_EQ(host.browser.CallFunction("fail", {}).status, plat::ScriptCallStatus::kThrew);

    // The first video places the browser in the layout, until the first-click adjustment.
    EXPECT_EQ(view.Count("place"), 0);
    bridge.ScriptCall("loadNewVideo('abc', 1)");
    bridge.ScriptCall("play()");
    EXPECT_EQ(view.Count("place"), 2);
    state.firstClickAdjustmentDone = true;
    bridge.ScriptCall("play()");
    EXPECT_EQ(view.Count("place"), 2);
}

// Ids from a feed are only ever data: whatever they hold arrives as the same inert string.
TEST(BridgeOnRealPage, HostileArgumentsArriveAsInertStrings) {
    TempFolder folder;
    PageHost host;
    ASSERT_TRUE(host.Load(WritePage(folder)));
    const std::vector<std::string> hostile = {
        "x\");alert(1);//",
        "</script><script>alert(1)</script>",
        "a\\b\\\\c\\\"d\\u0041",
        plat::Utf8ToCp949(U8(u8"line\u2028break\u2029end")),
        "노래 '뮤직' \"비디오\"",
        "${alert(1)}`",
        "\n\r\t",
    };
    for (const std::string& text : hostile) {
        const plat::ScriptCallResult echoed = host.browser.CallFunction("echo", {text});
        ASSERT_TRUE(echoed) << text;
        EXPECT_EQ(Text(echoed.value), text);
    }
    // Through the bridge the call text is split into tokens; each arrives as a string.
    PlaybackState state;
    state.pageReady = true;
    RecordingView view;
    ScriptBridge bridge(host.browser, state, view, host.window);
    EXPECT_EQ(IntegerField(bridge.ScriptCall("record('x\");alert(1);//', 1)")), 5);
    EXPECT_EQ(Text(host.Eval("JSON.stringify(calls[0])")), "[\"x\",\"alert\",\"1\",\"//\",\"1\"]");
    EXPECT_EQ(IntegerField(bridge.ScriptCall("record('</script>\\\\', 1)")), 2);
    EXPECT_EQ(Text(host.Eval("calls[1][0]")), "</script>\\\\");

    EXPECT_EQ(host.Eval("alerted").type, Type::kBool);
    EXPECT_FALSE(host.Eval("alerted").boolValue);
    EXPECT_EQ(Text(host.Eval("document.title")), "recording");
}

// A page that busy-waits past the time limit answers 0; while its call is outstanding new calls
// answer at once; once it answers, calls work again and the late answer changes nothing. Timers
// and posted messages that fall due during a call run once, after it, in order. A call from
// inside painting answers without asking the page.
TEST(BridgeOnRealPage, SlowPageTimeLimitAndHeldDeliveries) {
    TempFolder folder;
    PageHost host;
    ASSERT_TRUE(host.Load(WritePage(folder)));
    host.browser.SetCallTimeLimit(200);

    const plat::ScriptCallResult slow = host.browser.CallFunction("spin", {"700"});
    EXPECT_EQ(slow.status, plat::ScriptCallStatus::kTimedOut);
    EXPECT_TRUE(host.browser.CallOutstanding());
    EXPECT_EQ(host.browser.CallFunction("echo", {"b"}).status, plat::ScriptCallStatus::kBusy);
    PlaybackState state;
    state.pageReady = true;
    RecordingView view;
    ScriptBridge bridge(host.browser, state, view, host.window);
    EXPECT_EQ(bridge.ScriptCall("echo('c')").type, Type::kInt);
    ASSERT_TRUE(PumpUntil([&] { return !host.browser.CallOutstanding(); }, 5000));
    const plat::ScriptCallResult next = host.browser.CallFunction("echo", {"d"});
    ASSERT_TRUE(next);
    EXPECT_EQ(Text(next.value), "d");

    // Held deliveries: a 10 ms timer and a posted message, both due while the page spins.
    host.browser.SetCallTimeLimit(2000);
    plat::Window target;
    ASSERT_TRUE(target.Create(&host.window, 77, plat::Rect::FromXYWH(0, 0, 10, 10)));
    std::vector<std::string> delivered;
    target.Messages().OnTimer(5, [&] {
        delivered.push_back("timer");
        target.KillTimer(5);
    });
    target.Messages().OnMessage(plat::kWmUser + 7, [&](plat::WParam w, plat::LParam) {
        delivered.push_back("message " + std::to_string(w));
        return plat::LResult{0};
    });
    target.PostMessage(plat::kWmUser + 7, 1);
    target.SetTimer(5, 10);
    const plat::ScriptCallResult spun = host.browser.CallFunction("spin", {"250"});
    ASSERT_TRUE(spun);
    EXPECT_EQ(spun.value.intValue, 99);
    EXPECT_TRUE(delivered.empty());  // nothing ran inside the call
    ASSERT_TRUE(PumpUntil([&] { return delivered.size() >= 2; }, 3000));
    testing::PumpEvents(100);
    EXPECT_EQ(delivered, (std::vector<std::string>{"message 1", "timer"}));

    // From inside painting: answered at once, the page not asked.
    plat::Window painted;
    ASSERT_TRUE(painted.Create(&host.window, 78, plat::Rect::FromXYWH(0, 0, 20, 20)));
    plat::ScriptCallStatus fromPaint = plat::ScriptCallStatus::kAnswered;
    int paints = 0;
    painted.Messages().OnMessage(plat::kWmPaint, [&](plat::WParam, plat::LParam) {
        ++paints;
        fromPaint = host.browser.CallFunction("record", {"painted"}).status;
        return plat::LResult{0};
    });
    painted.UpdateNow();
    ASSERT_GT(paints, 0);
    EXPECT_EQ(fromPaint, plat::ScriptCallStatus::kInsidePaint);
    EXPECT_EQ(IntegerField(host.Eval("calls.length")), 0);
}

// The page is loaded once: a script's own navigation is refused. A renderer that dies is
// replaced and the page loaded again, once.
TEST(BridgeOnRealPage, NavigationRefusedAndDeadRendererReloadedOnce) {
    TempFolder folder;
    PageHost host;
    ASSERT_TRUE(host.Load(WritePage(folder)));
    EXPECT_EQ(host.browser.PageLoads(), 1);
    const std::string address = Text(host.Eval("location.href"));
    for (const char* elsewhere : {"file:///etc/hostname", "http://127.0.0.1:9/"}) {
        ASSERT_TRUE(host.browser.CallFunction("go", {elsewhere}));
        testing::PumpEvents(300);
        EXPECT_EQ(Text(host.Eval("location.href")), address);
    }
    // about:blank is committed without asking; the page comes back.
    ASSERT_TRUE(host.browser.CallFunction("go", {"about:blank"}));
    ASSERT_TRUE(PumpUntil(
        [&] { return host.browser.IsPageLoaded() && Text(host.Eval("location.href")) == address; },
        10000));
    EXPECT_EQ(IntegerField(host.browser.CallFunction("testAlert", {}).value), 1);
    EXPECT_EQ(host.browser.PageLoads(), 2);  // every new load is counted: the page starts afresh
    host.Eval("window.marker = 5");

    const std::int64_t renderer = host.browser.RendererProcessId();
    ASSERT_GT(renderer, 0);
    ASSERT_EQ(kill(static_cast<pid_t>(renderer), SIGKILL), 0);
    ASSERT_TRUE(PumpUntil(
        [&] { return host.browser.RendererDeaths() == 1 && host.browser.IsPageLoaded(); }, 30000));
    EXPECT_EQ(IntegerField(host.browser.CallFunction("testAlert", {}).value), 1);
    EXPECT_EQ(host.Eval("window.marker").type, Type::kEmpty);  // a fresh page
    EXPECT_EQ(host.browser.PageLoads(), 3);

    const std::int64_t second = host.browser.RendererProcessId();
    ASSERT_GT(second, 0);
    ASSERT_EQ(kill(static_cast<pid_t>(second), SIGKILL), 0);
    ASSERT_TRUE(PumpUntil([&] { return host.browser.RendererDeaths() == 2; }, 30000));
    testing::PumpEvents(500);
    EXPECT_FALSE(host.browser.IsPageLoaded());
    EXPECT_EQ(host.browser.CallFunction("testAlert", {}).status, plat::ScriptCallStatus::kNoPage);
    EXPECT_EQ(host.browser.PageLoads(), 3);
}

// The user never clicks inside the page: left and right clicks and double-clicks are consumed,
// a left double-click asks for the big-video view; what the filter lets through reaches the page.
TEST(BridgeOnRealPage, ClicksNeverReachThePage) {
    TempFolder folder;
    PageHost host;
    int doubleClicks = 0;
    host.browser.onVideoDoubleClick = [&] { ++doubleClicks; };
    ASSERT_TRUE(host.Load(WritePage(folder)));
    testing::PumpEvents(200);  // the page's widgets settle under the pointer

    const plat::Point middle{200, 150};
    plat::testing::MouseDoubleClick(host.browser, middle);
    plat::testing::MouseClick(host.browser, middle, 2);
    plat::testing::MouseDoubleClick(host.browser, middle, 2);
    EXPECT_EQ(doubleClicks, 1);
    // A middle press is not the filter's: it reaches the page, after anything sent before it.
    plat::testing::MouseDown(host.browser, middle, 3);
    plat::testing::MouseUp(host.browser, middle, 3);
    ASSERT_TRUE(PumpUntil([&] { return IntegerField(host.Eval("presses.length")) > 0; }, 5000));
    testing::PumpEvents(100);
    EXPECT_EQ(Text(host.Eval("presses.join(' ')")), "mousedown1 mouseup1");
}

}  // namespace
}  // namespace tunova
