// The result list view (kIdcResultList): its columns and settings, and filling it from the store.
#pragma once

#include <string>

namespace plat {
class ImageList;
class ListView;
}  // namespace plat

namespace tunova {

class ResultStore;

inline constexpr int kAddColumn = 3;  // the "add to playlist" picture column

// "%02d:%02d" of whole minutes and the remaining seconds; minutes may exceed 99.
std::string FormatPlayTime(int seconds);

// Creates the four columns (No, title, play time, add), full-row select with sub-item images,
// and fills `images` with the add picture (res::kBmpAddPicture, or a blank 92 x 16 picture when
// that resource is missing) for the list to use. `images` must outlive the list.
void SetupResultList(plat::ListView& list, plat::ImageList& images);

enum class FillMode { kReplace = 0, kAppend = 1 };

// Shows the store's last page: kReplace deletes every row and adds rows 0 .. page count - 1
// with their result index as item data; kAppend adds the page's rows after the existing ones,
// numbered on. Only results actually read get a row; each row counts as shown in the store.
// Returns the list's row count as decimal text (the result count text).
std::string FillResultList(ResultStore& store, plat::ListView& list, FillMode mode);

}  // namespace tunova
