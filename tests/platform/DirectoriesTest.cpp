#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Directories.h"
#include "platform/Files.h"
#include "platform/UserFolders.h"
#include "support/TempFolder.h"

namespace {

TEST(DirectoriesTest, ListingReportsKindsAndNeverFollowsLinks) {
    TempFolder folder;
    const std::string root = folder.Path();
    ASSERT_TRUE(platform::MakeDirectory(root + "/sub"));
    EXPECT_FALSE(platform::MakeDirectory(root + "/sub"));  // exists already
    ASSERT_TRUE(platform::WriteFileAtomically(root + "/file", "abc", 3));
    ASSERT_EQ(::symlink((root + "/sub").c_str(), (root + "/link").c_str()), 0);

    std::vector<platform::DirectoryEntry> entries;
    ASSERT_TRUE(platform::ListDirectory(root, entries));
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "file");
    EXPECT_FALSE(entries[0].isDirectory);
    EXPECT_EQ(entries[1].name, "link");
    EXPECT_TRUE(entries[1].isSymlink);
    EXPECT_FALSE(entries[1].isDirectory);
    EXPECT_EQ(entries[2].name, "sub");
    EXPECT_TRUE(entries[2].isDirectory);

    EXPECT_FALSE(platform::ListDirectory(root + "/link", entries));
    EXPECT_FALSE(platform::ListDirectory(root + "/file", entries));
    EXPECT_TRUE(platform::IsDirectory(root + "/link"));
    EXPECT_TRUE(platform::RemoveFile(root + "/link"));
    EXPECT_TRUE(platform::IsDirectory(root + "/sub"));
}

TEST(DirectoriesTest, SizesAndTimesOfFiles) {
    TempFolder folder;
    const std::string path = folder.Path() + "/file";
    ASSERT_TRUE(platform::WriteFileAtomically(path, "12345", 5));
    EXPECT_EQ(platform::FileSize(path), 5);
    EXPECT_EQ(platform::FileSize(folder.Path() + "/none"), -1);
    EXPECT_EQ(platform::FileSize(folder.Path()), -1);

    uint64_t fileTime = 0;
    ASSERT_TRUE(platform::LastWriteFileTime(path, fileTime));
    EXPECT_GT(fileTime, platform::UnixToFileTime(1'600'000'000, 0));
    EXPECT_FALSE(platform::LastWriteFileTime(folder.Path() + "/none", fileTime));
    EXPECT_EQ(platform::UnixToFileTime(0, 0), 116444736000000000ULL);
    EXPECT_EQ(platform::UnixToFileTime(1, 250), 116444736010000002ULL);
}

TEST(DirectoriesTest, ProgramAndCurrentFolder) {
    const std::string program = platform::ProgramPath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.front(), '/');
    const std::string current = platform::CurrentFolder();
    TempFolder folder;
    ASSERT_TRUE(platform::SetCurrentFolder(folder.Path()));
    EXPECT_TRUE(platform::PathExists(platform::CurrentFolder()));
    ASSERT_TRUE(platform::SetCurrentFolder(current));
}

TEST(DirectoriesTest, UserFoldersFollowTheEnvironment) {
    ::setenv("XDG_DATA_HOME", "/data/home", 1);
    ::setenv("XDG_CONFIG_HOME", "/config/home", 1);
    EXPECT_EQ(platform::DataHomeFolder(), "/data/home");
    EXPECT_EQ(platform::ConfigHomeFolder(), "/config/home");

    ::setenv("XDG_DATA_HOME", "relative", 1);  // only absolute paths count
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(platform::DataHomeFolder(), "/home/someone/.local/share");
    EXPECT_EQ(platform::ConfigHomeFolder(), "/home/someone/.config");

    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("HOME");
    EXPECT_EQ(platform::DataHomeFolder(), "");
    EXPECT_EQ(platform::ConfigHomeFolder(), "");
}

}  // namespace
