// Playlist files: golden texts both ways, files other players write (local paths, file://
// addresses, their extensions), and hostile files, each of which must be refused whole with a
// reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/files.h"
#include "platform/desktop/playlist_formats.h"
#include "support/test_paths.h"

namespace {

using plat::PlaylistTrack;

std::string Golden(const std::string& name) {
    std::string text;
    EXPECT_TRUE(plat::ReadFile(tunova::testing::SuiteData() + "/" + name, text)) << name;
    return text;
}

const std::vector<PlaylistTrack> kGoldenTracks = {
    {"아이유 - 좋은 날", "http://127.0.0.1:8080/media/abc123", 215,
     "http://127.0.0.1:8080/watch?v=abc123&feature=youtube_gdata"},
    {"Title, with a comma & \"quotes\"", "http://127.0.0.1:8080/media/xy_9", 0,
     "https://example.com/watch?v=xy_9"},
    {"빅뱅 - 거짓말 (Live) <2008>", "http://127.0.0.1:8080/media/zz_9", 3600,
     "http://127.0.0.1:8080/watch?v=zz_9"},
};

std::string Refusal(const plat::PlaylistReadResult& result) {
    EXPECT_TRUE(result.tracks.empty());
    return result.error;
}

TEST(PlaylistFormats, WritesAndReadsTheGoldenFiles) {
    EXPECT_EQ(plat::WriteM3u(kGoldenTracks), Golden("playlist_golden.m3u"));
    EXPECT_EQ(plat::WriteXspf(kGoldenTracks), Golden("playlist_golden.xspf"));
    for (const char* name : {"playlist_golden.m3u", "playlist_golden.xspf"}) {
        const plat::PlaylistReadResult read = plat::ReadPlaylistFile(name, Golden(name));
        EXPECT_TRUE(read) << read.error;
        EXPECT_EQ(read.tracks, kGoldenTracks) << name;
    }
    // The writer is chosen by the extension, whatever its case.
    EXPECT_EQ(plat::WritePlaylistFile("/tmp/A.XSPF", kGoldenTracks),
              plat::WriteXspf(kGoldenTracks));
    EXPECT_EQ(plat::WritePlaylistFile("/tmp/a.m3u8", kGoldenTracks), plat::WriteM3u(kGoldenTracks));
}

TEST(PlaylistFormats, WrittenFilesReadBackWhateverTheTitlesAndLinksHold) {
    const std::vector<PlaylistTrack> odd = {
        {"line\nbreak\rand\ttab\x01\xEF\xBF\xBF", "http://h/watch?v=a b\x7f\xea\xb0\x80", 7,
         "http://h/page two"},
        {"", "#not-a-comment", -5, "javascript:alert(1)"},
    };
    for (const std::string& text : {plat::WriteM3u(odd), plat::WriteXspf(odd)}) {
        const plat::PlaylistReadResult read =
            text[0] == '#' ? plat::ReadM3u(text) : plat::ReadXspf(text);
        ASSERT_TRUE(read) << read.error << "\n" << text;
        ASSERT_EQ(read.tracks.size(), 2u);
        EXPECT_EQ(read.tracks[0].title, "line break and tab");
        EXPECT_EQ(read.tracks[0].link, "http://h/watch?v=a%20b%7F%EA%B0%80");
        EXPECT_EQ(read.tracks[0].seconds, 7);
        EXPECT_EQ(read.tracks[0].page, "http://h/page%20two");
        // An untitled entry shows its location; an impossible length reads as unknown; a page
        // that is no web address is dropped.
        EXPECT_EQ(read.tracks[1].title, "%23not-a-comment");
        EXPECT_EQ(read.tracks[1].link, "%23not-a-comment");
        EXPECT_EQ(read.tracks[1].seconds, 0);
        EXPECT_EQ(read.tracks[1].page, "");
    }
}

TEST(PlaylistFormats, ReadsM3uAsOtherPlayersWriteIt) {
    const std::string text =
        "\xEF\xBB\xBF#EXTM3U\r\n"
        "# a comment\r\n"
        "\r\n"
        "#EXTINF:-1 tvg-name=\"a,b\" group-title=\"x\",After attributes\r\n"
        "#EXTVLCOPT:network-caching=1000\r\n"
        "  http://h/1  \r\n"
        "http://h/plain\r\n"
        "#EXTINF:12.7,Decimal\r\n"
        "HTTPS://h/3\r\n"
        "#EXTINF:99999999999999999999,Huge\n"
        "#TUNOVA-PAGE: http://h/watch?v=4 \n"
        "http://h/4\n"
        "#TUNOVA-PAGE:not a page\n"
        "#EXTINF:215,Local file\n"
        "/home/me/Videos/아이유 - 좋은 날.mp4\n"
        "C:\\Music\\song.mp3";
    const plat::PlaylistReadResult read = plat::ReadPlaylistFile("list.M3U8", text);
    ASSERT_TRUE(read) << read.error;
    const std::vector<PlaylistTrack> expected = {
        {"After attributes", "http://h/1", 0},
        {"http://h/plain", "http://h/plain", 0},
        {"Decimal", "HTTPS://h/3", 12},
        {"Huge", "http://h/4", 100000, "http://h/watch?v=4"},
        {"Local file", "/home/me/Videos/아이유 - 좋은 날.mp4", 215},
        {"C:\\Music\\song.mp3", "C:\\Music\\song.mp3", 0},
    };
    EXPECT_EQ(read.tracks, expected);
    EXPECT_TRUE(plat::ReadM3u("").tracks.empty());
}

TEST(PlaylistFormats, ReadsXspfAsOtherPlayersWriteIt) {
    const std::string text = R"(<?xml version="1.0" encoding="utf-8"?>
<!-- written by another player -->
<playlist version="1">
  <title>Mine</title>
  <trackList>
    <track>
      <location>
        http://h/a?x=1&amp;y=2
      </location>
      <location>http://h/second-location-ignored</location>
      <title><![CDATA[Cdata <b>title</b>]]></title>
      <creator>someone</creator>
      <duration>1499</duration>
      <extension application="x"><deep><deeper>ignored</deeper></deep></extension>
    </track>
    <track><location>http://h/b</location><duration>no number</duration></track>
    <track xmlns:x="urn:x"><x:title>not ours</x:title><info>ftp://h/not-a-page</info>
      <location>file:///home/me/a%20b.mp4</location><info>http://h/second-info-ignored</info>
    </track>
  </trackList>
</playlist>)";
    const plat::PlaylistReadResult read = plat::ReadPlaylistFile("no-extension", text);
    ASSERT_TRUE(read) << read.error;
    const std::vector<PlaylistTrack> expected = {
        {"Cdata <b>title</b>", "http://h/a?x=1&y=2", 1},
        {"http://h/b", "http://h/b", 0},
        {"file:///home/me/a%20b.mp4", "file:///home/me/a%20b.mp4", 0},
    };
    EXPECT_EQ(read.tracks, expected);
}

TEST(PlaylistFormats, TellsTheFormatsApart) {
    EXPECT_EQ(plat::DetectPlaylistFormat("a.txt", "\n #EXTM3U\n"), plat::PlaylistFormat::kM3u);
    EXPECT_EQ(plat::DetectPlaylistFormat("a", "<?xml version='1.0'?><playlist/>"),
              plat::PlaylistFormat::kXspf);
    EXPECT_EQ(plat::DetectPlaylistFormat("a.ini", "[SETTING]\r\ncount=1\r\n"),
              plat::PlaylistFormat::kUnknown);
    EXPECT_EQ(plat::DetectPlaylistFormat("/x.y/a", "<html><body/></html>"),
              plat::PlaylistFormat::kUnknown);
    EXPECT_EQ(Refusal(plat::ReadPlaylistFile("notes.txt", "hello")), "not an M3U or XSPF playlist");
    EXPECT_EQ(Refusal(plat::ReadPlaylistFile("a.xspf", "<html/>")), "not an XSPF playlist");
    EXPECT_EQ(Refusal(plat::ReadPlaylistFile("a.xspf", "")),
              "line 1: broken XML (Premature end of document.)");
}

TEST(PlaylistFormats, RefusesHugeFilesLongTitlesAndManyLines) {
    std::string manyLines = "#EXTM3U\n";
    for (int i = 0; i < 50000; ++i) {
        manyLines += "#EXTINF:1,t\nhttp://h/" + std::to_string(i) + "\n";
    }
    EXPECT_EQ(Refusal(plat::ReadM3u(manyLines)), "the file has more than 20000 lines");

    std::string manyTracks = "#EXTM3U\n";
    for (int i = 0; i < 6000; ++i) {
        manyTracks += "http://h/" + std::to_string(i) + "\n";
    }
    EXPECT_EQ(Refusal(plat::ReadM3u(manyTracks)), "the file has more than 5000 entries");

    const std::string tenMegabytes(10u << 20, 'a');
    EXPECT_EQ(Refusal(plat::ReadM3u("#EXTM3U\n#EXTINF:1," + tenMegabytes + "\nhttp://h/\n")),
              "the file is larger than 8 MB");
    EXPECT_EQ(Refusal(plat::ReadXspf("<playlist><trackList><track><title>" + tenMegabytes)),
              "the file is larger than 8 MB");

    const std::string longTitle(5000, 'a');
    EXPECT_EQ(Refusal(plat::ReadM3u("#EXTM3U\n\n#EXTINF:1," + longTitle + "\nhttp://h/\n")),
              "line 3: a title longer than 4096 bytes");
    EXPECT_EQ(Refusal(plat::ReadXspf("<playlist><trackList><track><title>" + longTitle +
                                     "</title><location>http://h/</location></track>"
                                     "</trackList></playlist>")),
              "line 1: a title longer than 4096 bytes");
    EXPECT_EQ(Refusal(plat::ReadM3u("http://h/" + std::string(3000, 'x'))),
              "line 1: a location longer than 2048 bytes");
}

TEST(PlaylistFormats, RefusesDeepNestingAndEntities) {
    std::string deep = "<playlist>";
    for (int i = 0; i < 100000; ++i) {
        deep += "<a>";
    }
    EXPECT_EQ(Refusal(plat::ReadXspf(deep)), "line 1: elements nested more than 16 deep");

    const std::string laughs =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE playlist [<!ENTITY a \"aaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>\n"
        "<playlist><trackList><track><location>http://h/</location><title>&c;</title></track>"
        "</trackList></playlist>";
    EXPECT_EQ(Refusal(plat::ReadXspf(laughs)), "line 2: a document type declaration");
    EXPECT_NE(Refusal(plat::ReadXspf("<playlist><trackList><track><location>http://h/&x;"
                                     "</location></track></trackList></playlist>")),
              "");
}

TEST(PlaylistFormats, RefusesBytesThatAreNotUtf8) {
    // CP949 text, an overlong slash, an encoded surrogate, a truncated sequence at the end.
    for (const std::string& bad : {std::string("\xBE\xC6\xC0\xCC\xC0\xAF"), std::string("\xC0\xAF"),
                                   std::string("\xED\xA0\x80"), std::string("\xEA\xB0")}) {
        EXPECT_EQ(Refusal(plat::ReadM3u("#EXTM3U\n#EXTINF:1," + bad + "\nhttp://h/\n")),
                  "line 2: bytes that are not UTF-8 text");
        EXPECT_EQ(Refusal(plat::ReadXspf("<playlist>\n<trackList><track><title>" + bad +
                                         "</title></track></trackList></playlist>")),
                  "line 2: bytes that are not UTF-8 text");
    }
    EXPECT_EQ(Refusal(plat::ReadXspf("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                     "<playlist/>")),
              "line 1: an encoding other than UTF-8");
}

TEST(PlaylistFormats, RefusesLocationsThatAreMissingOrHoldControlCharacters) {
    const std::string control = "a location with a control character";
    EXPECT_EQ(Refusal(plat::ReadM3u("#EXTM3U\nhttp://h/ok\nhttp://h/a\x01"
                                    "b\n")),
              "line 3: " + control);
    EXPECT_EQ(Refusal(plat::ReadM3u("/home/a\x1b[2Jb")), "line 1: " + control);
    EXPECT_EQ(Refusal(plat::ReadXspf("<playlist><trackList><track>\n<location>http://h/a&#x9;b"
                                     "</location></track></trackList></playlist>")),
              "line 2: " + control);
    for (const char* empty : {"", "<location> \t </location>"}) {
        EXPECT_EQ(
            Refusal(plat::ReadXspf(std::string("<playlist><trackList><track><title>t</title>") +
                                   empty + "</track></trackList></playlist>")),
            "line 1: a track without a location");
    }
    EXPECT_EQ(Refusal(plat::ReadXspf("<playlist><trackList><track><location>http://h/"
                                     "</location></track>"))
                  .substr(0, 22),
              "line 1: broken XML (Pr");
}

}  // namespace
