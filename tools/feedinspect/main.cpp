// feedinspect FILE [--chart]
// Runs a feed page saved as the service sends it (UTF-8) through the player's answer conversion
// and feed reader, then prints the counters and one line per result row as the result list
// would show it, in UTF-8 for the terminal: number, title, play time, link, seconds.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/core/codepage.h"
#include "search/feed_fetch.h"
#include "search/feed_reader.h"
#include "search/result_list.h"
#include "search/result_store.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: feedinspect FEED_FILE [--chart]\n");
    return 2;
}

bool ReadWholeFile(const char* path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string Utf8(std::string_view cp949) {
    return plat::Cp949ToUtf8(cp949);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        return Usage();
    }
    const bool chart = argc == 3 && std::string_view(argv[2]) == "--chart";
    if (argc == 3 && !chart) {
        return Usage();
    }
    std::string answer;
    if (!ReadWholeFile(argv[1], &answer)) {
        std::fprintf(stderr, "feedinspect: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string text = tunova::ConvertFeedAnswer(answer);
    if (text == tunova::kFetchFailed && answer.size() > tunova::kMaxFeedAnswerBytes) {
        std::fprintf(stderr, "feedinspect: %zu bytes is over the player's limit of %zu\n",
                     answer.size(), tunova::kMaxFeedAnswerBytes);
    }
    tunova::ResultStore store;
    const tunova::FeedPage page = tunova::ReadFeedPage(text, tunova::ResultStore::kCapacity);
    if (chart) {
        store.TakeChartPage(page);
    } else {
        store.TakeSearchPage(page, false);
    }
    std::printf("total result count: %d\n", store.TotalResultCount());
    std::printf("start index: %d\n", store.StartIndex());
    std::printf("page count: %d\n", store.PageCount());
    std::printf("more-results flag: %d\n", store.MoreResults() ? 1 : 0);
    if (!page.read) {
        std::printf("(no feed root element: nothing read)\n");
    }
    const int rows = std::min<int>(store.PageCount(), static_cast<int>(store.Items().size()));
    for (int d = 0; d < rows; ++d) {
        const tunova::VideoItem& item = store.Items()[static_cast<std::size_t>(d)];
        std::printf("%d\t%s\t%s\t%s\t%d\n", d + 1, Utf8(item.title).c_str(),
                    tunova::FormatPlayTime(item.seconds).c_str(), Utf8(item.link).c_str(),
                    item.seconds);
    }
    return 0;
}
