// Media over real HTTP: whole files, Range, HEAD, and every way of asking for a file outside
// the library refused; a file larger than the socket buffers arrives intact, whole and in parts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "server/library_ingest.h"
#include "server_fixture.h"
#include "support/companion_server.h"

namespace tunova::server::testing {
namespace {

namespace fs = std::filesystem;

class MediaTest : public ::testing::Test {
  protected:
    MediaTest() {
        WriteFile(server_.library().parent_path() / "secret.webm", "SECRET-BYTES");
        clipBytes_ = ReadFile(server_.library() / "rock.webm");
        clipPath_ = "/media/" + VideoIdForPath("rock.webm");
    }

    httplib::Result Get(const std::string& path, const httplib::Headers& headers = {}) {
        auto client = server_.Client();
        return client.Get(path.c_str(), headers);
    }

    TestServer server_;
    std::string clipBytes_;
    std::string clipPath_;
};

TEST_F(MediaTest, ServesTheWholeFileWithItsType) {
    const auto result = Get(clipPath_);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "video/webm");
    EXPECT_EQ(result->get_header_value("Accept-Ranges"), "bytes");
    EXPECT_EQ(result->body, clipBytes_);
}

TEST_F(MediaTest, IdsCutFromWatchLinksStillFindTheFile) {
    // The player takes everything after "v=" in the watch link as the id.
    for (const std::string suffix :
         {"&feature=youtube_gdata", "&amp;feature=youtube_gdata", "%26feature%3Dyoutube_gdata"}) {
        const auto result = Get(clipPath_ + suffix);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200) << suffix;
        EXPECT_EQ(result->body, clipBytes_);
    }
}

TEST_F(MediaTest, RangesAnswer206WithThoseBytes) {
    const auto middle = Get(clipPath_, {{"Range", "bytes=100-199"}});
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->status, 206);
    EXPECT_EQ(middle->get_header_value("Content-Range"), "bytes 100-199/1000");
    EXPECT_EQ(middle->body, clipBytes_.substr(100, 100));

    const auto open = Get(clipPath_, {{"Range", "bytes=990-"}});
    ASSERT_TRUE(open);
    EXPECT_EQ(open->status, 206);
    EXPECT_EQ(open->body, clipBytes_.substr(990));

    const auto suffix = Get(clipPath_, {{"Range", "bytes=-5"}});
    ASSERT_TRUE(suffix);
    EXPECT_EQ(suffix->status, 206);
    EXPECT_EQ(suffix->body, clipBytes_.substr(995));

    const auto beyond = Get(clipPath_, {{"Range", "bytes=5000-"}});
    ASSERT_TRUE(beyond);
    EXPECT_EQ(beyond->status, 416);
    EXPECT_EQ(beyond->get_header_value("Content-Range"), "bytes */1000");

    const auto several = Get(clipPath_, {{"Range", "bytes=0-1,10-11"}});
    ASSERT_TRUE(several);
    EXPECT_EQ(several->status, 200);
    EXPECT_EQ(several->body, clipBytes_);
}

TEST_F(MediaTest, HeadGivesTheLengthWithoutABody) {
    auto client = server_.Client();
    const auto result = client.Head(clipPath_.c_str());
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Length"), "1000");
    EXPECT_TRUE(result->body.empty());
}

TEST_F(MediaTest, PathsOutOfTheLibraryAreRefused) {
    for (const std::string& path : std::vector<std::string>{
             "/media/../secret.webm", "/media/..%2fsecret.webm", "/media/%2e%2e/secret.webm",
             "/media/%2e%2e%2fsecret.webm", "/media//etc/passwd", "/media/%2fetc%2fpasswd",
             "/media/rock.webm", "/media/melody/clip-1.webm", "/media/a%00b", "/media/",
             "/media/" + std::string(40, 'A')}) {
        const auto result = Get(path);
        ASSERT_TRUE(result) << path;
        EXPECT_TRUE(result->status == 400 || result->status == 404)
            << path << " " << result->status;
        EXPECT_EQ(result->body.find("SECRET"), std::string::npos) << path;
    }
}

TEST_F(MediaTest, CatalogueRowsPointingOutsideTheLibraryServeNothing) {
    // A catalogue edited by hand, and a link inside the library, both leading out of it.
    fs::create_symlink(server_.library().parent_path() / "secret.webm",
                       server_.library() / "link.webm");
    VideoRecord escaped;
    escaped.id = "escapedRow1";
    escaped.path = "../secret.webm";
    escaped.title = "escaped";
    VideoRecord linked = escaped;
    linked.id = "linkedFile1";
    linked.path = "link.webm";
    std::string error;
    ASSERT_TRUE(server_.catalogue().Apply({escaped, linked}, {}, error)) << error;

    for (const std::string id : {"escapedRow1", "linkedFile1", "unknownId01"}) {
        const auto result = Get("/media/" + id);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 404) << id;
        EXPECT_EQ(result->body.find("SECRET"), std::string::npos);
    }
}

TEST(FullSizeMediaTest, ArrivesIntactWholeAndInRanges) {
    tunova::testing::CompanionServer server({1});
    ASSERT_TRUE(server.Running()) << server.Error();
    const std::string clip = ReadFile(server.FullSizeClipPath());
    ASSERT_GT(clip.size(), 20'000'000U);
    const std::string host = server.Host();
    httplib::Client client(host.substr(0, host.find(':')),
                           std::stoi(host.substr(host.find(':') + 1)));
    client.set_read_timeout(30);
    const std::string path = "/media/" + server.FullSizeClipId();

    const auto whole = client.Get(path.c_str());
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->status, 200);
    EXPECT_TRUE(whole->body == clip) << whole->body.size() << " bytes of " << clip.size();

    // A range from the middle, crossing many socket-buffer fills, and the last bytes.
    const std::size_t from = clip.size() / 3;
    const auto middle = client.Get(path.c_str(), {{"Range", "bytes=" + std::to_string(from) + "-" +
                                                                std::to_string(from + 8'000'000)}});
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->status, 206);
    EXPECT_TRUE(middle->body == clip.substr(from, 8'000'001));
    const auto tail = client.Get(path.c_str(), {{"Range", "bytes=-3"}});
    ASSERT_TRUE(tail);
    EXPECT_EQ(tail->body, clip.substr(clip.size() - 3));
}

}  // namespace
}  // namespace tunova::server::testing
