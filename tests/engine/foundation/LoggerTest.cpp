#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "GameConstants.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/RegistryValues.h"
#include "platform/Directories.h"
#include "platform/Files.h"
#include "support/TempUserFolders.h"

namespace {

constexpr int kFileOnly = 1;

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestGameConstants();
        ForgetFoldersForTesting();
    }
    void TearDown() override { ForgetFoldersForTesting(); }

    static std::string Content(const std::string& path) {
        std::vector<uint8_t> bytes;
        platform::ReadWholeFile(path, bytes);
        return {bytes.begin(), bytes.end()};
    }

    static void Log(Logger& logger, int level, const char* message) {
        logger.Write(level, "src/game/Thing.cpp", "Update", 42, "%s", message);
    }

    TempUserFolders userFolders_;
};

const std::regex kFactsLine(
    R"(GameName\[TestGame\]CompName\[[^\]]*\]CPUSpeed\[\d+\]CPUType\[\d+\]NumberOfCPUs\[[1-9]\d*\]CPUCaps\[0\])"
    R"(OSName\[Linux [^\]]+\]WinBuild\[0\]SysMem\[[1-9]\d*\]DirectX\[#0900\]Screen\[\d+x\d+x\d+\]\n)");

TEST_F(LoggerTest, FileBeginsWithMachineFactsThenTheLines) {
    Logger logger(0, kFileOnly);
    logger.MakeLogFileName();
    logger.Write(1, "src/game/Thing.cpp", "Update", 42, "value %d of %s", 7, "seven");
    Log(logger, 0, "second");

    const std::string name = logger.FileName();
    const std::string folder = GetGameTempFolder() + "/log/";
    ASSERT_EQ(name.substr(0, folder.size()), folder);
    EXPECT_TRUE(std::regex_match(name.substr(folder.size()), std::regex(R"(\d{4}-\d\d-\d\d \d\d-\d\d-\d\d\.log)")))
        << name;

    const std::string content = Content(name);
    const size_t factsEnd = content.find('\n') + 1;
    EXPECT_TRUE(std::regex_match(content.substr(0, factsEnd), kFactsLine)) << content;
    EXPECT_EQ(content.substr(factsEnd),
              "src/game/Thing.cpp(42) : [Update]\n\tvalue 7 of seven\n"
              "src/game/Thing.cpp(42) : [Update]\n\tsecond\n");
}

TEST_F(LoggerTest, LevelsBelowTheThresholdAndLevelFourAreDropped) {
    struct Case {
        int threshold;
        const char* written;  // one letter per level 0 to 4 that reached the file
    };
    const Case cases[] = {{0, "abcd"}, {2, "cd"}, {4, ""}};
    for (const Case& c : cases) {
        ForgetFoldersForTesting();
        TempUserFolders folders;
        Logger logger(c.threshold, kFileOnly);
        logger.MakeLogFileName();
        const char* letters[] = {"a", "b", "c", "d", "e"};
        for (int level = 0; level <= Logger::kNever; ++level) {
            Log(logger, level, letters[level]);
        }
        std::string written;
        const std::string content = Content(logger.FileName());
        for (size_t tab = content.find('\t'); tab != std::string::npos; tab = content.find('\t', tab + 1)) {
            written += content[tab + 1];
        }
        EXPECT_EQ(written, c.written) << "threshold " << c.threshold;
    }
}

TEST_F(LoggerTest, FileBeginsAgainAfterTenThousandLines) {
    Logger logger(0, kFileOnly);
    logger.MakeLogFileName();
    for (uint32_t i = 0; i < Logger::kMaxLinesPerFile; ++i) {
        Log(logger, 0, "filler");
    }
    ASSERT_TRUE(platform::FileExists(logger.FileName()));
    Log(logger, 0, "one too many");
    EXPECT_TRUE(std::regex_match(Content(logger.FileName()), kFactsLine));
    Log(logger, 0, "fresh");
    const std::string content = Content(logger.FileName());
    const size_t factsEnd = content.find('\n') + 1;
    EXPECT_TRUE(std::regex_match(content.substr(0, factsEnd), kFactsLine));
    EXPECT_EQ(content.substr(factsEnd), "src/game/Thing.cpp(42) : [Update]\n\tfresh\n");
}

// The folder is cleared but for the previous run's log, the newest file in
// it, so that what went wrong in that run can still be read. The file the
// registry names is there from the start, even in a run that never logs.
TEST_F(LoggerTest, RecordLogFileKeepsOnlyThePreviousRunsLogAndNamesItsOwnFile) {
    const std::string folder = GetGameTempFolder() + "/log";
    MakeDirectoryChain(folder + "/old/deeper");
    ASSERT_TRUE(platform::WriteFileAtomically(folder + "/older.log", "older", 5));
    ASSERT_TRUE(platform::WriteFileAtomically(folder + "/previous.log", "previous", 8));
    const auto previous = std::filesystem::last_write_time(folder + "/previous.log");
    std::filesystem::last_write_time(folder + "/older.log", previous - std::chrono::hours(1));

    Logger logger(0, kFileOnly);
    logger.RecordLogFile();
    std::vector<platform::DirectoryEntry> entries;
    ASSERT_TRUE(platform::ListDirectory(folder, entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(Content(folder + "/previous.log"), "previous");

    RegistryString recorded(MakeEngineRegistryPath("cdgfilename"), false, "");
    EXPECT_EQ(recorded.Read(), logger.FileName());
    EXPECT_FALSE(logger.FileName().empty());
    EXPECT_TRUE(std::regex_match(Content(logger.FileName()), kFactsLine));

    // The name is chosen once per run.
    const std::string name = logger.FileName();
    logger.MakeLogFileName();
    EXPECT_EQ(logger.FileName(), name);
}

TEST_F(LoggerTest, ALogFolderThatCannotBeMadeNamesNoFile) {
    MakeDirectoryChain(GetGameTempFolder());
    ASSERT_TRUE(platform::WriteFileAtomically(GetGameTempFolder() + "/log", "in the way", 10));
    RegistryString recorded(MakeEngineRegistryPath("cdgfilename"), false, "");
    recorded.SetValue("an earlier run's name");
    recorded.Write();

    Logger logger(0, kFileOnly);
    logger.RecordLogFile();
    RegistryString after(MakeEngineRegistryPath("cdgfilename"), false, "none read");
    EXPECT_EQ(after.Read(), "");
}

// A run started within the second of the one before writes a file of its
// own, and the earlier run's stays.
TEST_F(LoggerTest, TwoRunsInOneSecondKeepTheirOwnFiles) {
    Logger first(0, kFileOnly);
    first.MakeLogFileName();
    Log(first, 1, "first run");
    Logger second(0, kFileOnly);
    second.MakeLogFileName();
    Log(second, 1, "second run");
    ASSERT_NE(first.FileName(), second.FileName());
    EXPECT_NE(Content(first.FileName()).find("first run"), std::string::npos);
    EXPECT_EQ(Content(second.FileName()).find("first run"), std::string::npos);
    EXPECT_NE(Content(second.FileName()).find("second run"), std::string::npos);
}

// A copy that may not run must not touch the log folder of the one that
// does, and the game's name is unknown until the constants are read.
TEST_F(LoggerTest, LinesWaitInMemoryUntilTheFileIsMade) {
    ForgetGameConstantsForTesting();
    ForgetFoldersForTesting();
    Logger logger(0, kFileOnly);
    Log(logger, 2, "constants missing");
    EXPECT_FALSE(platform::PathExists(GetSharedDataFolder() + "/_temp"));
    EXPECT_TRUE(logger.FileName().empty());

    UseTestGameConstants();
    ForgetFoldersForTesting();
    const std::string folder = GetGameTempFolder() + "/log";
    MakeDirectoryChain(folder + "/stale");
    ASSERT_TRUE(platform::WriteFileAtomically(folder + "/old.log", "old", 3));
    logger.RecordLogFile();
    EXPECT_FALSE(platform::PathExists(folder + "/stale"));
    EXPECT_EQ(Content(folder + "/old.log"), "old");
    const std::string content = Content(logger.FileName());
    const size_t factsEnd = content.find('\n') + 1;
    EXPECT_TRUE(std::regex_match(content.substr(0, factsEnd), kFactsLine)) << content;
    EXPECT_EQ(content.substr(factsEnd), "src/game/Thing.cpp(42) : [Update]\n\tconstants missing\n");
}

// The arguments are evaluated before the line takes the logging lock.
TEST_F(LoggerTest, ArgumentsThatLogDoNotDeadlock) {
    Logger logger(0, kFileOnly);
    logger.MakeLogFileName();
    const auto inner = [&logger] {
        Log(logger, 0, "inner");
        return std::string("value");
    };
    logger.Write(0, "outer.cpp", "Outer", 7, "%s in %s", inner().c_str(), logger.FileName().c_str());

    const std::string content = Content(logger.FileName());
    EXPECT_EQ(content.substr(content.find('\n') + 1),
              "src/game/Thing.cpp(42) : [Update]\n\tinner\n"
              "outer.cpp(7) : [Outer]\n\tvalue in " + logger.FileName() + "\n");
}

TEST_F(LoggerTest, OverlongTextsAreCut) {
    Logger logger(0, kFileOnly);
    logger.MakeLogFileName();
    const std::string longSource(400, 's');
    const std::string longFunction(400, 'f');
    const std::string longMessage(70 * 1024, 'm');
    logger.Write(0, longSource.c_str(), longFunction.c_str(), 1, "%s", longMessage.c_str());

    const std::string content = Content(logger.FileName());
    const std::string line = content.substr(content.find('\n') + 1);
    EXPECT_EQ(line.size(), Logger::kLineRoom - 1);
    EXPECT_EQ(line.substr(0, 256), std::string(254, 's') + "(1");
    EXPECT_NE(line.find("[" + std::string(256, 'f') + "]"), std::string::npos);
}

TEST_F(LoggerTest, LinesFromTwoThreadsNeverInterleave) {
    Logger logger(0, kFileOnly);
    logger.MakeLogFileName();
    constexpr int kLinesEach = 200;
    auto writer = [&logger](const char* message) {
        for (int i = 0; i < kLinesEach; ++i) {
            Log(logger, 0, message);
        }
    };
    std::thread first(writer, "first thread");
    std::thread second(writer, "second thread");
    first.join();
    second.join();

    const std::string content = Content(logger.FileName());
    const std::string firstLine = "src/game/Thing.cpp(42) : [Update]\n\tfirst thread\n";
    const std::string secondLine = "src/game/Thing.cpp(42) : [Update]\n\tsecond thread\n";
    size_t position = content.find('\n') + 1;
    int lines = 0;
    while (position < content.size()) {
        if (content.compare(position, firstLine.size(), firstLine) == 0) {
            position += firstLine.size();
        } else {
            ASSERT_EQ(content.compare(position, secondLine.size(), secondLine), 0) << "at " << position;
            position += secondLine.size();
        }
        ++lines;
    }
    EXPECT_EQ(lines, 2 * kLinesEach);
}

}  // namespace
