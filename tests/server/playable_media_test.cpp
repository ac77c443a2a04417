// Every file playable by the player's page or said why: the codecs ffprobe reports decide, and
// files in other containers or codecs are listed once their remuxed or transcoded copy exists.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "media_clips.h"
#include "server/library_ingest.h"
#include "server/media_converter.h"
#include "server/playable_media.h"
#include "server_fixture.h"

namespace tunova::server::testing {
namespace {

namespace fs = std::filesystem;

ProbeResult Probe(const std::string& format, const std::string& video, const std::string& audio) {
    ProbeResult probe;
    probe.seconds = 1;
    probe.formatName = format;
    probe.videoCodec = video;
    probe.audioCodec = audio;
    return probe;
}

TEST(PlaybackPlanTest, ContainerAndCodecsDecide) {
    const std::string mp4 = "mov,mp4,m4a,3gp,3g2,mj2";
    const std::string mkv = "matroska,webm";
    struct Case {
        ProbeResult probe;
        std::string path;
        PlaybackRoute route;
        std::string container;
    };
    const std::vector<Case> cases = {
        {Probe(mp4, "h264", "aac"), "a.mp4", PlaybackRoute::AsItIs, ""},
        {Probe(mp4, "av1", "opus"), "a.m4v", PlaybackRoute::AsItIs, ""},
        {Probe(mkv, "vp9", "opus"), "a.webm", PlaybackRoute::AsItIs, ""},
        {Probe(mkv, "vp8", ""), "a.webm", PlaybackRoute::AsItIs, ""},
        {Probe("mp3", "", "mp3"), "a.mp3", PlaybackRoute::AsItIs, ""},
        {Probe("", "", ""), "declared.mkv", PlaybackRoute::AsItIs, ""},
        {Probe(mkv, "h264", "aac"), "a.mkv", PlaybackRoute::Remux, "mp4"},
        {Probe(mkv, "h264", "aac"), "a.webm", PlaybackRoute::Remux, "mp4"},  // misnamed
        {Probe(mkv, "vp9", "vorbis"), "a.mkv", PlaybackRoute::Remux, "webm"},
        {Probe(mp4, "h264", "aac"), "a.mov", PlaybackRoute::Remux, "mp4"},
        {Probe("avi", "h264", "mp3"), "a.avi", PlaybackRoute::Remux, "mp4"},
        {Probe(mkv, "hevc", "aac"), "a.mkv", PlaybackRoute::Transcode, "mp4"},
        {Probe(mp4, "hevc", "aac"), "a.mp4", PlaybackRoute::Transcode, "mp4"},
        {Probe("avi", "mpeg4", "mp3"), "a.avi", PlaybackRoute::Transcode, "mp4"},
        {Probe(mp4, "h264", "ac3"), "a.mp4", PlaybackRoute::Transcode, "mp4"},
        {Probe(mkv, "vp8", "aac"), "a.mkv", PlaybackRoute::Transcode, "mp4"},  // no container fits
    };
    for (const Case& c : cases) {
        const PlaybackPlan plan = PlanPlayback(c.probe, c.path);
        EXPECT_EQ(plan.route, c.route) << c.path << " " << c.probe.videoCodec;
        EXPECT_EQ(plan.container, c.container) << c.path << " " << c.probe.videoCodec;
        EXPECT_EQ(plan.why.empty(), c.route == PlaybackRoute::AsItIs);
    }
}

class ConversionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HaveFfmpeg()) {
            GTEST_SKIP() << "ffmpeg is not installed";
        }
        std::string error;
        catalogue_ = Catalogue::Open((folder_.path() / "catalogue.sqlite").string(), error);
        ASSERT_TRUE(catalogue_) << error;
    }

    MediaConverterOptions Options() {
        MediaConverterOptions options;
        options.cacheFolder = (folder_.path() / "cache").string();
        options.log = [this](const std::string& line) {
            std::lock_guard lock(logMutex_);
            log_.push_back(line);
        };
        return options;
    }

    // Waits (at most 60 s: transcodes share the machine) until `converter` has nothing to do.
    static bool WaitIdle(MediaConverter& converter) {
        for (int i = 0; i < 6000; ++i) {
            if (converter.Idle()) {
                return true;
            }
            usleep(10 * 1000);
        }
        return false;
    }

    std::vector<VideoRecord> All() {
        FeedQuery query;
        query.maxResults = 50;
        std::string error;
        const auto page = catalogue_->Search(query, kNow, error);
        EXPECT_TRUE(page) << error;
        return page ? page->entries : std::vector<VideoRecord>{};
    }

    TempFolder folder_;
    fs::path library_ = folder_.path() / "library";
    std::unique_ptr<Catalogue> catalogue_;
    std::mutex logMutex_;
    std::vector<std::string> log_;
};

TEST_F(ConversionTest, OtherContainersAreRemuxedOtherCodecsTranscodedThenListed) {
    ASSERT_TRUE(MakeClip(library_ / "plain.mp4", ClipKind::H264AacMp4));
    ASSERT_TRUE(MakeClip(library_ / "h264.mkv", ClipKind::H264AacMkv));
    ASSERT_TRUE(MakeClip(library_ / "hevc.mkv", ClipKind::HevcAacMkv));
    ASSERT_TRUE(MakeClip(library_ / "old.avi", ClipKind::Mpeg4Mp3Avi));
    WriteFile(library_ / "broken.mkv", "not a video");
    MediaConverter converter(Options());
    IngestOptions options;
    options.converter = &converter;

    const IngestReport first =
        IngestLibrary(*catalogue_, library_.string(), ProbeWithFfprobe, options);
    ASSERT_TRUE(first) << first.error;
    EXPECT_EQ(first.added, 1);
    EXPECT_EQ(first.waiting, 3);
    EXPECT_EQ(first.skipped, 1);
    // The log names every file not listed, and why.
    for (const std::string name :
         {"h264.mkv: h264 video, aac audio in matroska,webm, remuxing",
          "hevc.mkv: hevc video, aac audio in matroska,webm, transcoding",
          "old.avi: mpeg4 video, mp3 audio in avi, transcoding", "broken.mkv: "}) {
        EXPECT_EQ(std::count_if(first.warnings.begin(), first.warnings.end(),
                                [&](const std::string& w) { return w.rfind(name, 0) == 0; }),
                  1)
            << name;
    }
    ASSERT_EQ(All().size(), 1u);

    ASSERT_TRUE(WaitIdle(converter));
    const IngestReport second =
        IngestLibrary(*catalogue_, library_.string(), ProbeWithFfprobe, options);
    EXPECT_EQ(second.added, 3);
    EXPECT_EQ(second.waiting, 0);
    const auto videos = All();
    ASSERT_EQ(videos.size(), 4u);
    for (const VideoRecord& video : videos) {
        if (video.path == "plain.mp4") {
            EXPECT_EQ(video.mediaCopy, "");
            continue;
        }
        ASSERT_FALSE(video.mediaCopy.empty()) << video.path;
        EXPECT_EQ(fs::path(video.mediaCopy).extension(), ".mp4") << video.path;
        EXPECT_EQ(ProbeCodecs(converter.CopyPath(video.mediaCopy)), "h264,aac") << video.path;
        EXPECT_EQ(video.seconds, 1) << video.path;
    }
    // Nothing half-written is left in the cache.
    for (const auto& entry : fs::directory_iterator(folder_.path() / "cache")) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    }
}

TEST_F(ConversionTest, AFullCacheOrAVanishedSourceLeavesNothingBehind) {
    ASSERT_TRUE(MakeClip(library_ / "hevc.mkv", ClipKind::HevcAacMkv));
    MediaConverterOptions options = Options();
    options.cacheLimitBytes = 2000;  // smaller than the copy
    {
        MediaConverter converter(options);
        converter.Request({(library_ / "hevc.mkv").string(), "a-1.mp4", PlaybackRoute::Transcode});
        converter.Request({(library_ / "gone.mkv").string(), "b-1.mp4", PlaybackRoute::Remux});
        ASSERT_TRUE(WaitIdle(converter));
        EXPECT_FALSE(converter.HasCopy("a-1.mp4"));
        EXPECT_FALSE(converter.HasCopy("b-1.mp4"));
        // A failed job is not tried again.
        converter.Request({(library_ / "hevc.mkv").string(), "a-1.mp4", PlaybackRoute::Transcode});
        EXPECT_TRUE(converter.Idle());
    }
    EXPECT_TRUE(fs::is_empty(folder_.path() / "cache"));
    std::lock_guard lock(logMutex_);
    ASSERT_EQ(log_.size(), 2u);
    EXPECT_NE(log_[0].find("gone.mkv failed"), std::string::npos) << log_[0];  // remux first
    EXPECT_NE(log_[1].find("media cache is full"), std::string::npos) << log_[1];
}

}  // namespace
}  // namespace tunova::server::testing
