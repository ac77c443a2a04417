// A first start on a server whose library holds no video: the window with an empty chart and a
// hint where the title goes, not the no-connection notice.
#include <gtest/gtest.h>

#include "lists/daily_chart.h"
#include "lists/list_file.h"
#include "main_window_fixture.h"
#include "platform/core/data_dir.h"
#include "platform/core/files.h"
#include "platform/desktop/settings_store.h"
#include "support/feed_pages.h"
#include "support/loopback_server.h"
#include "support/test_environment.h"

namespace tunova::testing {
namespace {

TEST_F(MainWindowTest, AnEmptyLibraryShowsAnEmptyChartWithAHint) {
    plat::DeleteFile(plat::DataFile(kChartFileName));
    plat::SettingsKey::Open(kChartDayKey).DeleteValue(kChartDayValue);
    // The update server's answers as before; the chart query gets a feed without entries.
    updateServer.SetHandler([version = serverVersion](const ServerRequest& request) {
        ServerReply reply;
        if (request.target.find("orderby=rating") != std::string::npos) {
            reply.body = FeedXml(0, 1, {});
        } else {
            reply.contentType = "text/plain";
            reply.body = request.target == "/update/player_ver.php" ? *version : "ok\n";
        }
        return reply;
    });
    RunShown([this](CTunovaDlg& d) {
        EXPECT_EQ(d.ResultList().ItemCount(), 0);
        EXPECT_EQ(d.View().statusHint, kEmptyChartHint);
        EXPECT_TRUE(boxes.empty());
    });
    EXPECT_FALSE(plat::FileExists(plat::DataFile(kChartFileName)));
}

}  // namespace
}  // namespace tunova::testing
