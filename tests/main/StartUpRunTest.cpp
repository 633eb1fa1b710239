#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/foundation/Folders.h"
#include "engine/media/GameWindow.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "main/Application.h"
#include "main/ScriptedRunFixture.h"
#include "platform/Directories.h"
#include "platform/Files.h"
#include "platform/InstanceLock.h"

using namespace platform;

namespace {

TEST_F(ScriptedRunTest, SecondCopySaysSoAndLeavesTheRunningCopysLog) {
    Prepare("close\n");
    EnterProgramFolder(true);
    const std::string gameFolder = folder_.Path() + "/data/Quelt/Games/Test Game";
    std::filesystem::create_directories(gameFolder);
    const InstanceLock::Attempt lock = InstanceLock::Acquire(gameFolder);
    ASSERT_EQ(lock.outcome, InstanceLock::Outcome::Locked);
    const std::string runningLog = gameFolder + "/_temp/log/running.log";
    MakeDirectoryChain(gameFolder + "/_temp/log");
    ASSERT_TRUE(WriteFileAtomically(runningLog, "log", 3));

    testing::internal::CaptureStderr();
    EXPECT_EQ(RunApplication(), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("is already running"), std::string::npos) << said;
    EXPECT_FALSE(backend_->WindowOpen());
    EXPECT_TRUE(FileExists(runningLog));
}

struct UnreadableGameFile {
    const char* name;
    const char* file;
    const char* text;
    const char* says;
};

// A run ends by releasing the class registry of its process: one case a test.
class UnreadableGameFileTest : public ScriptedRunTest, public ::testing::WithParamInterface<UnreadableGameFile> {};

// The game cannot be played without its map, its resource list, a word
// list in which words count, its texts, scoring, game settings, letter
// weights or ranks: start-up stops with the message a damaged
// dialog table gives, before any player file is read or written.
TEST_P(UnreadableGameFileTest, StopsStartUpWithExitCodeOneAndTouchesNoPlayer) {
    Prepare("wait frames 3\nclose\n");
    EnterProgramFolder(true);
    WriteProgramFile(GetParam().file, GetParam().text);
    const std::string players = folder_.Path() + "/data/Quelt/Games/Test Game/players";
    MakeDirectoryChain(players);
    ASSERT_TRUE(WriteFileAtomically(players + "/players.plrs.!", "kept", 4));
    testing::internal::CaptureStderr();
    const int result = RunApplication();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 1);
    EXPECT_NE(said.find(GetParam().says), std::string::npos) << said;
    std::vector<uint8_t> list;
    ASSERT_TRUE(ReadWholeFile(players + "/players.plrs.!", list));
    EXPECT_EQ(std::string(list.begin(), list.end()), "kept");
    EXPECT_EQ(SceneManager::Instance(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableGameFileTest,
    ::testing::Values(
        UnreadableGameFile{"DamagedMap", "media/data/sections.xml", "<root><Vector id=\"sections\"><Node/>",
                           "The map could not be read from \"media/data/sections.xml\".\nThe game cannot start."},
        UnreadableGameFile{"MapOfOneSection", "media/data/sections.xml",
                           "<root><Vector id=\"sections\"><Node/></Vector></root>",
                           "The map could not be read from \"media/data/sections.xml\".\nThe game cannot start."},
        UnreadableGameFile{"DamagedResourceList", "media/properties/resources.xml", "<root><Vector id=\"Sections\">",
                           "The resource sections could not be read from \"media/properties/resources.xml\".\n"
                           "The game cannot start."},
        UnreadableGameFile{"EmptyWordList", "media/data/words.dat", "",
                           "The word list could not be read from \"media/data/words.dat\".\nThe game cannot start."},
        UnreadableGameFile{"WordListOfOneWord", "media/data/words.dat", "horse",
                           "The word list could not be read from \"media/data/words.dat\".\nThe game cannot start."},
        UnreadableGameFile{"DamagedTexts", "media/properties/text.xml", "<root><String id=\"TEXT_YES\"",
                           "The texts could not be read from \"media/properties/text.xml\".\nThe game cannot start."},
        UnreadableGameFile{"DamagedScoring", "media/properties/dynamic.xml", "<root><Vector id=\"SCORE",
                           "The scoring values could not be read from \"media/properties/dynamic.xml\".\n"
                           "The game cannot start."},
        UnreadableGameFile{"DamagedGameSettings", "media/properties/gamesettings.xml", "<root><Node",
                           "The game settings could not be read from \"media/properties/gamesettings.xml\".\n"
                           "The game cannot start."},
        UnreadableGameFile{"DamagedLetterFrequencies", "media/properties/letterfreqs.xml",
                           "<root><Vector id=\"LETTER_FREQS\">",
                           "The letter frequencies could not be read from \"media/properties/letterfreqs.xml\".\n"
                           "The game cannot start."},
        UnreadableGameFile{"DamagedRanks", "media/properties/rankings.xml", "<root><Vector",
                           "The ranks could not be read from \"media/properties/rankings.xml\".\n"
                           "The game cannot start."},
        UnreadableGameFile{"DamagedDialogTable", "media/properties/dialogs.xml", "<root><Node id=\"dialogs\">",
                           "could not be made from \"media/properties/dialogs.xml\".\nThe game cannot start."}),
    [](const ::testing::TestParamInfo<UnreadableGameFile>& info) { return std::string(info.param.name); });

// Files whose loss only spoils pictures or names (the trains' and trophies'
// picture lists, the credits and the default high-score names) are logged,
// and the game runs on.
TEST_F(ScriptedRunTest, DamagedPictureListsAndNamesAreLoggedAndTheGameRunsOn) {
    Prepare(kFirstStartToMenu + kQuit);
    EnterProgramFolder(true);
    WriteProgramFile("media/properties/assets.xml", "<root><Vector id=\"PLAYERTRAINS\">");
    WriteProgramFile("media/properties/names.xml", "<root><Vector");
    testing::internal::CaptureStderr();
    const int result = RunApplication();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 0);
    EXPECT_NE(said.find("media/properties/assets.xml"), std::string::npos) << said;
    EXPECT_NE(said.find("media/properties/names.xml"), std::string::npos) << said;
    EXPECT_EQ(said.find("The game cannot start"), std::string::npos) << said;
}

// A window that cannot be made ends the run with exit code 1, once the run
// has saved what it would.
TEST_F(ScriptedRunTest, AWindowThatCannotBeMadeEndsTheRunWithExitCodeOne) {
    class NoWindows : public HeadlessBackend {
        bool OpenWindow(const std::string&, int, int, bool) override { return false; }
    };
    // A script that ends would quit the run itself.
    Prepare("wait frames 100\n");
    SetActiveBackend(std::make_unique<NoWindows>());
    EnterProgramFolder(true);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunApplication(), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(GameWindow::kCreationFailedText), std::string::npos) << said;
    EXPECT_TRUE(FileExists(folder_.Path() + "/data/Quelt/Games/Test Game/players/players.plrs.!"));
}

// The lock file of an earlier version removed, or a new file put in its
// place, while the game runs: a second copy is still refused.
TEST_F(ScriptedRunTest, ASecondCopyIsRefusedThoughTheLockFileWasRemovedOrReplaced) {
    const std::string waiting = folder_.Path() + "/waiting.script";
    ASSERT_TRUE(WriteFileAtomically(waiting, "wait ms 100000\n", 15));
    Prepare("close\n");
    const pid_t first =
        StartProgram(ChildRun{.environment = {{"WORDRAIL_SCRIPT", waiting}, {"WORDRAIL_CLOCK", "real"}}});
    // The running copy makes its log folder once it holds the lock.
    const std::string gameFolder = folder_.Path() + "/data/Quelt/Games/Word Rail";
    for (int i = 0; i < 600 && !PathExists(gameFolder + "/_temp/log"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(PathExists(gameFolder + "/_temp/log"));
    for (const bool replaced : {false, true}) {
        std::filesystem::remove(gameFolder + "/Word Rail.lock");
        if (replaced) ASSERT_TRUE(WriteFileAtomically(gameFolder + "/Word Rail.lock", "new", 3));
        const std::string said = folder_.Path() + "/second.txt";
        EXPECT_EQ(RunProgram(ChildRun{.errorOutput = said}), 1) << replaced;
        const std::vector<uint8_t> text = BytesOf(said);
        EXPECT_NE(std::string(text.begin(), text.end()).find("Word Rail is already running."), std::string::npos)
            << replaced;
    }
    kill(first, SIGTERM);
    EXPECT_EQ(WaitForProgram(first), 0);
}

// A data folder that cannot be made (a read-only home, here a file where a
// folder of the path should be) holds nothing a second copy could spoil:
// the game runs, says which folder cannot be written in its message box,
// and tells the saves as failing.
TEST_F(ScriptedRunTest, ADataFolderThatCannotBeMadeIsToldAndTheGameRunsWithoutSaving) {
    Prepare("wait frames 3\nclose\nwait frames 100\n");
    EnterProgramFolder(true);
    ASSERT_TRUE(WriteFileAtomically(folder_.Path() + "/home", "x", 1));
    setenv("XDG_DATA_HOME", (folder_.Path() + "/home/data").c_str(), 1);
    ForgetFoldersForTesting();
    EXPECT_EQ(RunApplication(), 0);
    const std::vector<std::string>& boxes = backend_->MessageBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.front(), "Warning: The game's data folder cannot be made: Not a directory.\nFolder: \"" +
                                 folder_.Path() + "/home/data/Quelt/Games/Test Game\"\n"
                                 "The game runs, but nothing of this run can be saved.");
    EXPECT_NE(boxes.back().find("could not be saved"), std::string::npos) << boxes.back();
}

TEST_F(ScriptedRunTest, WithoutTheGamesNameTheRunStopsAndWritesNothing) {
    Prepare("close\n");
    EnterProgramFolder(false);
    testing::internal::CaptureStderr();
    const int result = RunApplication();
    const std::string output = testing::internal::GetCapturedStderr();

    EXPECT_EQ(result, 1);
    EXPECT_FALSE(backend_->WindowOpen());
    EXPECT_NE(output.find("The game's name could not be read from \"media/properties/default.xml\""),
              std::string::npos)
        << output;
    EXPECT_FALSE(PathExists(folder_.Path() + "/data"));
    EXPECT_FALSE(PathExists(folder_.Path() + "/config"));
    EXPECT_TRUE(std::filesystem::is_empty(programFolder_->Path()));
}

TEST_F(ScriptedRunTest, ASceneTheTableCannotMakeEndsStartUpWithAMessage) {
    Prepare("wait frames 3\nclose\n");
    EnterProgramFolder(true);
    const std::string xml =
        R"(<root><Node id="dialogs"><Scene id="SCENE_SPLASH"/><Scene id="SCENE_LOAD"/>)"
        R"(<Scene id="SCENE_SELECTION"/><Scene id="SCENE_MAP"/><Scene id="SCENE_CLASSIC"/>)"
        R"(<NoSuchScene id="SCENE_GAME"/></Node></root>)";
    const std::string dialogs = programFolder_->Path() + "/media/properties/dialogs.xml";
    ASSERT_TRUE(WriteFileAtomically(dialogs, xml.data(), xml.size()));
    testing::internal::CaptureStderr();
    const int result = RunApplication();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 1);
    EXPECT_NE(said.find("The scene \"SCENE_GAME\" could not be made"), std::string::npos) << said;
    EXPECT_EQ(SceneManager::Instance(), nullptr);
}

}  // namespace
