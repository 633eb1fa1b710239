#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/Files.h"
#include "support/TempFolder.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(FilesTest, AtomicWriteReplacesAndReadsBack) {
    TempFolder folder;
    const std::string path = folder.Path() + "/data.bin";
    ASSERT_TRUE(platform::WriteFileAtomically(path, "first", 5));
    ASSERT_TRUE(platform::WriteFileAtomically(path, "second", 6));
    std::vector<uint8_t> read;
    ASSERT_TRUE(platform::ReadWholeFile(path, read));
    EXPECT_EQ(read, Bytes("second"));
    EXPECT_FALSE(platform::FileExists(path + ".tmp"));
}

TEST(FilesTest, FailedWriteKeepsThePreviousFile) {
    TempFolder folder;
    const std::string path = folder.Path() + "/data.bin";
    ASSERT_TRUE(platform::WriteFileAtomically(path, "keep", 4));
    platform::FailNextAtomicWriteForTesting();
    EXPECT_FALSE(platform::WriteFileAtomically(path, "lost", 4));
    std::vector<uint8_t> read;
    ASSERT_TRUE(platform::ReadWholeFile(path, read));
    EXPECT_EQ(read, Bytes("keep"));
    EXPECT_FALSE(platform::FileExists(path + ".tmp"));
    EXPECT_FALSE(platform::WriteFileAtomically(folder.Path() + "/missing/x", "x", 1));
}

// A failed write says why, in the system's words.
TEST(FilesTest, AFailedWriteGivesItsReason) {
    TempFolder folder;
    const std::string path = folder.Path() + "/data.bin";
    const struct {
        std::string path;
        bool failWrite;
        std::string reason;
    } cases[] = {
        {folder.Path() + "/missing/x", false, "No such file or directory"},
        {path, true, "No space left on device"},
        {folder.Path(), false, "Is a directory"},
    };
    for (const auto& c : cases) {
        if (c.failWrite) {
            platform::FailNextAtomicWriteForTesting();
        }
        std::string why;
        EXPECT_FALSE(platform::WriteFileAtomically(c.path, "x", 1, &why)) << c.path;
        EXPECT_EQ(why, c.reason) << c.path;
    }
}

TEST(FilesTest, MissingFileIsReported) {
    TempFolder folder;
    std::vector<uint8_t> read;
    EXPECT_FALSE(platform::ReadWholeFile(folder.Path() + "/none", read));
    EXPECT_FALSE(platform::FileExists(folder.Path()));  // a folder is not a file
}

// Only a regular file is read: a FIFO in its place (which would make a plain
// open wait for a writer for ever), a device or a folder reads as nothing.
TEST(FilesTest, OnlyRegularFilesAreRead) {
    TempFolder folder;
    const std::string fifo = folder.Path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), folder.Path()}) {
        std::vector<uint8_t> read;
        EXPECT_FALSE(platform::ReadWholeFile(path, read)) << path;
    }
}

// Set aside, a file frees its name under the next numbered damaged name.
TEST(FilesTest, AFileSetAsideTakesTheNextDamagedName) {
    TempFolder folder;
    const std::string path = folder.Path() + "/list";
    ASSERT_TRUE(platform::WriteFileAtomically(path + ".damaged-1", "older", 5));
    ASSERT_TRUE(platform::WriteFileAtomically(path, "newer", 5));
    EXPECT_EQ(platform::MoveAsideAsDamaged(path), path + ".damaged-2");
    EXPECT_FALSE(platform::FileExists(path));
    std::vector<uint8_t> read;
    ASSERT_TRUE(platform::ReadWholeFile(path + ".damaged-2", read));
    EXPECT_EQ(read, Bytes("newer"));
    EXPECT_EQ(platform::MoveAsideAsDamaged(path), "");
}

}  // namespace
