// Stand-in for the daily chart (lists/: "today50.ini" and the day's fifty videos) until it is
// built: start-up shows no chart.
//
// To replace it: put the chart object in CTunovaDlg in place of `chart_` (app/tunova_dlg.h).
// Delete this file.
#pragma once

namespace tunova {

class ChartStandIn {
  public:
    // Start-up: today's chart from "today50.ini", or downloaded when the file is not today's.
    void Load() {}
};

}  // namespace tunova
