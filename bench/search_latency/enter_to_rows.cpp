// Types each word of the command line into the real main window's search box and presses
// Enter, one search after the other, waiting for its rows each time. Run it with TUNOVA_TRACE=1
// and TUNOVA_HOST pointing at a feed server: the trace's "search sent" and "rows drawn" lines
// time every search (run-enter-to-rows.sh reads them). Prints "rows N WORD" per search on
// standard output; exits 1 when a search brings no rows or times out.
//
// usage: enter_to_rows WORD...   (ASCII words)
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "app/tunova_dlg.h"
#include "bench/support/pump_events.h"
#include "platform/core/log.h"
#include "platform/testing/testing.h"
#include "platform/window/application.h"

namespace {

using tunova::support::PumpUntil;

bool SearchAll(tunova::CTunovaDlg& window, const std::vector<std::string>& words) {
    if (!PumpUntil([&] { return window.IsVisible() && window.WindowRect().Width() > 0; }, 30000)) {
        std::fprintf(stderr, "enter_to_rows: the main window never came on screen\n");
        return false;
    }
    for (const std::string& word : words) {
        window.SearchEdit().SetFocus();
        plat::Application::ProcessEvents();
        window.SearchEdit().SetText("");
        plat::testing::TypeText(window.SearchEdit(), word);
        plat::testing::PressKey(window.SearchEdit(), plat::kVkReturn);
        if (!PumpUntil([&] { return !window.Search().IsSearchRunning(); }, 10000)) {
            std::fprintf(stderr, "enter_to_rows: no answer for \"%s\"\n", word.c_str());
            return false;
        }
        const int rows = window.ResultList().ItemCount();
        std::printf("rows %d %s\n", rows, word.c_str());
        if (rows == 0) {
            return false;
        }
        PumpUntil([] { return false; }, 50);  // the user reads the rows before the next word
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    plat::Trace(plat::kTraceProcessStart);
    plat::Application application(argc, argv);
    const std::vector<std::string> words(argv + 1, argv + argc);
    tunova::CTunovaDlg window(tunova::LoadAppServices());
    bool ok = false;
    plat::testing::RunSoon([&] {
        ok = SearchAll(window, words);
        window.SendCommand(plat::kIdCancel);
    });
    window.DoModal();
    return ok ? 0 : 1;
}
