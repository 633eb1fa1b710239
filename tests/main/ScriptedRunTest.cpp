#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/media/Canvas.h"
#include "engine/media/FrameTimer.h"
#include "engine/media/GameWindow.h"
#include "engine/media/ImageDecoding.h"
#include "engine/media/InputDispatcher.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "main/Application.h"
#include "main/ScriptedRunFixture.h"
#include "platform/Files.h"
#include "platform/RunOptions.h"
#include "platform/VirtualClock.h"

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

}  // namespace

// The real start: the generated media of this build, from the splash through
// the load scene (with its first-run question) to the menu's stand-in. The
// screenshots stay in the build tree for people to look at.
TEST_F(ScriptedRunTest, FirstScreensRunFromTheSplashToTheMenu) {
    const std::string shots = FreshScreenshotFolder("first-screens");
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

// The close box clicked while the menu fades into the map asks the map's
// quit question once the map shows; "no" leaves the player on the map.
class CloseDuringAFadeTest : public ScriptedRunTest, public ::testing::WithParamInterface<int> {};

TEST_P(CloseDuringAFadeTest, AsksTheQuitQuestionOfTheSceneItLeadsToAndTheRunGoesOn) {
    const std::string shots = FreshScreenshotFolder("close-in-fade-" + std::to_string(GetParam()));
    Prepare(kFirstStartToMenu + "type \"Ada\"\nkey RETURN\nwait ms 1500\nclick 400 255\nwait ms " +
            std::to_string(GetParam()) +
            "\nclose\nwait ms 2500\nscreenshot asked\nclick 480 369\nwait ms 1000\nscreenshot going_on\n" +
            kQuit);
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    ReloadRunOptionsForTesting();
    EnterFolder(WORDRAIL_BUILD_DIR);
    ASSERT_EQ(RunApplication(), 0);
    const Ref<MemorySurface> asked = LoadScreenshot(shots, "asked");
    const Ref<MemorySurface> goingOn = LoadScreenshot(shots, "going_on");
    ASSERT_TRUE(asked && goingOn);
    // The question's golden header over the map, no hint over the question,
    // and the header gone again after "no".
    const auto isHeader = [](const Rgb& pixel) { return pixel.r > pixel.b + 80 && pixel.g > pixel.b + 50; };
    EXPECT_TRUE(isHeader(PixelOf(*asked, 260, 231)));
    const Rgb underHint = PixelOf(*asked, 303, 413);
    EXPECT_FALSE(underHint.g > underHint.r + 40) << "a hint's OK button over the question";
    EXPECT_FALSE(isHeader(PixelOf(*goingOn, 260, 231)));
    const Rgb land = PixelOf(*goingOn, 700, 300);
    EXPECT_GT(land.r, land.b + 10);
    EXPECT_GT(land.g, land.b + 10);
}

INSTANTIATE_TEST_SUITE_P(MillisecondsIntoTheFade, CloseDuringAFadeTest, ::testing::Values(100, 400));

namespace {

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
        const ChildRun child{.environment = {{"XDG_DATA_HOME", base + "/data"},
                                             {"XDG_CONFIG_HOME", base + "/config"},
                                             {"WORDRAIL_SCREENSHOTS", base + "/shots"}}};
        ASSERT_EQ(RunProgram(child), 0) << run;
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
    const std::string shots = FreshScreenshotFolder("accented-name");
    Prepare(kFirstStartToMenu +
            "type \"Zoe\"\nwait ms 300\nscreenshot field_plain\nkey RETURN\nwait ms 1500\nscreenshot menu_plain\n"
            "click 175 395\nwait ms 800\nclick 280 427\nwait ms 800\n"
            "type \"Zoë\"\nwait ms 300\nscreenshot field_accented\nkey RETURN\nwait ms 1500\n"
            "screenshot menu_accented\n"
            "click 175 395\nwait ms 800\nscreenshot players\n" +
            kQuit);
    setenv("WORDRAIL_SCREENSHOTS", shots.c_str(), 1);
    EnterFolder(WORDRAIL_BUILD_DIR);
    ASSERT_EQ(RunProgram(), 0);

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
