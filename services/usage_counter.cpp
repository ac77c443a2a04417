// The usage count, once a day.
#include "services/usage_counter.h"

#include <algorithm>
#include <cstdio>

#include "platform/core/codepage.h"
#include "platform/core/log.h"
#include "platform/core/number_text.h"
#include "services/registry_keys.h"

namespace tunova {
namespace {

constexpr std::string_view kLogArea = "counter";
constexpr char kDefaultPartnerId[] = "tunova";
constexpr char kCounterPrefix[] = "/web/counter/insert.php?in_pcode=21&in_pid=";
constexpr char kCounterMiddle[] = "&in_kind=6&in_mac=";
constexpr char kFirstDay[] = "1";

// Removes `marker` until none is left (a removal can join two halves into a new one).
void RemoveEvery(std::string& text, std::string_view marker) {
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker)) {
        text.erase(at, marker.size());
    }
}

std::string PercentEncode(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~';
        if (plain) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

}  // namespace

std::string ReadPartnerId(const plat::SettingsStore& store) {
    const plat::SettingsKey key = store.Open(kTunovaKey);
    return ReadRegistryString(key, kValuePartnerId).value_or(kDefaultPartnerId);
}

std::string FormatMacAddress(const std::vector<plat::NetworkAdapter>& adapters) {
    for (const plat::NetworkAdapter& adapter : adapters) {
        const std::vector<std::uint8_t>& a = adapter.hardwareAddress;
        const bool usable =
            !adapter.loopback && a.size() == 6 && (a[0] | a[1] | a[2] | a[3] | a[4] | a[5]) != 0;
        if (usable) {
            char text[18];
            std::snprintf(text, sizeof(text), "%02X-%02X-%02X-%02X-%02X-%02X", a[0], a[1], a[2],
                          a[3], a[4], a[5]);
            return text;
        }
    }
    return {};
}

std::string ReadMacAddress() {
    return FormatMacAddress(plat::ListNetworkAdapters());
}

std::string CounterPath(const std::string& partnerId, const std::string& macText) {
    std::string id = partnerId;
    RemoveEvery(id, "bmp/");
    RemoveEvery(id, "-my");
    return kCounterPrefix + PercentEncode(plat::Cp949ToUtf8(id)) + kCounterMiddle + macText;
}

std::string CounterDay(const plat::Clock& clock) {
    const plat::LocalDate now = clock.Now();
    char text[16];
    std::snprintf(text, sizeof(text), "%02d%02d%02d", ((now.year % 100) + 100) % 100, now.month,
                  now.day);
    return text;
}

bool SendUsageCount(const plat::MachineServices& machine, const std::string& partnerId,
                    const std::string& macText, const std::string& webHost,
                    const NetworkTimings& timings) {
    plat::SettingsKey key = machine.settings.Open(kCountKey);
    std::optional<std::string> stored = ReadRegistryString(key, kValueCountDay);
    if (!stored) {
        key.WriteString(kValueCountDay, kFirstDay);
        stored.emplace(kFirstDay);
    }
    const std::string today = CounterDay(machine.clock);
    if (plat::ReadLeadingInteger(*stored) == plat::ReadLeadingInteger(today)) {
        return false;
    }
    const std::string path = CounterPath(partnerId, macText);
    const long timeLeft = std::min<long>(timings.attemptTimeoutMs, timings.deadlineMs);
    if (timeLeft <= 0) {
        plat::LogError(kLogArea, "not sent " + path + ": no time left at start-up");
    } else {
        plat::HttpOptions options;
        options.userAgent = "Tunova";
        options.connectTimeoutMs = std::min(timings.connectTimeoutMs, timeLeft);
        options.totalTimeoutMs = timeLeft;
        options.maxBodyBytes = 64 * 1024;
        const plat::HttpResponse response = machine.http(webHost, path, options);
        if (response) {
            plat::LogInfo(kLogArea, "sent " + path + ": HTTP " + std::to_string(response.status));
        } else {
            plat::LogError(kLogArea, "not sent " + path + ": " + response.description);
        }
    }
    if (const plat::StoreResult recorded = key.WriteString(kValueCountDay, today); !recorded) {
        plat::LogError(kLogArea, "count_exe: " + recorded.description);
    }
    machine.clock.Sleep(timings.pauseMs);
    return true;
}

}  // namespace tunova
