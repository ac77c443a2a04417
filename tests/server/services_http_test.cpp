// Update, counter and vendor pages over real HTTP.
#include <gtest/gtest.h>

#include <string>

#include "server/sqlite_handle.h"
#include "server_fixture.h"

namespace tunova::server::testing {
namespace {

class ServicesTest : public ::testing::Test {
  protected:
    httplib::Result Get(const std::string& path) {
        auto client = server_.Client();
        return client.Get(path.c_str());
    }

    // Every stored counter row as "pcode|pid|kind|mac|remote|received".
    std::vector<std::string> CounterRows() {
        SqliteDatabase db;
        std::string error;
        EXPECT_TRUE(db.Open(server_.database().string(), error)) << error;
        auto rows = db.Prepare(
            "SELECT pcode, pid, kind, mac, remote, received FROM counter_hits ORDER BY rowid",
            error);
        std::vector<std::string> out;
        while (rows && rows.Step()) {
            out.push_back(rows.ColumnText(0) + "|" + rows.ColumnText(1) + "|" + rows.ColumnText(2) +
                          "|" + rows.ColumnText(3) + "|" + rows.ColumnText(4) + "|" +
                          std::to_string(rows.ColumnInt(5)));
        }
        return out;
    }

    TestServer server_;
};

TEST_F(ServicesTest, UpdateServerAnswersProbeAndVersion) {
    const auto probe = Get("/update/update_tunova.php");
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->status, 200);
    const auto version = Get("/update/player_ver.php");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->status, 200);
    EXPECT_EQ(version->body, "7");
}

TEST_F(ServicesTest, CounterStoresOneRowPerRequest) {
    const std::string stamp = std::to_string(kNow);
    for (const std::string pid : {"tunova", "partner7", "tunova"}) {
        const auto result = Get("/web/counter/insert.php?in_pcode=21&in_pid=" + pid +
                                "&in_kind=6&in_mac=0A-1B-2C-3D-4E-5F");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200);
    }
    const auto noMac = Get("/web/counter/insert.php?in_pcode=21&in_pid=tunova&in_kind=6&in_mac=");
    ASSERT_TRUE(noMac);
    EXPECT_EQ(noMac->status, 200);
    EXPECT_EQ(CounterRows(), (std::vector<std::string>{
                                 "21|tunova|6|0A-1B-2C-3D-4E-5F|127.0.0.1|" + stamp,
                                 "21|partner7|6|0A-1B-2C-3D-4E-5F|127.0.0.1|" + stamp,
                                 "21|tunova|6|0A-1B-2C-3D-4E-5F|127.0.0.1|" + stamp,
                                 "21|tunova|6||127.0.0.1|" + stamp,
                             }));
}

TEST_F(ServicesTest, MalformedCounterRequestsStoreNothing) {
    for (const std::string& query : std::vector<std::string>{
             "in_pcode=21&in_pid=tunova&in_kind=6", "in_pcode=x&in_pid=tunova&in_kind=6&in_mac=",
             "in_pcode=21&in_pid=tunova&in_kind=6&in_mac=<script>",
             "in_pcode=21&in_pid=" + std::string(300, 'p') + "&in_kind=6&in_mac=",
             "in_pcode=21&in_pcode=22&in_pid=t&in_kind=6&in_mac=",
             "in_pcode=21&in_pid=t&in_kind=6&in_mac=&extra=1"}) {
        const auto result = Get("/web/counter/insert.php?" + query);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 400) << query;
    }
    EXPECT_TRUE(CounterRows().empty());
}

TEST_F(ServicesTest, VendorPagesAreHtml) {
    const auto home = Get("/");
    ASSERT_TRUE(home);
    EXPECT_EQ(home->status, 200);
    EXPECT_EQ(home->get_header_value("Content-Type"), "text/html; charset=UTF-8");
    const auto board = Get("/web/bbs/board.php?bo_table=freeboard");
    ASSERT_TRUE(board);
    EXPECT_EQ(board->status, 200);
    EXPECT_NE(board->body.find("<html"), std::string::npos);
    const auto other = Get("/web/bbs/board.php?bo_table=secret");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->status, 404);
}

}  // namespace
}  // namespace tunova::server::testing
