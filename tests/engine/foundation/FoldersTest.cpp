#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "engine/foundation/Folders.h"
#include "GameConstants.h"
#include "engine/foundation/Defines.h"
#include "platform/Directories.h"
#include "platform/Files.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

namespace {

class FoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestGameConstants();
        ForgetFoldersForTesting();
    }
    void TearDown() override { ForgetFoldersForTesting(); }

    TempUserFolders userFolders_;
};

void WriteFile(const std::string& path) {
    ASSERT_TRUE(platform::WriteFileAtomically(path, "x", 1)) << path;
}

TEST_F(FoldersTest, GameFoldersLieUnderTheDataHomeAndAreMade) {
    const std::string shared = userFolders_.DataHome() + "/Quelt/Games";
    EXPECT_EQ(GetSharedDataFolder(), shared);
    EXPECT_EQ(GetGameDataFolder(), shared + "/" + GetGameName());
    EXPECT_EQ(GetGameTempFolder(), shared + "/" + GetGameName() + "/_temp");
    EXPECT_TRUE(platform::IsDirectory(GetGameTempFolder()));
}

TEST(GameFolderTest, IsNotKeptBeforeTheGameNameIsKnown) {
    ForgetGameConstantsForTesting();
    TempUserFolders userFolders;
    ForgetFoldersForTesting();
    const std::string shared = userFolders.DataHome() + "/Quelt/Games";
    EXPECT_EQ(GetGameTempFolder(), shared + "/_temp");
    UseTestGameConstants();
    EXPECT_EQ(GetGameTempFolder(), shared + "/" + GetGameName() + "/_temp");
    ForgetFoldersForTesting();
}

TEST_F(FoldersTest, WithoutADataHomeEveryFolderIsTheProgramFolder) {
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("HOME");
    const std::string program = GetProgramFolder();
    EXPECT_FALSE(program.empty());
    EXPECT_EQ(GetSharedDataFolder(), program);
    EXPECT_EQ(GetGameDataFolder(), program);
    EXPECT_EQ(GetGameTempFolder(), program + "/_temp");
    platform::RemoveDirectory(program + "/_temp");
}

TEST_F(FoldersTest, MakeDirectoryChainMakesMissingParents) {
    const std::string deep = userFolders_.DataHome() + "/a/b\\c";  // either separator splits
    MakeDirectoryChain(deep + "/d");
    EXPECT_TRUE(platform::IsDirectory(userFolders_.DataHome() + "/a"));
    MakeDirectoryChain(userFolders_.DataHome() + "/a");  // existing: left alone
    EXPECT_TRUE(platform::IsDirectory(userFolders_.DataHome() + "/a"));
}

TEST_F(FoldersTest, DeleteFolderTreeRemovesNestedFoldersButNotLinkTargets) {
    TempFolder outside;
    WriteFile(outside.Path() + "/precious");
    const std::string tree = userFolders_.DataHome() + "/tree";
    MakeDirectoryChain(tree + "/one/two");
    WriteFile(tree + "/top");
    WriteFile(tree + "/one/two/deep");
    ASSERT_EQ(::symlink(outside.Path().c_str(), (tree + "/one/link").c_str()), 0);

    EXPECT_TRUE(DeleteFolderTree(tree + "/"));
    EXPECT_FALSE(platform::PathExists(tree));
    EXPECT_TRUE(platform::FileExists(outside.Path() + "/precious"));
}

TEST_F(FoldersTest, DeleteFolderTreeRefusals) {
    TempFolder outside;
    WriteFile(outside.Path() + "/precious");
    const std::string link = userFolders_.DataHome() + "/link";
    ASSERT_EQ(::symlink(outside.Path().c_str(), link.c_str()), 0);
    const std::string folder = userFolders_.DataHome() + "/folder";
    MakeDirectoryChain(folder);

    const std::string refused[] = {"", "a", "/", "//", link, folder + "/.", folder + "/..",
                                   folder + "/../", userFolders_.DataHome() + "/missing"};
    for (const std::string& path : refused) {
        EXPECT_FALSE(DeleteFolderTree(path)) << path;
    }
    EXPECT_TRUE(platform::FileExists(outside.Path() + "/precious"));
    EXPECT_TRUE(platform::IsDirectory(folder));
}

TEST_F(FoldersTest, FileSizeAndAccess) {
    const std::string path = userFolders_.DataHome() + "/file";
    ASSERT_TRUE(platform::WriteFileAtomically(path, "1234", 4));
    EXPECT_EQ(GetFileSize(path), 4u);
    EXPECT_EQ(GetFileSize(path + ".missing"), 0u);
    EXPECT_TRUE(GrantEveryoneAccess(path));
}

}  // namespace
