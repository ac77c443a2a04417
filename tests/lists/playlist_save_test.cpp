// Saving playlist.ini: the bytes on disk, a reload of them, the empty playlist, a save that fails
// for a full disk, and the backup of a file that could not be read.
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "playlist_fixture.h"

namespace tunova {
namespace {

using Strings = std::vector<std::string>;

class PlaylistSaveTest : public testing::PlaylistFixture {
  protected:
    std::string Path() const { return folder_.File(kPlaylistFileName); }

    void AddResults(const std::vector<VideoItem>& items) {
        ShowResults(items);
        for (int row = 0; row < static_cast<int>(items.size()); ++row) {
            ASSERT_TRUE(playlist_.AddResult(row, results_, store_, AddVariant::kClick));
        }
    }

    // Names in the data folder other than playlist.ini and its backup.
    Strings OtherFiles() const {
        Strings names;
        DIR* dir = ::opendir(folder_.Path().c_str());
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != ".." && name != kPlaylistFileName &&
                name != std::string(kPlaylistFileName) + ".bak") {
                names.push_back(name);
            }
        }
        ::closedir(dir);
        return names;
    }
};

TEST_F(PlaylistSaveTest, SavedFileHoldsTheTextAndReadsBackInOrder) {
    AddResults({testing::Result("사랑=노래 (Live)", 245), testing::Result("두번째", 0)});
    const Playlist::SaveResult saved = playlist_.Save(Path());
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(saved.status, Playlist::SaveResult::Status::kWritten);
    EXPECT_EQ(testing::ReadBytes(Path()), playlist_.FileText());
    EXPECT_TRUE(OtherFiles().empty());

    Playlist reread;
    CSkinList view;
    ASSERT_TRUE(view.Create(&owner_, 0, plat::Rect::FromXYWH(0, 0, 100, 100)));
    reread.Bind(view);
    reread.SetupView();
    reread.Load(Path());
    ASSERT_EQ(view.ItemCount(), 2);
    EXPECT_EQ(view.ItemText(0, 1), "사랑=노래 (Live)");
    EXPECT_EQ(reread.Find(5000)->seconds, 245);
    EXPECT_EQ(reread.Find(5000)->link, "http://www.youtube.com/watch?v=사랑=노래 (Live)");
    EXPECT_EQ(view.ItemText(1, 1), "두번째");
    // Saved again, the reloaded playlist gives the same bytes.
    const std::string first = testing::ReadBytes(Path());
    ASSERT_TRUE(reread.Save(Path()));
    EXPECT_EQ(testing::ReadBytes(Path()), first);
}

TEST_F(PlaylistSaveTest, SavingAnEmptyPlaylistDeletesTheFile) {
    AddResults({testing::Result("a")});
    ASSERT_TRUE(playlist_.Save(Path()));
    Select({0});
    playlist_.RemoveSelected();
    const Playlist::SaveResult emptied = playlist_.Save(Path());
    EXPECT_EQ(emptied.status, Playlist::SaveResult::Status::kDeleted);
    EXPECT_FALSE(plat::FileExists(Path()));
    EXPECT_EQ(playlist_.Save(Path()).status, Playlist::SaveResult::Status::kDeleted);
}

TEST_F(PlaylistSaveTest, ASaveThatRunsOutOfDiskLeavesTheOldFileWhole) {
    AddResults({testing::Result("one", 1), testing::Result("two", 2)});
    ASSERT_TRUE(playlist_.Save(Path()));
    const std::string old = testing::ReadBytes(Path());
    AddResults({testing::Result("three", 3), testing::Result("four", 4)});
    ASSERT_GT(playlist_.FileText().size(), old.size());

    // A full disk, simulated: the child may write no file beyond the old file's size (root
    // ignores file permissions, but not this limit).
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{old.size(), old.size()};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const Playlist::SaveResult result = playlist_.Save(Path());
        ::_exit(result ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3) << "the save must report its failure";
    EXPECT_EQ(testing::ReadBytes(Path()), old);
    EXPECT_TRUE(OtherFiles().empty()) << "the temporary file must be gone";
}

TEST_F(PlaylistSaveTest, AnUnreadableFileIsKeptAsBakBeforeTheFirstSave) {
    const std::string unreadable = "[SETTING]\r\ncount=two\r\n[LIST1]\r\nname=precious\r\n";
    testing::WriteBytes(Path(), unreadable);
    playlist_.Load(Path());
    ASSERT_EQ(view_.ItemCount(), 0);
    AddResults({testing::Result("new")});
    ASSERT_TRUE(playlist_.Save(Path()));
    EXPECT_EQ(testing::ReadBytes(Path() + ".bak"), unreadable);
    EXPECT_EQ(testing::ReadBytes(Path()), playlist_.FileText());
    // Only once: a later save leaves the backup alone.
    testing::WriteBytes(Path() + ".bak", "kept");
    ASSERT_TRUE(playlist_.Save(Path()));
    EXPECT_EQ(testing::ReadBytes(Path() + ".bak"), "kept");
}

TEST_F(PlaylistSaveTest, AnUnreadableFileIsKeptEvenWhenTheExitSaveDeletes) {
    testing::WriteBytes(Path(), "\xFE\xFF[SETTING]");
    playlist_.Load(Path());
    EXPECT_EQ(playlist_.Save(Path()).status, Playlist::SaveResult::Status::kDeleted);
    EXPECT_FALSE(plat::FileExists(Path()));
    EXPECT_EQ(testing::ReadBytes(Path() + ".bak"), "\xFE\xFF[SETTING]");
}

TEST_F(PlaylistSaveTest, AFileThatCannotBeReadIsRenamedToBakBeforeTheFirstSave) {
    // Tests run as root, whom permissions do not stop: the player runs as another user in a
    // child, and the file stays root's alone.
    const std::string precious = "[SETTING]\r\ncount=1\r\n\r\n[LIST1]\r\nname=precious\r\n";
    testing::WriteBytes(Path(), precious);
    ASSERT_EQ(::chmod(Path().c_str(), 0600), 0);
    ASSERT_EQ(::chmod(folder_.Path().c_str(), 0777), 0);
    ShowResults({testing::Result("new", 7)});

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(2);
        }
        playlist_.Load(Path());
        if (view_.ItemCount() != 0 || !playlist_.HasPendingBackup()) {
            ::_exit(4);
        }
        playlist_.AddResult(0, results_, store_, AddVariant::kClick);
        ::_exit(playlist_.Save(Path()) ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(testing::ReadBytes(Path() + ".bak"), precious);
    EXPECT_NE(testing::ReadBytes(Path()).find("name=new\r\ntime=7\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tunova
