// A window with a real result list (1000) and playlist view (1001), a result store filled with
// numbered results, and a temporary data folder for the list files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lists/playlist.h"
#include "platform/controls/controls.h"
#include "platform/core/files.h"
#include "platform/window/window.h"
#include "res/resource_ids.h"
#include "search/result_list.h"
#include "search/result_store.h"

namespace tunova::testing {

// A folder under /tmp, removed with everything in it when the object goes.
class TempFolder {
  public:
    TempFolder() {
        char pattern[] = "/tmp/tunova-lists-XXXXXX";
        const char* made = mkdtemp(pattern);
        path_ = made != nullptr ? made : "";
    }
    ~TempFolder() {
        if (!path_.empty()) {
            const std::string command = "rm -rf '" + path_ + "'";
            [[maybe_unused]] const int status = std::system(command.c_str());
        }
    }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline VideoItem Result(const std::string& title, int seconds = 0) {
    return {title, "http://www.youtube.com/watch?v=" + title, "2009-01-01T00:00:00.000Z",
            "about " + title, seconds};
}

class PlaylistFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(owner_.Create(nullptr, 102, plat::Rect::FromXYWH(0, 0, 785, 600), 0));
        owner_.Show(true);
        ASSERT_TRUE(
            results_.Create(&owner_, res::kIdcResultList, plat::Rect::FromXYWH(0, 160, 780, 300)));
        ASSERT_TRUE(
            view_.Create(&owner_, res::kIdcPlaylist, plat::Rect::FromXYWH(400, 31, 365, 116)));
        SetupResultList(results_, images_);
        playlist_.Bind(view_);
        playlist_.SetupView();
    }

    // Shows `items` in the result list as one search page.
    void ShowResults(std::vector<VideoItem> items) {
        FeedPage page;
        page.read = true;
        page.totalResultCount = static_cast<int>(items.size());
        page.startIndex = 1;
        page.pageCount = static_cast<int>(items.size());
        page.items = std::move(items);
        store_.TakeSearchPage(page, false);
        FillResultList(store_, results_, FillMode::kReplace);
    }

    // Titles of the playlist rows, top to bottom.
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (int row = 0; row < view_.ItemCount(); ++row) {
            titles.push_back(view_.ItemText(row, 1));
        }
        return titles;
    }
    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (int row = view_.NextItem(-1, plat::kLvniSelected); row >= 0;
             row = view_.NextItem(row, plat::kLvniSelected)) {
            rows.push_back(row);
        }
        return rows;
    }
    void Select(std::initializer_list<int> rows) {
        view_.SetItemState(-1, 0, plat::kLvisSelected);
        for (int row : rows) {
            view_.SetItemState(row, plat::kLvisSelected, plat::kLvisSelected);
        }
    }
    // Live records of the entry table (entry number != 0).
    int UsedRecords() const {
        int used = 0;
        for (const PlaylistEntry& e : playlist_.Entries()) {
            used += e.entryNumber != 0 ? 1 : 0;
        }
        return used;
    }

    TempFolder folder_;
    plat::Window owner_;
    plat::ListView results_;
    CSkinList view_;
    plat::ImageList images_;
    ResultStore store_;
    Playlist playlist_;
};

}  // namespace tunova::testing
