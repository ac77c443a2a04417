// Metadata as people keep it: .nfo and .info.json sidecars, container tags and file names, read
// from real clips; the language guessed from a title's script; hostile sidecars that are
// reported and ignored.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "media_clips.h"
#include "server/atom_feed.h"
#include "server/info_json_sidecar.h"
#include "server/json_value.h"
#include "server/library_ingest.h"
#include "server/media_metadata.h"
#include "server/metadata_sidecar.h"
#include "server/nfo_sidecar.h"
#include "server/script_language.h"
#include "server_fixture.h"

namespace tunova::server::testing {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<Catalogue> OpenCatalogue(const TempFolder& folder) {
    std::string error;
    auto catalogue = Catalogue::Open((folder.path() / "catalogue.sqlite").string(), error);
    EXPECT_TRUE(catalogue) << error;
    return catalogue;
}

std::vector<VideoRecord> Find(Catalogue& catalogue, const std::string& word) {
    FeedQuery query;
    query.maxResults = 50;
    query.order = FeedOrder::Published;
    if (!word.empty()) {
        query.word = word;
        query.wordKey = WordKey::Vq;
    }
    std::string error;
    const auto page = catalogue.Search(query, kNow, error);
    EXPECT_TRUE(page) << error;
    return page ? page->entries : std::vector<VideoRecord>{};
}

VideoRecord ByPath(Catalogue& catalogue, const std::string& path) {
    for (const VideoRecord& video : Find(catalogue, "")) {
        if (video.path == path) {
            return video;
        }
    }
    ADD_FAILURE() << path << " is not in the catalogue";
    return {};
}

const std::string kInfoJson =
    U8(u8R"json({"id": "abc", "title": "[MV] IU(아이유) _ Through the Night(밤편지)",
      "artist": "IU", "uploader": "1theK (원더케이)", "upload_date": "20170324",
      "description": "Through the Night\nlyrics", "tags": ["kpop", "ballad"],
      "duration": 2, "view_count": 1000, "formats": [{"format_id": "137"}]})json");

const std::string kNfo = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<!-- written by a media manager -->
<musicvideo>
  <title>Around the World &amp; Back</title>
  <artist>Daft Punk</artist>
  <album>Homework</album>
  <genre>Disco</genre>
  <year>1997</year>
  <plot><![CDATA[A <robot> dance]]></plot>
  <actor><name>Not an artist</name></actor>
</musicvideo>
)";

class LibraryMetadataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HaveFfmpeg()) {
            GTEST_SKIP() << "ffmpeg is not installed";
        }
    }
    TempFolder folder_;
    fs::path library_ = folder_.path() / "library";
};

TEST_F(LibraryMetadataTest, EachSourceFillsWhatTheMoreTrustedOnesLeaveOpen) {
    ASSERT_TRUE(MakeClip(library_ / "yt/IU - Through the Night [abc].mp4", ClipKind::H264AacMp4,
                         {"title=Tag title loses to the sidecar"}));
    WriteFile(library_ / "yt/IU - Through the Night [abc].info.json", kInfoJson);
    ASSERT_TRUE(MakeClip(library_ / "daft.webm", ClipKind::Vp8VorbisWebm));
    WriteFile(library_ / "daft.nfo", kNfo);
    ASSERT_TRUE(MakeClip(library_ / "tagged.mkv", ClipKind::H264AacMkv,
                         {"title=Tagged Song", "artist=Tag Artist", "date=2019-05-04",
                          "comment=From the tags", "language=jpn"}));
    ASSERT_TRUE(MakeClip(library_ / "Some_Band - Night Song.webm", ClipKind::Vp8VorbisWebm));
    // The table wins over the .nfo for the fields it gives.
    WriteFile(library_ / "metadata.tsv", "file\tdescription\ndaft.webm\tFrom the table\n");

    auto catalogue = OpenCatalogue(folder_);
    const IngestReport report = IngestLibrary(*catalogue, library_.string(), ProbeWithFfprobe);
    ASSERT_TRUE(report) << report.error;
    EXPECT_EQ(report.added, 4);
    EXPECT_TRUE(report.warnings.empty()) << report.warnings.at(0);

    const VideoRecord iu = ByPath(*catalogue, "yt/IU - Through the Night [abc].mp4");
    EXPECT_EQ(iu.title, U8(u8"[MV] IU(아이유) _ Through the Night(밤편지)"));
    EXPECT_EQ(iu.artist, "IU");
    EXPECT_EQ(iu.description, "Through the Night\nlyrics");
    EXPECT_EQ(iu.language, "ko");  // guessed from the title's Hangul
    EXPECT_EQ(iu.published, *ParseUtcDate("2017-03-24"));
    EXPECT_EQ(iu.seconds, 1);  // the file's own length, not the sidecar's

    const VideoRecord daft = ByPath(*catalogue, "daft.webm");
    EXPECT_EQ(daft.title, "Around the World & Back");
    EXPECT_EQ(daft.artist, "Daft Punk");
    EXPECT_EQ(daft.description, "From the table");
    EXPECT_EQ(daft.language, "");
    EXPECT_EQ(daft.published, *ParseUtcDate("1997-01-01"));

    const VideoRecord tagged = ByPath(*catalogue, "tagged.mkv");
    EXPECT_EQ(tagged.title, "Tagged Song");
    EXPECT_EQ(tagged.artist, "Tag Artist");
    EXPECT_EQ(tagged.description, "From the tags");
    EXPECT_EQ(tagged.language, "ja");
    EXPECT_EQ(tagged.published, *ParseUtcDate("2019-05-04"));

    const VideoRecord named = ByPath(*catalogue, "Some_Band - Night Song.webm");
    EXPECT_EQ(named.title, "Night Song");
    EXPECT_EQ(named.artist, "Some Band");

    // Artists, uploaders, genres and albums are searchable; each finds only its video.
    for (const auto& [word, path] :
         std::vector<std::pair<std::string, std::string>>{{"IU", iu.path},
                                                          {"Daft Punk", daft.path},
                                                          {"1theK", iu.path},
                                                          {"Disco", daft.path},
                                                          {"Homework", daft.path},
                                                          {"Tag Artist", tagged.path},
                                                          {"Some Band", named.path}}) {
        const auto found = Find(*catalogue, word);
        ASSERT_EQ(found.size(), 1u) << word;
        EXPECT_EQ(found[0].path, path) << word;
    }
    EXPECT_TRUE(Find(*catalogue, "Not an artist").empty());

    // The feed names the artist as the entry's author.
    CataloguePage page;
    page.total = 1;
    page.entries = Find(*catalogue, "Daft Punk");
    const std::string feed = RenderFeed(page, FeedQuery{}, "127.0.0.1:1", kNow);
    EXPECT_NE(feed.find("<author><name>Daft Punk</name></author>"), std::string::npos);

    // A changed sidecar is read again at the next scan; the unchanged files are not.
    WriteFile(library_ / "daft.nfo", "<musicvideo><artist>Justice</artist></musicvideo>");
    int probes = 0;
    const IngestReport again =
        IngestLibrary(*catalogue, library_.string(), [&](const std::string& path) {
            ++probes;
            return ProbeWithFfprobe(path);
        });
    EXPECT_EQ(again.updated, 1);
    EXPECT_EQ(again.unchanged, 3);
    EXPECT_EQ(probes, 0);
    EXPECT_EQ(ByPath(*catalogue, "daft.webm").artist, "Justice");
    EXPECT_EQ(ByPath(*catalogue, "daft.webm").title, "daft");
}

// A prober that reads nothing from the file: the tests below are about the sidecars.
ProbeResult TwoSeconds(const std::string&) {
    ProbeResult result;
    result.seconds = 2;
    return result;
}

TEST(HostileSidecarTest, EachIsReportedOnceAndIgnoredWithoutStoppingTheScan) {
    TempFolder folder;
    TempFolder outside;
    const fs::path library = folder.path() / "library";
    WriteFile(outside.path() / "secret.nfo", "<musicvideo><title>Secret</title></musicvideo>");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"deep.info.json", std::string(100000, '[') + std::string(100000, ']')},
        {"utf8.nfo", "<musicvideo><title>\xC3\x28</title></musicvideo>"},
        {"notutf8.info.json", "{\"title\": \"\xED\xA0\x80\"}"},
        {"surrogate.info.json", R"({"title": "\ud800"})"},
        {"laughs.nfo",
         "<!DOCTYPE m [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;\">]>"
         "<musicvideo><title>&b;</title></musicvideo>"},
        {"entity.nfo", "<musicvideo><title>&nbsp;</title></musicvideo>"},
        {"nested.nfo", "<musicvideo>" + std::string(300, '<') + "</musicvideo>"},
        {"broken.nfo", "<musicvideo><title>open"},
        {"other.nfo", "<tvshow><title>Show</title></tvshow>"},
        {"array.info.json", "[1, 2]"},
    };
    for (const auto& [sidecar, text] : cases) {
        const std::string stem = sidecar.substr(0, sidecar.find('.'));
        WriteFile(library / (stem + ".webm"), "x");
        WriteFile(library / sidecar, text);
    }
    WriteFile(library / "escape.webm", "x");
    fs::create_symlink(outside.path() / "secret.nfo", library / "escape.nfo");
    // Larger than the cap: refused before it is read (a sparse file costs no disk).
    WriteFile(library / "huge.webm", "x");
    WriteFile(library / "huge.info.json", "{}");
    ASSERT_EQ(truncate((library / "huge.info.json").c_str(), 100 << 20), 0);

    auto catalogue = OpenCatalogue(folder);
    const IngestReport report = IngestLibrary(*catalogue, library.string(), TwoSeconds);
    ASSERT_TRUE(report) << report.error;
    EXPECT_EQ(report.added, static_cast<int>(cases.size()) + 2);
    EXPECT_EQ(report.warnings.size(), cases.size() + 2);
    for (const auto& [sidecar, text] : cases) {
        const auto named = std::count_if(
            report.warnings.begin(), report.warnings.end(),
            [&](const std::string& warning) { return warning.rfind(sidecar + ": ", 0) == 0; });
        EXPECT_EQ(named, 1) << sidecar;
        const std::string stem = sidecar.substr(0, sidecar.find('.'));
        EXPECT_EQ(ByPath(*catalogue, stem + ".webm").title, stem);
    }
    EXPECT_EQ(ByPath(*catalogue, "escape.webm").title, "escape");
    EXPECT_TRUE(Find(*catalogue, "Secret").empty());

    // Reported once: an unchanged library says nothing more.
    const IngestReport again = IngestLibrary(*catalogue, library.string(), TwoSeconds);
    EXPECT_TRUE(again.warnings.empty());
    EXPECT_EQ(again.unchanged, report.added);
}

TEST(SidecarParseTest, NfoAndInfoJsonPickTheirFieldsInOrder) {
    const SidecarMetadata nfo = ParseNfo(
        "\xEF\xBB\xBF<movie><title> Film &#xAC00;&#44032; </title><artist>A</artist>"
        "<artist>B</artist><premiered>2020-02-03</premiered><year>1999</year>"
        "<outline>Short</outline><tag>live</tag><title>Second</title></movie>");
    ASSERT_TRUE(nfo) << nfo.error;
    EXPECT_EQ(*nfo.metadata.title, U8(u8"Film 가가"));
    EXPECT_EQ(*nfo.metadata.artist, "A, B");
    EXPECT_EQ(*nfo.metadata.published, *ParseUtcDate("2020-02-03"));
    EXPECT_EQ(*nfo.metadata.description, "Short");
    EXPECT_EQ(nfo.metadata.keywords, std::vector<std::string>{"live"});

    const SidecarMetadata json = ParseInfoJson(
        R"({"track": "Track", "title": "Title", "creator": "Creator", "uploader": "Up",
            "release_date": "20200102", "upload_date": "20210101", "tags": ["a", 5, "b"],
            "description": "\u00e9\ud83c\udfb5"})");
    ASSERT_TRUE(json) << json.error;
    EXPECT_EQ(*json.metadata.title, "Track");
    EXPECT_EQ(*json.metadata.artist, "Creator");
    EXPECT_EQ(*json.metadata.published, *ParseUtcDate("2020-01-02"));
    EXPECT_EQ(*json.metadata.description, std::string("\xC3\xA9\xF0\x9F\x8E\xB5"));
    EXPECT_EQ(json.metadata.keywords, (std::vector<std::string>{"a", "b", "Up"}));

    EXPECT_FALSE(ParseJson("{\"a\": 1} x"));
    EXPECT_FALSE(ParseJson("{\"a\": 01x}"));
    EXPECT_FALSE(ParseJson("\"tab\there\""));
    EXPECT_TRUE(ParseJson(std::string(64, '[') + std::string(64, ']')));
    EXPECT_FALSE(ParseJson(std::string(65, '[') + std::string(65, ']')));
}

TEST(SidecarParseTest, FileNamesAndScripts) {
    EXPECT_EQ(*MetadataFromFileName("a/Band - Song - Live.mp4").artist, "Band");
    EXPECT_EQ(*MetadataFromFileName("a/Band - Song - Live.mp4").title, "Song - Live");
    EXPECT_FALSE(MetadataFromFileName("- Song.mp4").artist);
    EXPECT_FALSE(MetadataFromFileName("Song-Title.mp4").artist);

    EXPECT_EQ(LanguageFromScript(U8(u8"밤편지 Through the Night")), "ko");
    EXPECT_EQ(LanguageFromScript("\xE6\xA1\x9C\xE3\x81\xAE\xE5\xAD\xA3\xE7\xAF\x80"),
              "ja");  // Han with kana
    EXPECT_EQ(LanguageFromScript(U8(u8"カタカナ")), "ja");
    EXPECT_EQ(LanguageFromScript(U8(u8"月亮代表我的心")), "zh");  // Han alone
    EXPECT_EQ(LanguageFromScript(U8(u8"漢字와 한글")), "ko");
    EXPECT_EQ(LanguageFromScript("Caf\xC3\xA9 \xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"),
              "");
    EXPECT_EQ(LanguageFromScript("\xFF\xFE"), "");
}

}  // namespace
}  // namespace tunova::server::testing
