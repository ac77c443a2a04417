// Files: whole reads, deletion, and atomic replacement that keeps the old file on failure.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/files.h"

namespace plat {
namespace {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tunova-files-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string Read(const std::string& name) const {
        std::string text;
        EXPECT_TRUE(ReadFile(Path(name), text)) << name;
        return text;
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        DIR* d = ::opendir(dir_.c_str());
        while (const dirent* e = ::readdir(d)) {
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") {
                names.push_back(e->d_name);
            }
        }
        ::closedir(d);
        return names;
    }

    std::string dir_;
};

TEST_F(FilesTest, ReplaceCreatesAndReplacesLeavingNoTemporary) {
    const std::string list = Path("playlist.ini");
    EXPECT_FALSE(FileExists(list));
    ASSERT_TRUE(ReplaceFile(list, "first"));
    EXPECT_TRUE(FileExists(list));
    EXPECT_EQ(Read("playlist.ini"), "first");
    ::chmod(list.c_str(), 0640);
    const std::string binary("a\0b\r\n\xFF", 6);
    ASSERT_TRUE(ReplaceFile(list, binary));
    EXPECT_EQ(Read("playlist.ini"), binary);
    ASSERT_TRUE(ReplaceFile(list, ""));
    EXPECT_EQ(Read("playlist.ini"), "");
    struct stat info {};
    ASSERT_EQ(::stat(list.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);  // a replaced file keeps its mode
    EXPECT_EQ(Entries(), std::vector<std::string>{"playlist.ini"});
}

TEST_F(FilesTest, ReplaceThroughALinkReplacesItsTarget) {
    ::mkdir(Path("real").c_str(), 0700);
    ASSERT_TRUE(ReplaceFile(Path("real/registry.ini"), "old"));
    ASSERT_EQ(::symlink((dir_ + "/real/registry.ini").c_str(), Path("link.ini").c_str()), 0);
    ASSERT_TRUE(ReplaceFile(Path("link.ini"), "new"));
    struct stat info {};
    ASSERT_EQ(::lstat(Path("link.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(Read("real/registry.ini"), "new");
}

TEST_F(FilesTest, FailedReplaceKeepsTheOldFileWholeAndRemovesTheTemporary) {
    const std::string list = Path("playlist.ini");
    const std::string old(4096, 'o');
    ASSERT_TRUE(ReplaceFile(list, old));
    // A full disk, simulated by a file size limit in a child (root ignores permissions).
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{8192, 8192};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const FileResult result = ReplaceFile(list, std::string(100'000, 'n'));
        ::_exit(!result && result.error == EFBIG ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Read("playlist.ini"), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"playlist.ini"});

    const FileResult noFolder = ReplaceFile(Path("missing/playlist.ini"), "x");
    EXPECT_FALSE(noFolder);
    EXPECT_EQ(noFolder.error, ENOENT);
    EXPECT_NE(noFolder.description.find("missing"), std::string::npos);
    ::mkdir(Path("folder.ini").c_str(), 0700);
    EXPECT_FALSE(ReplaceFile(Path("folder.ini"), "x"));  // rename over a folder fails
    EXPECT_EQ(Entries().size(), 2u);                     // and its temporary is gone
}

TEST_F(FilesTest, ReadDeleteAndExistence) {
    std::string text = "stale";
    const FileResult missing = ReadFile(Path("none"), text);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(DeleteFile(Path("none")).error, ENOENT);

    ASSERT_TRUE(ReplaceFile(Path("big"), std::string(5000, 'b')));
    EXPECT_EQ(ReadFile(Path("big"), text, 4999).error, EFBIG);
    EXPECT_TRUE(text.empty());
    EXPECT_TRUE(ReadFile(Path("big"), text, 5000));
    EXPECT_EQ(text.size(), 5000u);

    EXPECT_TRUE(DeleteFile(Path("big")));
    EXPECT_FALSE(FileExists(Path("big")));
    EXPECT_FALSE(FileExists(dir_));  // a folder is not a file
}

TEST_F(FilesTest, StaleTemporariesOfOneFileAreRemovedOthersKept) {
    for (const char* name : {".registry.ini.tmp.ab12CD", ".playlist.ini.tmp.ab12CD",
                             ".registry.ini.tmp.short", "registry.ini"}) {
        ASSERT_TRUE(ReplaceFile(Path(name), "x"));
    }
    RemoveStaleTemporaries(Path("registry.ini"));
    std::vector<std::string> left = Entries();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".playlist.ini.tmp.ab12CD", ".registry.ini.tmp.short",
                                              "registry.ini"}));
}

TEST_F(FilesTest, MakeFoldersCreatesTheWholePath) {
    EXPECT_TRUE(MakeFolders(Path("a/b/c")));
    EXPECT_TRUE(MakeFolders(Path("a/b/c")));
    ASSERT_TRUE(ReplaceFile(Path("a/file"), "x"));
    EXPECT_FALSE(MakeFolders(Path("a/file/d")));
    EXPECT_FALSE(MakeFolders(""));
}

}  // namespace
}  // namespace plat
