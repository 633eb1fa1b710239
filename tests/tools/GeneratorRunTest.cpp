#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// Every regular file under `root`, as paths relative to it.
std::vector<std::string> FilesUnder(const fs::path& root) {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), root).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool SameBytes(const std::string& a, const std::string& b) {
    std::vector<uint8_t> left, right;
    return platform::ReadWholeFile(a, left) && platform::ReadWholeFile(b, right) && left == right;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The build ran the generator once; a second run must give the same bytes.
TEST(GeneratorRun, TwoRunsGiveIdenticalBytes) {
    TempFolder output;
    const std::string command = std::string(Quoted(WORDRAIL_MEDIAGEN)) + " " + Quoted(WORDRAIL_MEDIA_SOURCE) + " " +
                                Quoted(output.Path()) + " " + Quoted(WORDRAIL_SCOWL_FOLDER) + " " +
                                Quoted(WORDRAIL_SCOWL_COPYRIGHT) + " " + Quoted(WORDRAIL_FONT_FOLDER) + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const fs::path build = WORDRAIL_BUILD_DIR;
    const std::vector<std::string> files = FilesUnder(fs::path(output.Path()) / "media");
    EXPECT_EQ(files, FilesUnder(build / "media"));
    EXPECT_GT(files.size(), 40u);
    for (const std::string& file : files) {
        EXPECT_TRUE(SameBytes(output.Path() + "/media/" + file, (build / "media" / file).string())) << file;
    }
    EXPECT_TRUE(SameBytes(output.Path() + "/media.dat", (build / "media.dat").string()));
}

TEST(GeneratorRun, BadInputsFailTheRunAndWriteNothing) {
    TempFolder output;
    const std::string command = std::string(Quoted(WORDRAIL_MEDIAGEN)) + " " + Quoted(WORDRAIL_MEDIA_SOURCE) + " " +
                                Quoted(output.Path()) + " /nonexistent " + Quoted(WORDRAIL_SCOWL_COPYRIGHT) + " " +
                                Quoted(WORDRAIL_FONT_FOLDER) + " 2> /dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_FALSE(fs::exists(fs::path(output.Path()) / "media.dat"));
}

}  // namespace
