// Termination signals close every running dialog through its cancel command, innermost first,
// and a dialog started afterwards closes as soon as it has initialised.
#include "platform/window/termination.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/window/dialog.h"

namespace plat {
namespace {

constexpr std::uint32_t kOpenInner = kWmUser + 7;
constexpr int kSafetyTimer = 99;

class RecordingDialog : public Dialog {
  public:
    RecordingDialog(std::string name, std::vector<std::string>& log)
        : Dialog(100, {50, 50}), name_(std::move(name)), log_(log) {}
    std::function<void()> onInit;

  protected:
    bool OnInitDialog() override {
        if (onInit) {
            onInit();
        }
        return true;
    }
    void OnCancel() override {
        log_.push_back(name_ + " cancel");
        Dialog::OnCancel();
    }

  private:
    std::string name_;
    std::vector<std::string>& log_;
};

TEST(TerminationTest, SignalClosesEveryRunningDialogInnermostFirstAndLaterOnesAtOnce) {
    int signalSeen = 0;
    ASSERT_TRUE(EndOnTerminationSignals([&](int signal) { signalSeen = signal; }));
    std::vector<std::string> log;
    RecordingDialog outer("outer", log);
    RecordingDialog inner("inner", log);
    int innerResult = 0;
    bool timedOut = false;
    outer.onInit = [&] {
        outer.Messages().OnMessage(kOpenInner, [&](WParam, LParam) {
            innerResult = inner.DoModal(&outer);
            return LResult{0};
        });
        // Ends the test's loops should the signal never be handled.
        outer.Messages().OnTimer(kSafetyTimer, [&] {
            timedOut = true;
            inner.EndDialog(-1);
            outer.EndDialog(-1);
        });
        outer.SetTimer(kSafetyTimer, 10'000);
        outer.PostMessage(kOpenInner);
    };
    // Raised before the inner loop runs: the signal is handled once a loop turns.
    inner.onInit = [&] { ::raise(SIGTERM); };
    EXPECT_EQ(outer.DoModal(), kIdCancel);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(innerResult, kIdCancel);
    EXPECT_EQ(signalSeen, SIGTERM);
    EXPECT_TRUE(TerminationRequested());
    EXPECT_EQ(log, (std::vector<std::string>{"inner cancel", "outer cancel"}));

    RecordingDialog later("later", log);
    EXPECT_EQ(later.DoModal(), kIdCancel);
    EXPECT_EQ(log.back(), "later cancel");
    EXPECT_TRUE(Dialog::RunningModal().empty());
}

}  // namespace
}  // namespace plat
