// The list file shared by playlist.ini and today50.ini: a profile text in CP949 with CR LF line
// ends, a SETTING section with the entry count, then one LIST section per entry numbered from 1:
//
//   [SETTING]\r\ncount=N\r\n\r\n  then per entry
//   [LISTi]\r\nname=TITLE\r\ntime=SECONDS\r\nurl=LINK\r\n\r\n
//
// Values are written as they are except for CR, LF and zero bytes, which become spaces: a title
// holding a line break must not split its section or plant a key of its own. A value that begins
// and ends with the same quote character (" or ') is written inside one more pair, since readers
// of the format drop one pair of surrounding quotes: 'Live' is written as "'Live'".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plat {
class Profile;
}

namespace tunova {

inline constexpr char kPlaylistFileName[] = "playlist.ini";
inline constexpr char kChartFileName[] = "today50.ini";

// One entry as the file holds it.
struct ListFileRow {
    std::string name;
    int seconds = 0;
    std::string url;
};

// Builds a list file text: the SETTING section is written first with the count the caller gives
// (which may exceed the sections that follow), then each appended entry gets the next number.
class ListFileWriter {
  public:
    explicit ListFileWriter(int count);
    void Append(std::string_view name, int seconds, std::string_view url);
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
    int sections_ = 0;
};

// A value as the writer puts it: CR, LF and zero bytes replaced by spaces, every other byte kept,
// and a value quoted at both ends quoted once more.
std::string ListFileValue(std::string_view value);

// The count of the SETTING section (0 when it is missing or not a number).
int ListFileCount(const plat::Profile& file);
// The entries LIST1 .. LISTn with n the count, but at most `maxRows`. A missing section reads as
// an entry with an empty name and link and time 0.
std::vector<ListFileRow> ReadListFileRows(const plat::Profile& file, int maxRows);

}  // namespace tunova
