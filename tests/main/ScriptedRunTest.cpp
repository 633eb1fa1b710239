#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/foundation/Defines.h"
#include "engine/foundation/Folders.h"
#include "engine/media/FrameTimer.h"
#include "engine/media/GameWindow.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageDecoding.h"
#include "engine/media/InputDispatcher.h"
#include "engine/media/MemorySurface.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/Scrambler.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "main/Application.h"
#include "platform/Directories.h"
#include "platform/Files.h"
#include "platform/InstanceLock.h"
#include "platform/PeakLimiter.h"
#include "platform/RunOptions.h"
#include "platform/VirtualClock.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/sdl/SdlBackend.h"
#include "support/TempFolder.h"

using namespace platform;

namespace {

// Writes what reaches it as short lines.
class RecordingListener : public InputListener {
public:
    bool OnKeyDown(int32_t key) override { return Note("down " + std::to_string(key)); }
    bool OnKeyUp(int32_t key) override { return Note("up " + std::to_string(key)); }
    bool OnChar(int32_t c) override { return Note("char " + std::to_string(c)); }
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override {
        return Note("move " + At(x, y, flags));
    }
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool dbl) override {
        return Note((dbl ? "ldbl " : "ldown ") + At(x, y, flags));
    }
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override {
        return Note("lup " + At(x, y, flags));
    }
    bool OnRButtonDown(int32_t x, int32_t y, uint32_t flags, bool dbl) override {
        return Note((dbl ? "rdbl " : "rdown ") + At(x, y, flags));
    }
    bool OnRButtonUp(int32_t x, int32_t y, uint32_t flags) override {
        return Note("rup " + At(x, y, flags));
    }
    void SetInputEnabled(bool) override {}
    bool IsInputEnabled() const override { return true; }

    std::vector<std::string> log;

private:
    static std::string At(int32_t x, int32_t y, uint32_t flags) {
        return std::to_string(x) + "," + std::to_string(y) + "/" + std::to_string(flags);
    }
    bool Note(const std::string& line) {
        log.push_back(line);
        return true;
    }
};

// A headless run with its own data folder, screenshot folder and script.
class ScriptedRunTest : public ::testing::Test {
protected:
    void Prepare(const std::string& script, bool sdl = false) {
        const std::string scriptPath = folder_.Path() + "/run.script";
        ASSERT_TRUE(WriteFileAtomically(scriptPath, script.data(), script.size()));
        setenv("WORDRAIL_SCRIPT", scriptPath.c_str(), 1);
        setenv("WORDRAIL_SCREENSHOTS", folder_.Path().c_str(), 1);
        setenv("WORDRAIL_CLOCK", "virtual", 1);
        setenv("XDG_DATA_HOME", (folder_.Path() + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (folder_.Path() + "/config").c_str(), 1);
        // Whatever started the test: the backend asked for, and SDL's drivers that need no display or sound card.
        setenv("WORDRAIL_BACKEND", sdl ? "sdl" : "headless", 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ReloadRunOptionsForTesting();
        ForgetFoldersForTesting();
        if (sdl) {
            SetActiveBackend(std::make_unique<SdlBackend>());
            return;
        }
        auto backend = std::make_unique<HeadlessBackend>();
        backend_ = backend.get();
        SetActiveBackend(std::move(backend));
    }
    // A program folder of its own, with the game's constants, the scene
    // fixture's definitions and the smallest map, resource list and word
    // list a game starts with, or without any of them.
    void EnterProgramFolder(bool withConstants) {
        programFolder_ = std::make_unique<TempFolder>();
        if (withConstants) {
            const std::string constants = programFolder_->Path() + "/media/properties";
            std::filesystem::create_directories(constants);
            const std::string xml =
                "<root><String id=\"GAME_ID\" value=\"TestGame\"/>"
                "<String id=\"GAME_NAME\" value=\"Test Game\"/></root>";
            ASSERT_TRUE(WriteFileAtomically(constants + "/default.xml", xml.data(), xml.size()));
            std::filesystem::copy_file(std::string(WORDRAIL_TEST_DATA) + "/main/data/scene_run/dialogs.xml",
                                       constants + "/dialogs.xml");
            WriteProgramFile("media/properties/resources.xml",
                             "<root><Vector id=\"Sections\"><Node name=\"wordlist\" auto=\"true\">"
                             "<WordList id=\"WORDLIST\" file=\"media/data/words.dat\"/></Node></Vector></root>");
            std::string sections = "<root><Vector id=\"sections\">";
            for (int i = 0; i < 10; ++i) sections += "<Node/>";
            WriteProgramFile("media/data/sections.xml", sections + "</Vector></root>");
            // Words of three to seven letters, the last two ranked.
            const char words[] = "\0" "cat" "\0" "bird" "\0" "horse" "\10\1\0" "planet" "\10\2\0" "kitchen";
            WriteProgramFile("media/data/words.dat", std::string(words, sizeof words - 1));
        }
        EnterFolder(programFolder_->Path());
    }
    void WriteProgramFile(const std::string& name, const std::string& text) {
        const std::string path = programFolder_->Path() + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        ASSERT_TRUE(WriteFileAtomically(path, text.data(), text.size())) << path;
    }
    // Runs the program from `folder` until TearDown.
    void EnterFolder(const std::filesystem::path& folder) {
        previousFolder_ = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        ForgetGameConstantsForTesting();
    }
    void TearDown() override {
        if (!previousFolder_.empty()) {
            std::filesystem::current_path(previousFolder_);
            ForgetGameConstantsForTesting();
        }
        GameWindow::ReleaseSingleInstanceForTesting();
        ResetWindowsForTesting();
        SetActiveBackend(nullptr);
        for (const char* name : {"WORDRAIL_SCRIPT", "WORDRAIL_SCREENSHOTS", "WORDRAIL_CLOCK",
                                 "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            unsetenv(name);
        ReloadRunOptionsForTesting();
        ForgetFoldersForTesting();
    }

    TempFolder folder_;
    HeadlessBackend* backend_ = nullptr;
    std::unique_ptr<TempFolder> programFolder_;
    std::filesystem::path previousFolder_;
};

// Input played through either backend: headless directly, SDL through its
// own event queue and key symbols.
class ScriptedInputTest : public ScriptedRunTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ScriptedInputTest, KeysAndMouseReachTheSceneListenerInOrder) {
    Prepare(
        "mouse 400 300\n"
        "wait frames 2\n"
        "screenshot first\n"
        "key A\n"
        "type \"b\"\n"
        "key BACK\n"
        "alt key X\n"
        "wait frames 1\n"
        "click 100 200\n"
        "click 300 300 right\n"
        "wait ms 600\n"
        "dblclick 50 60\n"
        "key RETURN\n"
        "wait frames 1\n"
        "mouse 850 10\n"
        "wait frames 3\n"
        "close\n",
        GetParam());
    GameWindow* window = GameWindow::Create("Test", 800, 600, false, 0, 102);
    FrameTimer* timer = FrameTimer::Create();
    timer->SetMinimumFrameTime(1);
    timer->AddListener(window);
    // What a scene does: its dispatcher listens to the window and runs each frame.
    Ref<InputDispatcher> dispatcher = new InputDispatcher();
    Ref<InputListenerList> list = new InputListenerList();
    RecordingListener listener;
    list->AddListener(&listener, false);
    dispatcher->AddList(list.Get());
    window->GetListeners()->AddListener(dispatcher.Get());
    timer->AddListener(dispatcher.Get());

    RunMainLoop();

    window->GetListeners()->RemoveListener(dispatcher.Get());
    FrameTimer::DestroyInstance();
    GameWindow::DestroyInstance();

    const std::vector<std::string> expected = {
        "move 400,300/0",
        "down 65", "char 97", "up 65",
        "down 66", "char 98", "up 66",
        "down 8", "char 8", "up 8",
        // Alt+X and Alt itself are system keys: never delivered.
        "move 100,200/0", "ldown 100,200/1", "lup 100,200/0",
        "move 300,300/0", "rdown 300,300/2", "rup 300,300/0",
        "move 50,60/0", "ldown 50,60/1", "lup 50,60/0", "ldbl 50,60/1", "lup 50,60/0",
        "down 13", "char 13", "up 13",
        "move 800,10/0",
    };
    ASSERT_GE(listener.log.size(), expected.size() + 1);
    EXPECT_EQ(std::vector<std::string>(listener.log.begin(), listener.log.begin() + expected.size()),
              expected);
    // Outside the window with nothing queued: one move a frame at the edge.
    for (size_t i = expected.size(); i < listener.log.size(); ++i)
        EXPECT_EQ(listener.log[i], "move 800,10/0");
    std::vector<uint8_t> png;
    ASSERT_TRUE(ReadWholeFile(folder_.Path() + "/first.png", png));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
}

INSTANTIATE_TEST_SUITE_P(Backends, ScriptedInputTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Sdl" : "Headless";
                         });

TEST_F(ScriptedRunTest, ProgramRunEndsAtTheCloseBox) {
    Prepare("wait frames 3\nscreenshot end\nwait frames 1\nclose\nwait frames 100\n");
    EnterProgramFolder(true);
    // Start-up seeds the process-wide sequence from the clock, here the virtual one.
    AdvanceVirtualClock(12345);
    std::srand(12345);
    const std::vector<int> seeded = {std::rand(), std::rand(), std::rand()};
    std::srand(1);
    EXPECT_EQ(RunApplication(), 0);
    EXPECT_EQ((std::vector<int>{std::rand(), std::rand(), std::rand()}), seeded);
    EXPECT_FALSE(backend_->WindowOpen());
    EXPECT_GE(backend_->Frames().PresentedFrames(), 4u);
    EXPECT_TRUE(FileExists(folder_.Path() + "/end.png"));
}

TEST_F(ScriptedRunTest, SecondCopySaysSoAndLeavesTheRunningCopysLog) {
    Prepare("close\n");
    EnterProgramFolder(true);
    const std::string gameFolder = folder_.Path() + "/data/Quelt/Games/Test Game";
    std::filesystem::create_directories(gameFolder);
    bool running = false;
    auto lock = InstanceLock::Acquire(gameFolder, "Test Game", running);
    ASSERT_NE(lock, nullptr);
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

// The game cannot be played without its map, its resource list or a word
// list in which words count: start-up stops with the message a damaged
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
        UnreadableGameFile{"DamagedDialogTable", "media/properties/dialogs.xml", "<root><Node id=\"dialogs\">",
                           "could not be made from \"media/properties/dialogs.xml\".\nThe game cannot start."}),
    [](const ::testing::TestParamInfo<UnreadableGameFile>& info) { return std::string(info.param.name); });

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

// Without a lock there is no telling whether another copy runs on the data:
// the run ends as a second copy does, and names the lock file.
TEST_F(ScriptedRunTest, ALockFileThatCannotBeOpenedRefusesTheRunAsASecondCopy) {
    Prepare("close\n");
    EnterProgramFolder(true);
    const std::string lockFile = folder_.Path() + "/data/Quelt/Games/Test Game/Test Game.lock";
    std::filesystem::create_directories(lockFile);

    testing::internal::CaptureStderr();
    EXPECT_EQ(RunApplication(), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Test Game is already running."), std::string::npos) << said;
    EXPECT_NE(said.find("\"" + lockFile + "\""), std::string::npos) << said;
    EXPECT_FALSE(backend_->WindowOpen());
    EXPECT_FALSE(PathExists(folder_.Path() + "/data/Quelt/Games/Test Game/players"));
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

// A scene that fills the picture with its "color". Key N switches to the
// scene named by "next" through "TRANSITION_DEFAULT"; key D opens
// "DIALOG_TEST".
class ColourScene : public Scene {
public:
    explicit ColourScene(Property* definition)
        : Scene(definition), next_(Property::AsString(Property::Child(definition, "next"))) {}

    void Draw(Canvas& canvas) override {
        canvas.SetColor(Color(0xFF000000u | static_cast<uint32_t>(GetColor())));
        canvas.FillRect(0, 0, 800, 600);
    }

    bool OnKeyDown(int32_t virtualKey) override {
        SceneManager* manager = SceneManager::Instance();
        if (virtualKey == 'N') {
            const Ref<Object> transition(DialogTable::Instance()->CreateDialog("TRANSITION_DEFAULT"));
            manager->RequestSwitch(manager->FindScene(next_), ObjectCast<SceneTransition>(transition.Get()));
        } else if (virtualKey == 'D') {
            ShowDialog(GetDialog("DIALOG_TEST"));
        }
        return true;
    }

private:
    std::string next_;
};

// A dialog that is a plain box of its "color".
class ColourDialog : public Dialog {
public:
    using Dialog::Dialog;
    void Draw(Canvas& canvas) override {
        canvas.SetColor(Color(0xFF000000u | static_cast<uint32_t>(GetColor())));
        canvas.FillRect(GetX(), GetY(), GetWidth(), GetHeight());
    }
};

const ClassRegistration colourScene("ColourScene", CreateFromProperty<ColourScene>);
const ClassRegistration colourDialog("ColourDialog", CreateFromProperty<ColourDialog>);

uint32_t ScreenshotPixel(const std::string& file, int32_t x, int32_t y) {
    const Ref<MemorySurface> picture = LoadPictureFile(file);
    if (!picture || x >= picture->GetWidth() || y >= picture->GetHeight()) {
        ADD_FAILURE() << "no picture " << file;
        return 0;
    }
    return picture->Pixels32()[picture->PixelIndex(x, y)] & 0xFFFFFFu;
}

TEST_F(ScriptedRunTest, ScenesSwitchThroughTheTransitionAndOpenADialogUntilTheWindowCloses) {
    Prepare(
        "wait frames 3\n"
        "screenshot splash\n"
        "key N\n"
        "wait ms 150\n"
        "screenshot fading\n"
        "wait ms 1000\n"
        "screenshot load\n"
        "key D\n"
        "wait frames 3\n"
        "screenshot dialog\n"
        "close\n"
        "wait frames 100\n");
    EnterProgramFolder(true);
    EXPECT_EQ(RunApplication(), 0);
    EXPECT_FALSE(backend_->WindowOpen());
    const std::string shots = folder_.Path() + "/";
    EXPECT_EQ(ScreenshotPixel(shots + "splash.png", 400, 300), 0x2060A0u);
    // Half-way through the fade to black, darker than either scene.
    const uint32_t fading = ScreenshotPixel(shots + "fading.png", 400, 300);
    EXPECT_LT(fading & 0xFF, 0xA0u);
    EXPECT_LT((fading >> 8) & 0xFF, 0x60u);
    EXPECT_EQ(ScreenshotPixel(shots + "load.png", 400, 300), 0x30A050u);
    EXPECT_EQ(ScreenshotPixel(shots + "dialog.png", 400, 250), 0xE0C040u);
    EXPECT_EQ(ScreenshotPixel(shots + "dialog.png", 100, 100), 0x30A050u);
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

namespace {

struct Rgb {
    int r;
    int g;
    int b;
};

Rgb PixelOf(const MemorySurface& picture, int32_t x, int32_t y) {
    const uint32_t pixel = picture.Pixels32()[picture.PixelIndex(x, y)];
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

// The screenshot `name` that a run wrote into `folder`.
Ref<MemorySurface> LoadScreenshot(const std::string& folder, const char* name) {
    Ref<MemorySurface> picture = LoadPictureFile(folder + "/" + name + ".png");
    EXPECT_TRUE(picture) << name;
    return picture;
}

}  // namespace

// The real start: the generated media of this build, from the splash through
// the load scene (with its first-run question) to the menu's stand-in. The
// screenshots stay in the build tree for people to look at.
TEST_F(ScriptedRunTest, FirstScreensRunFromTheSplashToTheMenu) {
    const std::string shots = std::string(WORDRAIL_BUILD_DIR) + "/tests/first-screens";
    std::filesystem::remove_all(shots);
    std::filesystem::create_directories(shots);
    Prepare(
        "wait ms 5500\n"
        "screenshot splash\n"
        "wait ms 4000\n"
        "screenshot load_question\n"
        "click 480 381\n"
        "wait frames 2\n"
        "screenshot load_done\n"
        "click 400 475\n"
        "wait ms 600\n"
        "screenshot load_transition\n"
        "wait ms 5000\n"
        "screenshot menu_newplayer\n"
        "type Ada\n"
        "key RETURN\n"
        "wait ms 1500\n"
        "screenshot menu\n"
        "click 400 255\n"
        "wait ms 2500\n"
        "screenshot map\n"
        "close\n");
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    ReloadRunOptionsForTesting();
    EnterFolder(WORDRAIL_BUILD_DIR);
    ASSERT_EQ(RunApplication(), 0);

    const auto shot = [&shots](const char* name) { return LoadScreenshot(shots, name); };
    // The logo on its light ground, its green ring drawn.
    const Ref<MemorySurface> splash = shot("splash");
    ASSERT_TRUE(splash);
    const Rgb ground = PixelOf(*splash, 40, 40);
    EXPECT_GT(std::min({ground.r, ground.g, ground.b}), 190);
    const Rgb ring = PixelOf(*splash, 321, 194);
    EXPECT_GT(ring.g, ring.r + 30);
    EXPECT_GT(ring.g, ring.b);
    // No player yet and a window: the question over the load scene.
    const Ref<MemorySurface> question = shot("load_question");
    ASSERT_TRUE(question);
    const Rgb parchment = PixelOf(*question, 400, 335);
    EXPECT_GT(std::min(parchment.r, parchment.g), 200);
    // Answered no: the sign and the full bar show.
    const Ref<MemorySurface> done = shot("load_done");
    ASSERT_TRUE(done);
    const Rgb sign = PixelOf(*done, 400, 270);
    EXPECT_TRUE(sign.r > sign.g && sign.g > sign.b && sign.r < 180) << sign.r << " " << sign.g << " " << sign.b;
    const Rgb bar = PixelOf(*done, 400, 430);
    EXPECT_TRUE(bar.r > 150 && bar.g > 100 && bar.b < 110) << bar.r << " " << bar.g << " " << bar.b;
    // The click text has faded from the hills.
    const Ref<MemorySurface> leaving = shot("load_transition");
    ASSERT_TRUE(leaving);
    const Rgb hills = PixelOf(*leaving, 400, 475);
    EXPECT_GT(hills.g, hills.r);
    // The menu asks the first player's name over its sky.
    const Ref<MemorySurface> asking = shot("menu_newplayer");
    ASSERT_TRUE(asking);
    const Rgb dialog = PixelOf(*asking, 400, 300);
    EXPECT_GT(std::min(dialog.r, dialog.g), 150);
    // Named: the sky, the greeting on its ribbon, the green adventure plate
    // and the first section's railway at the bottom.
    const Ref<MemorySurface> menu = shot("menu");
    ASSERT_TRUE(menu);
    const Rgb sky = PixelOf(*menu, 40, 40);
    EXPECT_GT(sky.b, sky.r);
    const Rgb adventure = PixelOf(*menu, 260, 255);
    EXPECT_GT(adventure.g, adventure.r + 20);
    const Rgb sleeper = PixelOf(*menu, 400, 595);
    EXPECT_LT(std::max({sleeper.r, sleeper.g, sleeper.b}), 170);
    // The adventure leads to the map: land where the menu had sky.
    const Ref<MemorySurface> map = shot("map");
    ASSERT_TRUE(map);
    const Rgb land = PixelOf(*map, 700, 300);
    EXPECT_GT(land.r, land.b + 10);
    EXPECT_GT(land.g, land.b + 10);
}

namespace {

// Reaching the menu from a start with no players: the load scene's first-run
// question is answered, then the load scene is left.
const std::string kFirstStartToMenu =
    "wait ms 9500\n"
    "click 480 381\n"
    "wait frames 2\n"
    "click 400 475\n"
    "wait ms 5600\n";
// The same from a later start, which asks nothing.
const std::string kLaterStartToMenu =
    "wait ms 9500\n"
    "click 400 475\n"
    "wait ms 5600\n";
// From the menu: open the players, add one by name (which closes the list).
std::string AddPlayer(const std::string& name) {
    return "click 175 395\nwait ms 800\nclick 280 427\nwait ms 800\ntype \"" + name +
           "\"\nkey RETURN\nwait ms 1500\n";
}
const std::string kQuit = "close\nwait ms 800\nclick 320 369\nwait ms 2000\n";

// The player list dialog, centred on the screen.
constexpr int32_t kListLeft = 186;
constexpr int32_t kListTop = 138;
constexpr int32_t kListRight = 614;
constexpr int32_t kListBottom = 490;

int DifferingPixels(const MemorySurface& one, const MemorySurface& other, int32_t left, int32_t top, int32_t right,
                    int32_t bottom) {
    int differing = 0;
    for (int32_t y = top; y < bottom; ++y) {
        for (int32_t x = left; x < right; ++x) {
            differing += one.Pixels32()[one.PixelIndex(x, y)] != other.Pixels32()[other.PixelIndex(x, y)];
        }
    }
    return differing;
}

bool IsParchment(const Rgb& pixel) { return pixel.r > 200 && pixel.g > 180 && pixel.r > pixel.b + 15; }

}  // namespace

// The players as someone would handle them: the first name typed at the first
// start, two more added, the one in the middle removed while it is the
// current one, the first chosen again; the locked classic button's hint and
// the trophy cabinet and a tooltip on the way. After a restart the list on screen and the
// player files on disk are those the first run left.
TEST_F(ScriptedRunTest, PlayersMadeSwitchedAndRemovedAreTheSameAfterARestart) {
    const std::string shots = std::string(WORDRAIL_BUILD_DIR) + "/tests/player-screens";
    std::filesystem::remove_all(shots);
    std::filesystem::create_directories(shots);
    Prepare(kFirstStartToMenu +
            "screenshot newplayer\n"
            "type \"Ada\"\n"
            "key RETURN\n"
            "wait ms 1500\n" +
            AddPlayer("Bob") + AddPlayer("Cy") +
            "click 175 395\n"
            "wait ms 800\n"
            "screenshot three_players\n"
            // Bob, in the middle, becomes current and is removed.
            "click 386 247\n"
            "wait ms 500\n"
            "click 402 427\n"
            "wait ms 800\n"
            "screenshot remove_question\n"
            "click 320 381\n"
            "wait ms 800\n"
            "click 386 207\n"
            "wait ms 500\n"
            "screenshot two_players\n"
            "click 524 427\n"
            "wait ms 1500\n"
            "screenshot menu\n"
            "mouse 400 250\n"
            "wait ms 300\n"
            "mouse 402 252\n"
            "wait ms 1500\n"
            "screenshot adventure_tooltip\n"
            "click 400 335\n"
            "wait ms 1000\n"
            "screenshot classic_locked\n"
            "click 394 325\n"
            "wait ms 1000\n"
            "click 742 50\n"
            "wait ms 2000\n"
            "screenshot cabinet\n"
            "click 396 521\n"
            "wait ms 1000\n" +
            kQuit);
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    ReloadRunOptionsForTesting();
    EnterFolder(WORDRAIL_BUILD_DIR);
    ASSERT_EQ(RunApplication(), 0);

    // The restart is the program itself, as a new process on the same data
    // folder: a run ends by releasing the class registry this process has.
    // This process lets go of the single-instance lock as its exit would.
    GameWindow::ReleaseSingleInstanceForTesting();
    Prepare(kLaterStartToMenu +
            "screenshot restarted_menu\n"
            "click 175 395\n"
            "wait ms 800\n"
            "screenshot restarted_players\n" +
            kQuit);
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    const std::string restart =
        "WORDRAIL_BACKEND=headless WORDRAIL_WATCHDOG_MS=120000 '" + std::string(WORDRAIL_PROGRAM) + "'";
    ASSERT_EQ(std::system(restart.c_str()), 0);

    std::vector<std::string> playerFiles;
    for (const auto& entry :
         std::filesystem::directory_iterator(folder_.Path() + "/data/Quelt/Games/Word Rail/players")) {
        const std::string name = entry.path().filename().string();
        if (name.find(".plr.") != std::string::npos) playerFiles.push_back(name);
    }
    std::sort(playerFiles.begin(), playerFiles.end());
    EXPECT_EQ(playerFiles, (std::vector<std::string>{"Ada.plr.!", "Cy.plr.!"}));

    const auto shot = [&shots](const char* name) { return LoadScreenshot(shots, name); };
    // The name field is drawn: a wooden rim around paper lighter than the dialog.
    const Ref<MemorySurface> asking = shot("newplayer");
    ASSERT_TRUE(asking);
    const Rgb rim = PixelOf(*asking, 271, 310);
    const Rgb field = PixelOf(*asking, 400, 318);
    const Rgb dialog = PixelOf(*asking, 400, 340);
    EXPECT_LT(rim.r + 60, field.r) << rim.r << " " << field.r;
    EXPECT_GT(field.b, dialog.b + 10) << field.b << " " << dialog.b;
    // Resting on the adventure button shows its tooltip, lettered, below the pointer.
    const Ref<MemorySurface> tooltip = shot("adventure_tooltip");
    ASSERT_TRUE(tooltip);
    EXPECT_TRUE(IsParchment(PixelOf(*tooltip, 600, 305)));
    int ink = 0;
    for (int32_t x = 400; x < 628; ++x) {
        ink += PixelOf(*tooltip, x, 283).r < 100;
    }
    EXPECT_GT(ink, 10);
    // The locked classic button shows its hint bubble over the button.
    const Ref<MemorySurface> locked = shot("classic_locked");
    ASSERT_TRUE(locked);
    EXPECT_TRUE(IsParchment(PixelOf(*locked, 300, 330)));
    EXPECT_FALSE(IsParchment(PixelOf(*shot("menu"), 300, 330)));
    // The trophy button opened the cabinet over the whole menu.
    const Ref<MemorySurface> cabinet = shot("cabinet");
    ASSERT_TRUE(cabinet);
    EXPECT_TRUE(IsParchment(PixelOf(*cabinet, 60, 450)));
    // The list after the restart looks exactly as the first run left it.
    const Ref<MemorySurface> before = shot("two_players");
    const Ref<MemorySurface> after = shot("restarted_players");
    ASSERT_TRUE(before && after);
    EXPECT_EQ(DifferingPixels(*before, *after, kListLeft, kListTop, kListRight, kListBottom), 0);
    // The third slot, named in the list of three, is empty in both.
    const Ref<MemorySurface> three = shot("three_players");
    ASSERT_TRUE(three);
    EXPECT_GT(DifferingPixels(*three, *before, 405, 275, 480, 300), 20);
}

namespace {

std::string ReadTestScript(const std::string& name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(std::string(WORDRAIL_TEST_DATA) + "/main/data/" + name, bytes)) << name;
    return std::string(bytes.begin(), bytes.end());
}

// The first <Vector id="NAME"> ... </Vector> of a stored file.
std::string VectorIn(const std::string& text, const std::string& name) {
    const size_t start = text.find("<Vector id=\"" + name + "\"");
    const size_t end = text.find("</Vector>", start);
    return start == std::string::npos || end == std::string::npos ? std::string() : text.substr(start, end - start);
}

// Every value="N" in `text`, in order; booleans count as 0 and 1.
std::vector<int64_t> NumbersOf(const std::string& text, const std::string& only = "Integer") {
    std::vector<int64_t> numbers;
    const std::string tag = "<" + only;
    for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
        const size_t value = text.find("value=\"", at);
        if (value == std::string::npos) break;
        const std::string word = text.substr(value + 7, text.find('"', value + 7) - value - 7);
        numbers.push_back(word == "true" ? 1 : word == "false" ? 0 : std::stoll(word));
    }
    return numbers;
}

std::vector<int64_t> BooleansNamed(const std::string& text, const std::string& id) {
    return NumbersOf(text, "Boolean id=\"" + id + "\"");
}

int64_t Sum(const std::vector<int64_t>& numbers) {
    int64_t sum = 0;
    for (const int64_t number : numbers) sum += number;
    return sum;
}

// The first NAME="N" attribute of a stored file, or -1.
int64_t AttributeOf(const std::string& text, const std::string& name) {
    const size_t at = text.find(" " + name + "=\"");
    return at == std::string::npos ? -1 : std::stoll(text.substr(at + name.size() + 3));
}

// The first NAME="text" attribute of a stored file.
std::string TextAttributeOf(const std::string& text, const std::string& name) {
    const size_t at = text.find(" " + name + "=\"");
    if (at == std::string::npos) return "";
    const size_t start = at + name.size() + 3;
    return text.substr(start, text.find('"', start) - start);
}

// Stores `text` as the program stores its ".!" files.
void WriteStoredFile(const std::string& path, std::string text) {
    DescrambleBuffer(reinterpret_cast<uint8_t*>(text.data()), text.size());
    ASSERT_TRUE(WriteFileAtomically(path, text.data(), text.size())) << path;
}

// The score on the game scene's bar.
constexpr int32_t kScoreLeft = 215;
constexpr int32_t kScoreTop = 152;
constexpr int32_t kScoreRight = 380;
constexpr int32_t kScoreBottom = 182;

// A stored ".!" file as the program reads it.
std::string ReadStoredFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    DescrambleBuffer(bytes.data(), bytes.size());
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

// A game played as a player plays it (the script files say how) over four
// runs of the program on the same data: the first start through the first
// section of the map, the classic games, and a classic race resumed from
// the save game. Screenshots of every screen stay in the build tree for
// people to look at.
TEST_F(ScriptedRunTest, AGamePlayedFromTheFirstStartGoesOnAfterARestart) {
    const std::string shots = std::string(WORDRAIL_BUILD_DIR) + "/tests/playthrough";
    std::filesystem::remove_all(shots);
    std::filesystem::create_directories(shots);
    Prepare(ReadTestScript("playthrough.script"));
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    ReloadRunOptionsForTesting();
    EnterFolder(WORDRAIL_BUILD_DIR);
    ASSERT_EQ(RunApplication(), 0);
    // The later runs are the program itself, as new processes on the same
    // data folder; this process lets go of the single-instance lock as its
    // exit would.
    GameWindow::ReleaseSingleInstanceForTesting();
    auto runAgain = [this, &shots](const char* script) {
        Prepare(ReadTestScript(script));
        setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
        const std::string program =
            "WORDRAIL_BACKEND=headless WORDRAIL_WATCHDOG_MS=600000 '" + std::string(WORDRAIL_PROGRAM) + "'";
        return std::system(program.c_str());
    };
    ASSERT_EQ(runAgain("playthrough_again.script"), 0);
    for (const char* name :
         {"splash", "load_question", "new_player", "menu", "settings", "map", "ticket", "level_help", "level",
          "level_words", "level_won", "map_after_win", "map_nedholm", "buy_question", "track_bought", "opponent",
          "level_lost", "map_after_loss", "opponent_beaten", "result", "new_rank", "map_fernwick", "quit_question",
          "again_menu", "again_cabinet", "again_map", "rich_at_fernwick", "at_dungate", "at_ostfield",
          "at_dunbrook", "at_hartham", "section_complete", "trophy", "trophy_cabinet", "next_arrow",
          "section_two"})
        EXPECT_TRUE(FileExists(shots + "/" + name + ".png")) << name;

    const std::string players = folder_.Path() + "/data/Quelt/Games/Word Rail/players/";
    const std::string saveGame = folder_.Path() + "/data/Quelt/Games/Word Rail/savegames/Ada/kr2.sav.!";
    const std::string list = ReadStoredFile(players + "players.plrs.!");
    const std::string player = ReadStoredFile(players + "Ada.plr.!");
    EXPECT_NE(list.find("<Text id=\"currentplayer\" value=\"Ada\" />"), std::string::npos) << list;
    // Eleven races won (the lost one is not booked in the files); the coins
    // are what they earned less the six tracks bought.
    EXPECT_EQ(Sum(NumbersOf(VectorIn(list, "MissionsWon"))), 11) << list;
    EXPECT_EQ(NumbersOf(VectorIn(list, "playcount"))[0], 11);
    EXPECT_EQ(AttributeOf(list, "tracksBought"), 6);
    EXPECT_EQ(AttributeOf(list, "moneySpent"), 300);
    const int64_t earned = AttributeOf(list, "moneyEarned");
    EXPECT_GE(earned, 300);
    EXPECT_EQ(AttributeOf(player, "coins"), earned - 300);
    EXPECT_NE(player.find("showhints=\"false\""), std::string::npos) << player;
    // The first section is built and finished, its trophy awarded; the train
    // waits at the entry of the second section.
    const std::string firstSection = VectorIn(player, "tracks");
    EXPECT_EQ(BooleansNamed(firstSection, "bought"), std::vector<int64_t>(10, 1));
    EXPECT_EQ(Sum(NumbersOf(firstSection)), 11);
    EXPECT_EQ(BooleansNamed(player, "finished")[0], 1);
    EXPECT_EQ(NumbersOf(VectorIn(list, "trophysAwarded"))[0], 2);
    EXPECT_EQ(AttributeOf(player, "cursection"), 1);
    EXPECT_EQ(AttributeOf(player, "curcity"), 0);

    // The other seven game types unlock with ranks far beyond a test's
    // reach: Ada's stats are given one game of each, as the map would have.
    std::string stats = ReadStoredFile(players + "players.plrs.!");
    const size_t playcount = stats.find("<Vector id=\"playcount\">");
    ASSERT_NE(playcount, std::string::npos);
    // Past the first entry, the count of the type played so far.
    const size_t firstType = stats.find("/>", playcount);
    ASSERT_NE(firstType, std::string::npos);
    for (size_t at = stats.find("<Integer value=\"0\" />", firstType), end = stats.find("</Vector>", playcount);
         at != std::string::npos && at < end; at = stats.find("<Integer value=\"0\" />", at)) {
        stats.replace(at, 22, "<Integer value=\"1\" />");
    }
    WriteStoredFile(players + "players.plrs.!", stats);

    ASSERT_EQ(runAgain("playthrough_classic.script"), 0);
    // Quit in the middle of a race, the game is kept: the last type, with
    // the points of its first words.
    ASSERT_TRUE(FileExists(saveGame));
    const std::string left = ReadStoredFile(saveGame);
    EXPECT_EQ(TextAttributeOf(left, "GameType"), "7");
    const int64_t leftScore = AttributeOf(left, "score");
    EXPECT_GT(leftScore, 0) << left;

    ASSERT_EQ(runAgain("playthrough_resume.script"), 0);
    // Resumed, the race showed the score it was left with; three more words
    // added to it, and quitting kept the same race again.
    const auto shot = [&shots](const char* name) { return LoadScreenshot(shots, name); };
    const Ref<MemorySurface> leaving = shot("classic_wild_coal");
    const Ref<MemorySurface> resumed = shot("resumed");
    ASSERT_TRUE(leaving && resumed);
    EXPECT_EQ(DifferingPixels(*leaving, *resumed, kScoreLeft, kScoreTop, kScoreRight, kScoreBottom), 0);
    ASSERT_TRUE(FileExists(saveGame));
    const std::string kept = ReadStoredFile(saveGame);
    EXPECT_EQ(TextAttributeOf(kept, "LetterSet"), TextAttributeOf(left, "LetterSet"));
    EXPECT_GT(AttributeOf(kept, "score"), leftScore);

    for (const char* name : {"classic_scene", "classic_quit_question", "resume_question", "resumed_words"})
        EXPECT_TRUE(FileExists(shots + "/" + name + ".png")) << name;
    // In every type's race the words typed scored: the score on the bar
    // changed from the start of the race.
    for (const std::string type : {"six_letters", "seven_letters", "fresh_coals", "jumbled_words",
                                   "missing_letters", "keep_the_word", "secret_words", "wild_coal"}) {
        EXPECT_TRUE(FileExists(shots + "/scores_" + type + ".png")) << type;
        const Ref<MemorySurface> start = shot(("start_" + type).c_str());
        const Ref<MemorySurface> typed = shot(("classic_" + type).c_str());
        ASSERT_TRUE(start && typed) << type;
        EXPECT_GT(DifferingPixels(*start, *typed, kScoreLeft, kScoreTop, kScoreRight, kScoreBottom), 20) << type;
    }
    // Each type's table of best runs was shown and is kept; a classic game
    // enters its score only when it ends in a lost race.
    const std::string scores = ReadStoredFile(players + "scores.xml.!");
    for (const char* table : {"MODE_CLASSIC6", "MODE_CLASSIC7", "MODE_REPLACE", "MODE_ANAGRAMS", "MODE_SLOTS",
                              "MODE_KEEP", "MODE_SECRET", "MODE_JOKER"}) {
        const size_t at = scores.find("<ScoreTable id=\"" + std::string(table) + "\"");
        ASSERT_NE(at, std::string::npos) << table;
        EXPECT_EQ(NumbersOf(VectorIn(scores.substr(at), "entries"), "KR2Score").size(), 5u) << table;
    }
}

namespace {

// From a first start into the first level of the adventure, hints off, its
// help closed.
const std::string kIntoTheFirstLevel = kFirstStartToMenu +
                                       "type \"Ada\"\nkey RETURN\nwait ms 1500\n"
                                       "click 475 397\nwait ms 1000\nclick 219 349\nwait ms 300\n"
                                       "click 269 405\nwait ms 1000\n"
                                       "click 400 255\nwait ms 5500\nscreenshot map\n"
                                       "click 258 243\nwait ms 1500\nclick 282 240\nwait ms 8000\n"
                                       "click 400 463\nwait ms 1500\n";
// There three words typed and fired, then a quit from the level.
const std::string kIntoALevel = kIntoTheFirstLevel +
                                "type open word\nkey RETURN\nwait ms 1000\n"
                                "type open word\nkey RETURN\nwait ms 1000\n"
                                "type open word\nkey RETURN\nwait ms 1000\n"
                                "screenshot level_words\n" +
                                kQuit;

// Every file in `folder`, by name.
std::map<std::string, std::vector<uint8_t>> FilesIn(const std::string& folder) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_TRUE(ReadWholeFile(entry.path().string(), files[entry.path().filename().string()]));
    }
    return files;
}

std::vector<std::string> NamesOf(const std::map<std::string, std::vector<uint8_t>>& files) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) names.push_back(name);
    return names;
}

}  // namespace

// A scripted run on the virtual clock is the same game every time, however
// fast the loader and the mixer happen to run: the program started twice on
// the same script stores the same player files and shows the same screens.
TEST_F(ScriptedRunTest, TheSameScriptPlaysTheSameGameTwice) {
    Prepare(kIntoALevel);
    EnterFolder(WORDRAIL_BUILD_DIR);
    std::vector<std::map<std::string, std::vector<uint8_t>>> players;
    std::vector<std::map<std::string, std::vector<uint8_t>>> screens;
    for (const std::string run : {"first", "second"}) {
        const std::string base = folder_.Path() + "/" + run;
        std::filesystem::create_directories(base + "/shots");
        const std::string command = "WORDRAIL_BACKEND=headless WORDRAIL_WATCHDOG_MS=120000 XDG_DATA_HOME='" + base +
                                    "/data' XDG_CONFIG_HOME='" + base + "/config' WORDRAIL_SCREENSHOTS='" + base +
                                    "/shots' '" + std::string(WORDRAIL_PROGRAM) + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << run;
        players.push_back(FilesIn(base + "/data/Quelt/Games/Word Rail/players"));
        screens.push_back(FilesIn(base + "/shots"));
    }

    EXPECT_EQ(NamesOf(players[0]), (std::vector<std::string>{"Ada.plr.!", "players.plrs.!", "scores.xml.!"}));
    EXPECT_EQ(NamesOf(screens[0]), (std::vector<std::string>{"level_words.png", "map.png"}));
    for (const auto* files : {&players, &screens}) {
        ASSERT_EQ(NamesOf((*files)[1]), NamesOf((*files)[0]));
        for (const auto& [name, bytes] : (*files)[0]) EXPECT_TRUE((*files)[1].at(name) == bytes) << name;
    }
}

namespace {

// How many tracks and cities a stored player file has bought.
size_t BoughtCount(const std::string& player) {
    return Sum(BooleansNamed(player, "bought"));
}

// The player file with every track of the second map section bought, as
// though the player had built that section.
std::string WithSecondSectionBought(std::string player) {
    const size_t second = player.find("<PlayerSectionData>", player.find("<PlayerSectionData>") + 1);
    const size_t end = player.find("<Vector id=\"cities\">", second);
    const std::string unbought = "<Boolean id=\"bought\" value=\"false\" />";
    for (size_t at = player.find(unbought, second); at != std::string::npos && at < end;
         at = player.find(unbought, at)) {
        player.replace(at, unbought.size(), "<Boolean id=\"bought\" value=\"true\" />");
    }
    return player;
}

std::string WithCoins(std::string player, int coins) {
    const size_t at = player.find(" coins=\"");
    player.replace(at + 8, player.find('"', at + 8) - at - 8, std::to_string(coins));
    return player;
}

}  // namespace

// Each player's map and tickets stay that player's over restarts, whatever
// the others do: Ada, who has built a section and holds offered tickets,
// adds Bob (which saves every player), chooses herself again, and the
// program is started again; then, with the player list lost, her name typed
// anew brings her back from her file.
TEST_F(ScriptedRunTest, EachPlayersMapAndTicketsStayTheirsOverRestartsAndANameTypedAgainBringsThemBack) {
    const std::string players = folder_.Path() + "/data/Quelt/Games/Word Rail/players/";
    const std::string adaFile = players + "Ada.plr.!";
    EnterFolder(WORDRAIL_BUILD_DIR);
    const auto run = [this](const std::string& script) {
        Prepare(script);
        const std::string program =
            "WORDRAIL_BACKEND=headless WORDRAIL_WATCHDOG_MS=120000 '" + std::string(WORDRAIL_PROGRAM) + "'";
        return std::system(program.c_str());
    };
    // The first start names Ada and opens the map, which offers her tickets.
    ASSERT_EQ(run(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\nclick 400 255\nwait ms 5500\n" +
                  kQuit),
              0);
    const std::string fresh = ReadStoredFile(adaFile);
    const std::string tickets = VectorIn(fresh, "tickets");
    ASSERT_NE(tickets.find("<TicketInfo"), std::string::npos) << fresh;
    WriteStoredFile(adaFile, WithCoins(WithSecondSectionBought(fresh), 62));
    const std::string built = ReadStoredFile(adaFile);
    const size_t adaBought = BoughtCount(built);
    ASSERT_GT(adaBought, BoughtCount(fresh));

    // Bob added, then Ada chosen again in the list of players.
    ASSERT_EQ(run(kLaterStartToMenu + AddPlayer("Bob") +
                  "click 175 395\nwait ms 800\nclick 386 207\nwait ms 500\nclick 524 427\nwait ms 1500\n" + kQuit),
              0);
    const auto expectAdasOwn = [&](const char* when) {
        const std::string ada = ReadStoredFile(adaFile);
        EXPECT_EQ(BoughtCount(ada), adaBought) << when;
        EXPECT_EQ(VectorIn(ada, "sections"), VectorIn(built, "sections")) << when;
        EXPECT_EQ(VectorIn(ada, "tickets"), tickets) << when;
        EXPECT_EQ(AttributeOf(ada, "coins"), 62) << when;
    };
    expectAdasOwn("after adding Bob and choosing Ada again");
    // Bob's map is his own: nothing of Ada's second section is built in it.
    const std::string bob = ReadStoredFile(players + "Bob.plr.!");
    EXPECT_LE(BoughtCount(bob), BoughtCount(fresh));
    EXPECT_NE(WithSecondSectionBought(bob), bob);
    EXPECT_EQ(VectorIn(bob, "tickets").find("<TicketInfo"), std::string::npos) << bob;
    EXPECT_NE(ReadStoredFile(players + "players.plrs.!").find("<Text id=\"currentplayer\" value=\"Ada\" />"),
              std::string::npos);

    // Started again with Ada current and Bob listed after her.
    ASSERT_EQ(run(kLaterStartToMenu + kQuit), 0);
    expectAdasOwn("after a restart");

    // The list is lost; the game asks for a name as at a first start.
    WriteStoredFile(players + "players.plrs.!", "damaged");
    ASSERT_EQ(run(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\n" + kQuit), 0);
    expectAdasOwn("after the list was lost and her name typed again");
    EXPECT_EQ(ReadStoredFile(players + "players.plrs.!.damaged-1"), "damaged");
    EXPECT_NE(ReadStoredFile(players + "players.plrs.!").find("<Text id=\"currentplayer\" value=\"Ada\" />"),
              std::string::npos);
}

namespace {

// The program as a process of its own on the environment Prepare set; its
// process id.
pid_t StartProgram() {
    setenv("WORDRAIL_BACKEND", "headless", 1);
    setenv("WORDRAIL_WATCHDOG_MS", "120000", 1);
    char* const arguments[] = {const_cast<char*>(WORDRAIL_PROGRAM), nullptr};
    pid_t child = -1;
    EXPECT_EQ(posix_spawn(&child, WORDRAIL_PROGRAM, nullptr, nullptr, arguments, environ), 0);
    unsetenv("WORDRAIL_BACKEND");
    unsetenv("WORDRAIL_WATCHDOG_MS");
    return child;
}

// The exit code, or 128 and the signal that ended it.
int WaitForProgram(pid_t child) {
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int RunProgram() { return WaitForProgram(StartProgram()); }

bool AppearsWithin(const std::string& path, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!FileExists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::vector<uint8_t> BytesOf(const std::string& path) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

// From the menu: the classic button, whose question about the unfinished
// game is answered yes.
const std::string kCarryOn = "click 400 335\nwait ms 1500\nclick 320 381\n";
// Three words of the race typed and fired.
const std::string kThreeWords = "repeat 3\n  type open word\n  key RETURN\n  wait ms 1000\nend\n";
// The game's menu button clicked, or the hint bubble already open over the
// race: either pauses it. Then a wait that only a signal ends.
const std::string kPauseForever = "click 748 209\nwait ms 1500\nscreenshot paused\nwait ms 100000000\n";

}  // namespace

// A classic game resumed over restarts of the program keeps its save game
// on disk until a newer save replaces it: left again before its race starts,
// or killed in the middle of the race, the save is the one it was resumed
// from; a hang-up ends the run the normal way, which writes the newer race.
// A damaged save game answered "carry on" leads to the classic scene, drawn,
// and is kept aside.
TEST_F(ScriptedRunTest, AResumedClassicGameKeepsItsSaveOverRestarts) {
    const std::string shots = std::string(WORDRAIL_BUILD_DIR) + "/tests/resume-screens";
    std::filesystem::remove_all(shots);
    std::filesystem::create_directories(shots);
    const auto prepare = [this, &shots](const std::string& script) {
        Prepare(script);
        setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    };
    const std::string game = folder_.Path() + "/data/Quelt/Games/Word Rail";
    const std::string list = game + "/players/players.plrs.!";
    const std::string save = game + "/savegames/Ada/kr2.sav.!";

    prepare(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\n" + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    // Ada has won the missions that open the classic games, of the first
    // game type, and has scored, so no help stops the race.
    std::string stats = ReadStoredFile(list);
    for (const char* counters : {"MissionsWon", "playcount"}) {
        const size_t at = stats.find("<Integer value=\"0\" />", stats.find(std::string("<Vector id=\"") + counters));
        ASSERT_NE(at, std::string::npos) << counters << stats;
        stats.replace(at, 22, "<Integer value=\"3\" />");
    }
    const size_t score = stats.find(" score=\"0\"");
    ASSERT_NE(score, std::string::npos) << stats;
    stats.replace(score, 10, " score=\"500\"");
    WriteStoredFile(list, stats);

    // A new classic game of six letters, left in its race.
    prepare(kLaterStartToMenu + "click 400 335\nwait ms 3000\nclick 145 67\nwait ms 1500\nclick 525 535\n"
            "wait ms 8000\n" + kThreeWords + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    const std::vector<uint8_t> left = BytesOf(save);
    ASSERT_FALSE(left.empty());
    const int64_t leftScore = AttributeOf(ReadStoredFile(save), "score");
    EXPECT_GT(leftScore, 0);

    // Resumed and left while the level waits for its start.
    // (The level shows some 700 ms after the answer and waits 1.5 s for its start.)
    prepare(kLaterStartToMenu + kCarryOn + "wait ms 1200\nscreenshot resumed_at_once\n" + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    EXPECT_EQ(BytesOf(save), left);

    // Resumed, played, and killed in the race.
    prepare(kLaterStartToMenu + kCarryOn + "wait ms 8000\n" + kThreeWords + kPauseForever);
    pid_t child = StartProgram();
    ASSERT_TRUE(AppearsWithin(shots + "/paused.png", std::chrono::seconds(60)));
    kill(child, SIGKILL);
    EXPECT_EQ(WaitForProgram(child), 128 + SIGKILL);
    EXPECT_EQ(BytesOf(save), left);

    // Resumed, played, and hung up on: the run ends as a quit does.
    std::filesystem::remove(shots + "/paused.png");
    child = StartProgram();
    ASSERT_TRUE(AppearsWithin(shots + "/paused.png", std::chrono::seconds(60)));
    kill(child, SIGHUP);
    EXPECT_EQ(WaitForProgram(child), 0);
    EXPECT_GT(AttributeOf(ReadStoredFile(save), "score"), leftScore);

    // A damaged save game: carrying on leads to the classic scene.
    WriteStoredFile(save, "<root><Node id=\"ticket\"");
    prepare(kLaterStartToMenu + kCarryOn + "wait ms 3000\nscreenshot classic_after_damaged\n" + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    EXPECT_FALSE(FileExists(save));
    EXPECT_TRUE(FileExists(save + ".damaged-1"));
    const Ref<MemorySurface> classic = LoadScreenshot(shots, "classic_after_damaged");
    ASSERT_TRUE(classic);
    int lit = 0;
    for (int32_t y = 0; y < 600; y += 10) {
        for (int32_t x = 0; x < 800; x += 10) {
            const Rgb pixel = PixelOf(*classic, x, y);
            lit += pixel.r + pixel.g + pixel.b > 90;
        }
    }
    EXPECT_GT(lit, 2400) << "the classic scene is dark";
}

// A map that cannot be read stops the program before it reads or writes any
// player file: the player's map progress is as the last run left it, and
// the next run with the map whole goes on with it.
TEST_F(ScriptedRunTest, ADamagedMapStopsTheProgramAndKeepsThePlayersMapProgress) {
    const std::string players = folder_.Path() + "/data/Quelt/Games/Word Rail/players";
    Prepare(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\nclick 400 255\nwait ms 5500\n" + kQuit);
    ASSERT_EQ(RunProgram(), 0);
    const std::vector<uint8_t> player = BytesOf(players + "/Ada.plr.!");
    const std::vector<uint8_t> list = BytesOf(players + "/players.plrs.!");
    const std::string progress = ReadStoredFile(players + "/Ada.plr.!");
    ASSERT_NE(progress.find("PlayerSectionData"), std::string::npos) << progress;

    // The same program beside loose media whose map is cut short.
    TempFolder copy;
    const std::string built = WORDRAIL_BUILD_DIR;
    std::filesystem::copy_file(WORDRAIL_PROGRAM, copy.Path() + "/wordrail");
    std::filesystem::permissions(copy.Path() + "/wordrail", std::filesystem::perms::owner_all);
    for (const auto& entry : std::filesystem::directory_iterator(built + "/media")) {
        if (entry.path().filename() != "data") {
            std::filesystem::create_directories(copy.Path() + "/media");
            std::filesystem::create_directory_symlink(entry.path(), copy.Path() + "/media/" +
                                                                        entry.path().filename().string());
        }
    }
    std::filesystem::create_directories(copy.Path() + "/media/data");
    std::filesystem::copy_file(built + "/media/data/words.dat", copy.Path() + "/media/data/words.dat");
    const std::vector<uint8_t> map = BytesOf(built + "/media/data/sections.xml");
    ASSERT_TRUE(WriteFileAtomically(copy.Path() + "/media/data/sections.xml", map.data(), map.size() / 2));

    Prepare(kLaterStartToMenu + "click 400 255\nwait ms 5500\n" + kQuit);
    setenv("WORDRAIL_BACKEND", "headless", 1);
    const std::string stderrFile = folder_.Path() + "/said.txt";
    const std::string command = "'" + copy.Path() + "/wordrail' 2>'" + stderrFile + "'";
    const int stopped = std::system(command.c_str());
    unsetenv("WORDRAIL_BACKEND");
    ASSERT_TRUE(WIFEXITED(stopped));
    EXPECT_EQ(WEXITSTATUS(stopped), 1);
    const std::vector<uint8_t> said = BytesOf(stderrFile);
    EXPECT_NE(std::string(said.begin(), said.end())
                  .find("The map could not be read from \"media/data/sections.xml\".\nThe game cannot start."),
              std::string::npos)
        << std::string(said.begin(), said.end());
    EXPECT_EQ(BytesOf(players + "/Ada.plr.!"), player);
    EXPECT_EQ(BytesOf(players + "/players.plrs.!"), list);

    ASSERT_EQ(RunProgram(), 0);
    const auto records = [](const std::string& text, const std::string& word) {
        int count = 0;
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
        return count;
    };
    const std::string after = ReadStoredFile(players + "/Ada.plr.!");
    EXPECT_EQ(records(progress, "<PlayerSectionData"), 10);
    EXPECT_GT(records(progress, "\"bought\""), 10);
    for (const char* word : {"<PlayerSectionData", "\"bought\""})
        EXPECT_EQ(records(after, word), records(progress, word)) << word;
}

// Fourteen words fired a quarter of a second apart in the first level pile
// up the sounds of every submission and of the train. The run plays into
// SDL's disk audio driver, which writes what a player would hear: loud, but
// not one sample at full scale.
TEST_F(ScriptedRunTest, WordsFiredQuicklyNeverMixToFullScale) {
    const std::string script = kIntoTheFirstLevel +
                               "repeat 14\ntype open word\nkey RETURN\nwait ms 250\nend\n"
                               "wait ms 3000\nscreenshot fired\n" +
                               kQuit;
    Prepare(script);
    EnterFolder(WORDRAIL_BUILD_DIR);
    const std::string heard = folder_.Path() + "/heard.raw";
    const std::string command = "WORDRAIL_BACKEND=headless WORDRAIL_AUDIO=sdl SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" +
                                heard + "' WORDRAIL_WATCHDOG_MS=120000 '" + std::string(WORDRAIL_PROGRAM) + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(FileExists(folder_.Path() + "/fired.png"));

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(heard, bytes));
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(int16_t));
    ASSERT_FALSE(samples.empty());
    int peak = 0;
    size_t atFullScale = 0;
    for (const int16_t sample : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
        atFullScale += sample == 32767 || sample == -32768;
    }
    EXPECT_EQ(atFullScale, 0u);
    // The sounds were there, and loud enough to meet the limiter.
    EXPECT_GT(peak, PeakLimiter::kThreshold);
}

namespace {

bool IsInk(const MemorySurface& picture, int32_t x, int32_t y) {
    const Rgb pixel = PixelOf(picture, x, y);
    return std::max({pixel.r, pixel.g, pixel.b}) < 128;
}

// Light ground that no letter touches, not even with its smoothed edge.
bool IsClear(const MemorySurface& picture, int32_t x, int32_t y) {
    const Rgb pixel = PixelOf(picture, x, y);
    return std::min({pixel.r, pixel.g, pixel.b}) > 160;
}

// How the dark lettering of a crop of `marked` differs from the same-sized
// crop of `plain`: ink where the other has clear ground, counted both ways
// (the box of what only `marked` has), so that edges blended over a
// slightly different ground do not count.
struct InkDifference {
    int added = 0;
    int lost = 0;
    int32_t top = INT32_MAX;
    int32_t bottom = -1;
    int32_t left = INT32_MAX;
    int32_t right = -1;
};

InkDifference CompareInk(const MemorySurface& plain, int32_t plainX, int32_t plainY, const MemorySurface& marked,
                         int32_t markedX, int32_t markedY, int32_t width, int32_t height) {
    InkDifference difference;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            difference.lost += IsInk(plain, plainX + x, plainY + y) && IsClear(marked, markedX + x, markedY + y);
            if (IsInk(marked, markedX + x, markedY + y) && IsClear(plain, plainX + x, plainY + y)) {
                ++difference.added;
                difference.top = std::min(difference.top, y);
                difference.bottom = std::max(difference.bottom, y);
                difference.left = std::min(difference.left, x);
                difference.right = std::max(difference.right, x);
            }
        }
    }
    return difference;
}

// The first row of the crop with ink between two of its columns, or -1.
int32_t FirstInkRow(const MemorySurface& picture, int32_t cropX, int32_t cropY, int32_t height, int32_t left,
                    int32_t right) {
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = left; x <= right; ++x) {
            if (IsInk(picture, cropX + x, cropY + y)) return y;
        }
    }
    return -1;
}

}  // namespace

// A name with a letter beyond ASCII, typed as a keyboard sends it, is kept
// as its Windows-1252 byte and drawn with its accent. "Zoe" is named first
// and "Zoë" added after her, so each place the name shows can be held
// against the plain spelling: the "ë" must be the "e" with marks above it.
TEST_F(ScriptedRunTest, ANameTypedWithAnAccentedLetterIsStoredAsItsByteAndShownWithItsAccent) {
    const std::string shots = std::string(WORDRAIL_BUILD_DIR) + "/tests/accented-name";
    std::filesystem::remove_all(shots);
    std::filesystem::create_directories(shots);
    Prepare(kFirstStartToMenu +
            "type \"Zoe\"\nwait ms 300\nscreenshot field_plain\nkey RETURN\nwait ms 1500\nscreenshot menu_plain\n"
            "click 175 395\nwait ms 800\nclick 280 427\nwait ms 800\n"
            "type \"Zoë\"\nwait ms 300\nscreenshot field_accented\nkey RETURN\nwait ms 1500\n"
            "screenshot menu_accented\n"
            "click 175 395\nwait ms 800\nscreenshot players\n" +
            kQuit);
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    EnterFolder(WORDRAIL_BUILD_DIR);
    const std::string program =
        "WORDRAIL_BACKEND=headless WORDRAIL_WATCHDOG_MS=120000 '" + std::string(WORDRAIL_PROGRAM) + "'";
    ASSERT_EQ(std::system(program.c_str()), 0);

    // On disk: the list names her by the byte 0xEB; her file's name is UTF-8.
    const std::string players = folder_.Path() + "/data/Quelt/Games/Word Rail/players/";
    const std::string list = ReadStoredFile(players + "players.plrs.!");
    EXPECT_NE(list.find("<Text id=\"currentplayer\" value=\"Zo\xEB\" />"), std::string::npos) << list;
    EXPECT_NE(list.find("name=\"Zoe\""), std::string::npos) << list;
    EXPECT_TRUE(std::filesystem::is_regular_file(players + "Zo\xC3\xAB.plr.!"));

    const auto shot = [&shots](const char* name) { return LoadScreenshot(shots, name); };
    struct Place {
        const char* what;
        const char* plainShot;
        const char* accentedShot;
        int32_t x, y, width, height;  // the plain name's crop
        int32_t accentedDy;           // where the accented one sits below it
    };
    const Place places[] = {
        {"name field", "field_plain", "field_accented", 272, 298, 180, 24, 0},
        {"greeting", "menu_plain", "menu_accented", 172, 162, 456, 36, 0},
        {"player list", "players", "players", 405, 195, 150, 24, 40},
    };
    for (const Place& place : places) {
        const Ref<MemorySurface> plain = shot(place.plainShot);
        const Ref<MemorySurface> accented = shot(place.accentedShot);
        ASSERT_TRUE(plain && accented) << place.what;
        const InkDifference difference = CompareInk(*plain, place.x, place.y, *accented, place.x,
                                                    place.y + place.accentedDy, place.width, place.height);
        // The two dots, and nothing of the letters lost.
        EXPECT_GE(difference.added, 2) << place.what;
        EXPECT_EQ(difference.lost, 0) << place.what;
        // All above the plain "e" under them.
        const int32_t letterTop =
            FirstInkRow(*plain, place.x, place.y, place.height, difference.left, difference.right);
        EXPECT_GE(letterTop, 0) << place.what;
        EXPECT_LT(difference.bottom, letterTop) << place.what;
    }
}
