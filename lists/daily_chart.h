// The daily chart: the month's fifty best-rated Korean-language music videos, shown in the result
// list at start-up. It is downloaded at most once a day; the copy of the day lies in today50.ini
// (the list file format) and the day of the last download decision in the settings value
// `downday` of key SOFTWARE\tunova, as "%y%m%d" compared as a number.
//
// Runs on the user-interface thread during start-up, before any search worker exists.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/clock.h"
#include "platform/desktop/machine_services.h"
#include "search/feed_fetch.h"

namespace plat {
class ListView;
}

namespace tunova {

class ResultStore;

inline constexpr char kChartDayKey[] = "SOFTWARE\\tunova";
inline constexpr char kChartDayValue[] = "downday";

// "%y%m%d" of `date`: two-digit year, month and day ("261207").
std::string ChartDayText(const plat::LocalDate& date);

// Whether the chart file at `chartPath` is the copy of `today`. A missing file answers false
// without touching the settings store `settings`. Otherwise `downday` is read ("1" is written and
// used when it is missing) and compared with today as a number; when they differ, today is written
// as `downday` before false is answered, so the day is marked before the download.
bool IsChartCacheCurrent(const plat::SettingsStore& settings, const std::string& chartPath,
                         const plat::LocalDate& today);

// Where the chart comes from at start-up.
struct ChartSetup {
    std::string chartPath;  // today50.ini in the data folder
    std::string feedHost;
    FetchOptions fetch;
    plat::LocalDate today;
};
enum class ChartSource {
    kCache,     // today's today50.ini was shown; no network access
    kDownload,  // downloaded, shown and written to today50.ini
    kNone,      // the download failed: nothing shown, today50.ini left as it was
    kEmpty,     // the server's chart holds no video: nothing shown, today50.ini left as it was
};
// The start-up step: the cached chart when it is today's, else a download, with `machine`'s
// settings store and HTTP function. The result list's count display is the caller's to refresh.
ChartSource ShowDailyChart(const plat::MachineServices& machine, const ChartSetup& setup,
                           ResultStore& store, plat::ListView& resultList);

// Reads the chart file at `path` into the store (without emptying it): at most as many entries
// as the store has room for, each with its title, link and play time and a single space as its
// updated and content texts. The page count and total result count become the number read and
// the start index 0; a missing file, or a count of 0, reads nothing and sets all three to 0.
void LoadChartCache(const std::string& path, ResultStore& store);

// Fetches the chart query from `feedHost` through `machine`'s HTTP function and reads it into the
// store as the chart page. Returns false, leaving the store as it was, when the download or its
// reading fails or the answer holds no entry at all; `answeredEmpty`, when given, tells the last
// case (a feed read whole, without entries) from the others. A fetch with no time limit left
// (totalTimeoutMs of 0 or less) is not tried and fails.
bool DownloadChart(const plat::MachineServices& machine, std::string_view feedHost,
                   const FetchOptions& fetch, ResultStore& store, bool* answeredEmpty = nullptr);

// Shows the store's chart in the result list: every row replaced by rows numbered from 1 with
// their play times and the add picture, then the paging counters set to 0 so that no page is
// ever fetched after the chart.
void FillChartList(ResultStore& store, plat::ListView& resultList);

// The chart file's text for the store's results, all of them, in order.
std::string ChartFileText(const ResultStore& store);

}  // namespace tunova
