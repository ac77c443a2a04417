// Reading feed pages into the result store and showing them in a real list view: counts, the
// more-results flag, appending pages, play times, odd entries and the store's capacity.
#include <gtest/gtest.h>

#include "platform/controls/controls.h"
#include "platform/core/codepage.h"
#include "platform/draw/draw.h"
#include "res/resource_ids.h"
#include "res/skin_bitmaps.h"
#include "search/feed_fetch.h"
#include "search/feed_reader.h"
#include "search/result_list.h"
#include "search/result_store.h"
#include "support/feed_pages.h"

namespace tunova {
namespace {

using testing::FeedXml;
using testing::ResultsPage;
using testing::Utf8;

// As the worker sees a page: UTF-8 from the service, converted to CP949.
FeedPage Read(const std::string& utf8, std::size_t maxItems = ResultStore::kCapacity) {
    return ReadFeedPage(ConvertFeedAnswer(utf8), maxItems);
}

class ResultListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(owner_.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 800, 400), 0));
        ASSERT_TRUE(
            list_.Create(&owner_, res::kIdcResultList, plat::Rect::FromXYWH(0, 0, 780, 380)));
        SetupResultList(list_, images_);
    }
    // Reads a page into the store and shows it, as a worker's hand-over does.
    std::string Show(const std::string& utf8, bool append) {
        store_.TakeSearchPage(Read(utf8), append);
        return FillResultList(store_, list_, append ? FillMode::kAppend : FillMode::kReplace);
    }

    plat::Window owner_;
    plat::ListView list_;
    plat::ImageList images_;
    ResultStore store_;
};

TEST(FeedReader, ReadsCountsAndTheFiveFieldsOfEachEntry) {
    const FeedPage page = Read(
        FeedXml(1234, 31, {{Utf8(u8"한국 노래 &amp; 춤"), 225, "abc"}, {"Second", 59, "def"}}));
    ASSERT_TRUE(page.read);
    EXPECT_EQ(page.totalResultCount, 1234);
    EXPECT_EQ(page.startIndex, 31);
    EXPECT_EQ(page.pageCount, 2);
    ASSERT_EQ(page.items.size(), 2u);
    const VideoItem& first = page.items[0];
    EXPECT_EQ(first.title, "한국 노래 & 춤");
    EXPECT_EQ(first.link, "http://www.youtube.com/watch?v=abc&amp;feature=youtube_gdata");
    EXPECT_EQ(first.updated, "2008-07-02T10:00:00.000Z");
    EXPECT_EQ(first.content, "About \"abc\" & more");
    EXPECT_EQ(first.seconds, 225);
    EXPECT_EQ(page.items[1].title, "Second");
}

TEST(FeedReader, NoRootOrNoTotalMeansNoRows) {
    EXPECT_FALSE(ReadFeedPage("error", 5000).read);
    const FeedPage zero = Read(FeedXml(0, 1, testing::NumberedEntries(1, 3)));
    EXPECT_TRUE(zero.read);
    EXPECT_EQ(zero.startIndex, 0);
    EXPECT_EQ(zero.pageCount, 0);
    EXPECT_TRUE(zero.items.empty());
    const FeedPage html = Read("<html><body><entry>x</entry></body></html>");
    EXPECT_TRUE(html.read);
    EXPECT_TRUE(html.items.empty());
}

TEST(FeedReader, OddEntriesFollowTheCursor) {
    // An entry without media:group has no play time; one without a title repeats the element
    // found last (its updated text).
    const std::string feed =
        "<feed><openSearch:totalResults>2</openSearch:totalResults>"
        "<entry><updated>u1</updated><title>t1</title><content>c</content>"
        "<link href='L1'/></entry>"
        "<entry><updated>u2</updated><content>c2</content><link href='L2'/>"
        "<media:group><yt:duration seconds='59'/></media:group></entry></feed>";
    const FeedPage page = ReadFeedPage(feed, 5000);
    ASSERT_EQ(page.items.size(), 2u);
    EXPECT_EQ(page.items[0].seconds, 0);
    EXPECT_EQ(page.items[0].link, "L1");
    EXPECT_EQ(page.items[1].title, "u2");
    EXPECT_EQ(page.items[1].seconds, 59);
}

TEST(FeedReader, CountsEntryTextsButReadsOnlyRealEntries) {
    // "<entry>" inside a CDATA title counts, but there are only two entries to read.
    const std::string feed =
        "<feed><openSearch:totalResults>9</openSearch:totalResults>"
        "<entry><title><![CDATA[<entry> in a title]]></title></entry>"
        "<entry><title>b</title></entry></feed>";
    const FeedPage page = ReadFeedPage(feed, 5000);
    EXPECT_EQ(page.pageCount, 3);
    ASSERT_EQ(page.items.size(), 2u);
    EXPECT_EQ(page.items[0].title, "<entry> in a title");
}

TEST(FeedReader, TheStartIndexMustFollowTheTotal) {
    const FeedPage page = ReadFeedPage(
        "<feed><openSearch:startIndex>31</openSearch:startIndex>"
        "<openSearch:totalResults>99</openSearch:totalResults></feed>",
        5000);
    EXPECT_EQ(page.totalResultCount, 99);
    EXPECT_EQ(page.startIndex, 0);
}

TEST(FeedReader, WideTextAfterAByteOrderMarkIsConverted) {
    const std::u16string wide =
        u"<feed><openSearch:totalResults>1</openSearch:totalResults>"
        u"<entry><title>\uAC00</title></entry></feed>";
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : wide) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    const FeedPage page = ReadFeedPage(bytes, 5000);
    ASSERT_EQ(page.items.size(), 1u);
    EXPECT_EQ(page.items[0].title, "가");
    // Narrow text cut short by a zero byte is refused.
    EXPECT_FALSE(ReadFeedPage(std::string("<feed/>\0", 8) + std::string(100, 'x'), 5000).read);
}

TEST(ResultStore, MoreResultsFlagNeedsAFullFurtherPage) {
    ResultStore store;
    store.TakeSearchPage(Read(ResultsPage(32, 1, 30)), false);
    EXPECT_TRUE(store.MoreResults());
    store.TakeSearchPage(Read(ResultsPage(31, 1, 30)), false);
    EXPECT_FALSE(store.MoreResults());
    // A failed page keeps the flag and zeroes the counters.
    store.TakeSearchPage(Read(ResultsPage(500, 1, 30)), false);
    store.TakeSearchPage(ReadFeedPage("error", 5000), true);
    EXPECT_TRUE(store.MoreResults());
    EXPECT_EQ(store.StartIndex(), 0);
    EXPECT_EQ(store.TotalResultCount(), 0);
    EXPECT_EQ(store.Items().size(), 30u);
}

TEST(ResultStore, NeverHoldsMoreThanItsCapacity) {
    ResultStore store;
    FeedPage big = Read(ResultsPage(9000, 1, 30));
    big.items.resize(4990, big.items[0]);
    store.TakeSearchPage(big, false);
    for (int i = 0; i < 4990; ++i) {
        store.CountShown();
    }
    store.TakeSearchPage(Read(ResultsPage(9000, 4991, 30)), true);
    EXPECT_EQ(store.Items().size(), ResultStore::kCapacity);
    EXPECT_EQ(store.Items().back().title, "Song 5000");
}

TEST(ResultStore, TheChartSetsFixedCountersAndKeepsWhatIsStored) {
    ResultStore store;
    store.TakeSearchPage(Read(ResultsPage(100, 1, 2)), false);
    store.TakeChartPage(Read(ResultsPage(7, 1, 3)));
    EXPECT_EQ(store.Items().size(), 5u);
    EXPECT_EQ(store.TotalResultCount(), 50);
    EXPECT_EQ(store.PageCount(), 50);
    EXPECT_EQ(store.StartIndex(), 1);
}

TEST_F(ResultListTest, HasFourColumnsAndTheAddPicture) {
    ASSERT_EQ(list_.ColumnCount(), 4);
    EXPECT_EQ(list_.ColumnWidth(0), 45);
    EXPECT_EQ(list_.ColumnWidth(1), 542);
    EXPECT_EQ(list_.ColumnWidth(2), 90);
    EXPECT_EQ(list_.ColumnWidth(3), 98);
    EXPECT_EQ(images_.Count(), 1);
    EXPECT_EQ(list_.ExtendedStyle() & (plat::kLvsExFullRowSelect | plat::kLvsExSubItemImages),
              plat::kLvsExFullRowSelect | plat::kLvsExSubItemImages);
}

TEST_F(ResultListTest, ReplaceThenAppendNumbersRowsOn) {
    EXPECT_EQ(Show(ResultsPage(100, 1, 30), false), "30");
    EXPECT_EQ(list_.ItemText(0, 0), "1");
    EXPECT_EQ(list_.ItemText(0, 1), "Song 1");
    EXPECT_EQ(list_.ItemText(0, 2), "00:01");
    EXPECT_EQ(list_.ItemText(0, 3), "");
    EXPECT_EQ(list_.ItemImage(0, 3), 0);
    EXPECT_EQ(list_.ItemData(29), 29);
    EXPECT_EQ(Show(ResultsPage(100, 31, 30), true), "60");
    EXPECT_EQ(list_.ItemText(30, 0), "31");
    EXPECT_EQ(list_.ItemText(59, 0), "60");
    EXPECT_EQ(list_.ItemText(59, 1), "Song 60");
    EXPECT_EQ(store_.StoredCount(), 60);
    EXPECT_EQ(store_.Items()[59].seconds, 60);
    // A new search replaces everything.
    EXPECT_EQ(Show(ResultsPage(3, 1, 3), false), "3");
    EXPECT_EQ(list_.ItemText(2, 1), "Song 3");
}

TEST_F(ResultListTest, PlayTimesAndTitlesAsShown) {
    Show(FeedXml(2, 1, {{"A &amp; B", 3725, "x"}, {Utf8(u8"가나다"), 59, "y"}}), false);
    EXPECT_EQ(list_.ItemText(0, 1), "A & B");
    EXPECT_EQ(list_.ItemText(0, 2), "62:05");
    EXPECT_EQ(list_.ItemText(1, 1), "가나다");
    EXPECT_EQ(list_.ItemText(1, 2), "00:59");
    EXPECT_EQ(FormatPlayTime(100 * 60), "100:00");
}

// The add picture of the skin is drawn on a magenta key; the key must not show around the button.
TEST(ResultListPicture, AddPictureIsDrawnWithoutItsKeyColour) {
    res::RegisterSkinResources();
    plat::ImageList images;  // outlives the list that draws it
    plat::Window owner;
    ASSERT_TRUE(owner.Create(nullptr, 0, plat::Rect::FromXYWH(0, 0, 800, 400), 0));
    plat::ListView list;
    ASSERT_TRUE(list.Create(&owner, res::kIdcResultList, plat::Rect::FromXYWH(0, 0, 780, 380)));
    SetupResultList(list, images);
    const plat::ColorRef key = plat::Rgb(255, 0, 255);
    const plat::Bitmap* picture = images.At(0);
    ASSERT_NE(picture, nullptr);
    int keyed = 0;
    for (int y = 0; y < picture->Height(); ++y) {
        for (int x = 0; x < picture->Width(); ++x) {
            keyed += picture->Pixel(x, y) == key ? 1 : 0;
        }
    }
    ASSERT_GT(keyed, 0) << "the add picture is drawn on a key colour";
    plat::Bitmap cell;
    ASSERT_TRUE(cell.Create(92, 16));
    {
        plat::DC dc(cell);
        images.Draw(dc, 0, {0, 0});
    }
    int shown = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 92; ++x) {
            shown += cell.Pixel(x, y) == key ? 1 : 0;
        }
    }
    EXPECT_EQ(shown, 0);
}

TEST_F(ResultListTest, FailedOrEmptySearchesShowNoRows) {
    Show(ResultsPage(100, 1, 30), false);
    EXPECT_EQ(Show("error", true), "30");  // a failed page adds nothing
    EXPECT_EQ(Show("error", false), "0");  // a failed search empties the list
    EXPECT_EQ(Show(ResultsPage(0, 1, 0), false), "0");
}

}  // namespace
}  // namespace tunova
