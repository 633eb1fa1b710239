#include <gtest/gtest.h>

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

TEST(FilesTest, MissingFileIsReported) {
    TempFolder folder;
    std::vector<uint8_t> read;
    EXPECT_FALSE(platform::ReadWholeFile(folder.Path() + "/none", read));
    EXPECT_FALSE(platform::FileExists(folder.Path()));  // a folder is not a file
}

}  // namespace
