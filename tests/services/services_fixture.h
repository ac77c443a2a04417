// What the services tests share: a fresh settings store and autostart folder for each test, the
// manual clock installed for its duration (and handed to the code under test through Machine()),
// and a clock that skips pauses but not real time.
#pragma once

#include <gtest/gtest.h>
#include <time.h>

#include <cstdint>
#include <string>

#include "platform/core/clock.h"
#include "platform/core/files.h"
#include "platform/desktop/settings_store.h"
#include "support/test_machine.h"

namespace tunova::testing {

// Tick = real milliseconds since construction plus every skipped sleep: a request's own time
// counts, a pause costs nothing. For deadlines that real requests use up.
class SkippingClock : public plat::Clock {
  public:
    SkippingClock() : startMs_(RealMs()) {}
    std::uint32_t TickCount() const override {
        return static_cast<std::uint32_t>(RealMs() - startMs_ + skippedMs_);
    }
    plat::LocalDate Now() const override { return {2026, 12, 8, 12, 0, 0}; }
    void Sleep(std::uint32_t ms) override { skippedMs_ += ms; }
    std::uint64_t SkippedMs() const { return skippedMs_; }

  private:
    static std::uint64_t RealMs() {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
               static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000;
    }
    std::uint64_t startMs_;
    std::uint64_t skippedMs_ = 0;
};

class ServicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearStore();
        plat::InstallClock(&clock);
    }
    void TearDown() override {
        plat::InstallClock(nullptr);
        ClearStore();
    }

    static std::string ConfigFolder() {
        const std::string store = plat::SettingsStorePath();
        return store.substr(0, store.rfind("/tunova/"));
    }
    static std::string AutostartEntryPath() {
        return ConfigFolder() + "/autostart/tunova_player.desktop";
    }
    static void ClearStore() {
        plat::DeleteFile(plat::SettingsStorePath());
        plat::DeleteFile(AutostartEntryPath());
    }
    static void Store(const char* key, const char* name, const std::string& value) {
        ASSERT_TRUE(plat::SettingsKey::Open(key).WriteString(name, value));
    }
    static std::optional<std::string> Stored(const char* key, const char* name) {
        return plat::SettingsKey::Open(key).ReadString(name, 1u << 20);
    }
    // The machine services of the test's manual clock and this process's store.
    plat::MachineServices Machine() { return TestMachine(clock); }

    plat::ManualClock clock;
    const plat::SettingsStore settings{plat::SettingsStorePath()};
};

}  // namespace tunova::testing
