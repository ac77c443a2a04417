#include "lists/daily_chart.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "lists/list_file.h"
#include "platform/core/files.h"
#include "platform/core/log.h"
#include "platform/core/number_text.h"
#include "platform/core/profile.h"
#include "search/feed_query.h"
#include "search/feed_reader.h"
#include "search/result_list.h"
#include "search/result_store.h"

namespace tunova {

std::string ChartDayText(const plat::LocalDate& date) {
    char text[16];
    std::snprintf(text, sizeof(text), "%02d%02d%02d", ((date.year % 100) + 100) % 100,
                  date.month % 100, date.day % 100);
    return text;
}

bool IsChartCacheCurrent(const plat::SettingsStore& settings, const std::string& chartPath,
                         const plat::LocalDate& today) {
    if (!plat::FileExists(chartPath)) {
        return false;
    }
    plat::SettingsKey key = settings.Open(kChartDayKey);
    std::string stored = "1";
    if (const auto value = key.ReadString(kChartDayValue)) {
        stored = *value;
    } else {
        key.WriteString(kChartDayValue, stored);
    }
    const std::string todayText = ChartDayText(today);
    if (plat::ReadLeadingInteger(stored) == plat::ReadLeadingInteger(todayText)) {
        return true;
    }
    if (const plat::StoreResult marked = key.WriteString(kChartDayValue, todayText); !marked) {
        plat::LogError("chart", "downday not written: " + marked.description);
    }
    return false;
}

ChartSource ShowDailyChart(const plat::MachineServices& machine, const ChartSetup& setup,
                           ResultStore& store, plat::ListView& resultList) {
    if (IsChartCacheCurrent(machine.settings, setup.chartPath, setup.today)) {
        LoadChartCache(setup.chartPath, store);
        FillChartList(store, resultList);
        return ChartSource::kCache;
    }
    bool empty = false;
    if (!DownloadChart(machine, setup.feedHost, setup.fetch, store, &empty)) {
        plat::LogInfo(
            "chart", std::string(empty ? "the server's chart is empty" : "download failed") + "; " +
                         setup.chartPath + " left as it was");
        return empty ? ChartSource::kEmpty : ChartSource::kNone;
    }
    FillChartList(store, resultList);
    if (const plat::FileResult saved = plat::ReplaceFile(setup.chartPath, ChartFileText(store));
        !saved) {
        plat::LogError("chart", saved.description);
    }
    return ChartSource::kDownload;
}

void LoadChartCache(const std::string& path, ResultStore& store) {
    const plat::Profile file = plat::Profile::FromFile(path);
    const int room = static_cast<int>(ResultStore::kCapacity - store.Items().size());
    const std::vector<ListFileRow> rows = ReadListFileRows(file, room);
    std::vector<VideoItem> items;
    items.reserve(rows.size());
    for (const ListFileRow& row : rows) {
        items.push_back({row.name, row.url, " ", " ", row.seconds});
    }
    store.TakeCachedChart(items);
}

bool DownloadChart(const plat::MachineServices& machine, std::string_view feedHost,
                   const FetchOptions& fetch, ResultStore& store, bool* answeredEmpty) {
    if (fetch.totalTimeoutMs <= 0) {
        // No time left to wait for an answer (a zero limit would be no limit at all).
        plat::LogInfo("chart", "no start-up time left for the download");
        return false;
    }
    const std::string text = FetchFeed(machine, feedHost, kChartQuery, fetch);
    const FeedPage page = ReadFeedPage(text, ResultStore::kCapacity);
    if (answeredEmpty != nullptr) {
        // A feed document without entries, not an error page of the server or a proxy.
        *answeredEmpty = page.read && page.items.empty() && text.find("<feed") != std::string::npos;
    }
    // An answer without a single entry (an error page of the server or of a proxy) is a failed
    // download: it must not replace the cached chart with an empty one.
    if (!page.read || page.items.empty()) {
        return false;
    }
    store.TakeChartPage(page);
    return true;
}

void FillChartList(ResultStore& store, plat::ListView& resultList) {
    FillResultList(store, resultList, FillMode::kReplace);
    store.StopPaging();
}

std::string ChartFileText(const ResultStore& store) {
    const std::vector<VideoItem>& items = store.Items();
    ListFileWriter writer(static_cast<int>(items.size()));
    for (const VideoItem& item : items) {
        writer.Append(item.title, item.seconds, item.link);
    }
    return writer.Text();
}

}  // namespace tunova
