#include "main/Application.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/DataGathering.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/HighScoreTables.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/RegistrySettings.h"
#include "engine/foundation/SavedFile.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/FrameTimer.h"
#include "engine/media/GameWindow.h"
#include "engine/media/SoundAvailable.h"
#include "engine/media/SoundManager.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HintDialog.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/GameSettings.h"
#include "game/words/WordList.h"
#include "main/AppSceneHooks.h"
#include "main/OpenWord.h"
#include "game/world/SectionList.h"
#include "platform/MessageBox.h"
#include "platform/Script.h"
#include "platform/Time.h"
#include "platform/Window.h"
#include "engine/foundation/BoundedWait.h"
#include "scenes/GameScene.h"
#include "scenes/QuitQuestion.h"

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kIconId = 102;
constexpr int kBusyCursor = 1;
constexpr uint32_t kInactiveSleepMs = 40;

const char* const kDialogsFile = "media/properties/dialogs.xml";
const char* const kResourcesFile = "media/properties/resources.xml";
const char* const kWordListId = "WORDLIST";
const char* const kWordListSection = "wordlist";

// The constant files in merge order. Those that say what they hold carry
// what no game can be played without: the dialogs' texts, the scoring, the
// game types' settings, the letters' weights and the ranks. The others only
// add pictures and names, and one that cannot be read is logged. The first
// carries the game's name, checked on its own.
struct ConstantFile {
    const char* fileName;
    const char* needed;
};
constexpr ConstantFile kConstantFiles[] = {
    {"media/properties/default.xml", nullptr},
    {"media/properties/assets.xml", nullptr},
    {"media/properties/dynamic.xml", "The scoring values"},
    {"media/properties/text.xml", "The texts"},
    {"media/properties/names.xml", nullptr},
    {"media/properties/letterfreqs.xml", "The letter frequencies"},
    {"media/properties/gamesettings.xml", "The game settings"},
    {"media/properties/rankings.xml", "The ranks"},
};

// In start-up order; the first is shown first.
const char* const kSceneNames[] = {"SCENE_SPLASH", "SCENE_LOAD",    "SCENE_SELECTION",
                                   "SCENE_MAP",    "SCENE_CLASSIC", "SCENE_GAME"};

// The quit question is the game's question box; "no" just closes it.
class YesNoQuitQuestion : public QuitQuestionAsker {
public:
    Dialog* Ask(const std::string& questionId, const std::string& headerId, void* yesContext,
                ControlCallback::Function yesFunction, Scene& scene) override {
        return YesNoDialog::Ask(questionId, headerId, yesContext, yesFunction, nullptr, nullptr, &scene);
    }
};

YesNoQuitQuestion quitQuestion;
AppSceneHooks sceneHooks;

std::string OpenWordOfTheLevel() {
    const Application* application = Application::Instance();
    const auto* game = application != nullptr ? ObjectCast<GameScene>(application->GetGameScene()) : nullptr;
    return game != nullptr ? OpenWordOf(*game) : std::string();
}

Ref<Application>& Holder() {
    static Ref<Application> holder;
    return holder;
}

void ShowStartError(const std::string& text) {
    const GameWindow* window = GameWindow::Instance();
    platform::MessageBox(window != nullptr ? window->GetHwnd() : 0, text + "\nThe game cannot start.", "Error",
                         platform::MB_OK | platform::MB_ICONERROR);
}

// False, with the start-up error, when the game's data file could not be read.
bool Readable(bool read, const std::string& what, const std::string& file) {
    if (!read) {
        ShowStartError(what + " could not be read from \"" + file + "\".");
    }
    return read;
}

// False, with a message, when the constants lack the game's name or id
// (without them the game's files would land in the folders of every game),
// or when a file the game cannot be played without could not be read.
bool ReadConstants() {
    Defines::Create();
    const Ref<PropertyFile> constants = new PropertyFile();
    const ConstantFile* unreadable = nullptr;
    for (const ConstantFile& file : kConstantFiles) {
        if (!constants->LoadOne(file.fileName) && file.needed != nullptr && unreadable == nullptr) {
            unreadable = &file;
        }
    }
    ClassFactory::Instance().CreateNamedObjects(*constants);
    constants->Clear();
    if (GetGameName().empty() || GetGameId().empty()) {
        platform::MessageBox(0,
                             std::string("The game's name could not be read from \"") + kConstantFiles[0].fileName +
                                 "\".\nThe game cannot start; nothing has been changed.",
                             "Error", platform::MB_OK | platform::MB_ICONERROR);
        return false;
    }
    return unreadable == nullptr || Readable(false, unreadable->needed, unreadable->fileName);
}

void CreateSoundManager(const Settings& settings) {
    SoundManager* sound = SoundManager::Create(44100, 0, 32);
    if (!IsSoundAvailable()) return;
    sound->SetMusicVolume(static_cast<uint8_t>(settings.GetMusicVolume()));
    // Hands the volume to the output unless muted.
    sound->SetEffectsVolume(static_cast<uint8_t>(settings.GetSoundVolume()));
}

// Declares the resource sections and waits, for a bounded time, until the
// first two are loaded; the next ones load meanwhile, measured by the load
// scene. False, with a message, when the wait ran out.
bool StartLoading() {
    SectionManager::Start();
    SectionManager* sections = SectionManager::Instance();
    sections->AddDefinitionFile(kResourcesFile);
    if (!Readable(sections->LoadSections(), "The resource sections", kResourcesFile)) return false;
    sections->SetDeclared();
    sections->RequestSection("splash");
    sections->RequestSection("music");
    const bool loaded = WaitForLoading(
        [sections] {
            return sections->IsDeclared() &&
                   sections->NextUnloadedSection(SectionManager::List::LoadQueue, true) == nullptr;
        },
        Application::kStartSectionsWaitLimitMs);
    if (!loaded) {
        ShowStartError("The resource sections \"splash\" and \"music\" did not load within " +
                       std::to_string(Application::kStartSectionsWaitLimitMs / 1000) + " seconds.");
        return false;
    }
    sections->ClearLoadQueue();
    for (const char* name : {"preloading", "default", "dialogs", "selectionscene"})
        sections->RequestSection(name);
    return true;
}

// Loads the word list now, so that a game is never played on a list in
// which no word counts; false, with a message, when it cannot carry a game.
bool LoadWordList() {
    const Ref<Object> data(SectionManager::Instance()->GetLoadedResource(kWordListId, kWordListSection));
    const auto* words = ObjectCast<WordList>(data.Get());
    return Readable(words != nullptr && words->IsPlayable(), "The word list",
                    words != nullptr ? words->FileName() : std::string("the section \"") + kWordListSection + "\"");
}

// Every scene from the dialog table, registered by name; false, with a
// message, at the first one the table cannot make.
bool CreateScenes(SceneManager& manager, const DialogTable& table) {
    for (const char* name : kSceneNames) {
        const Ref<Object> built(table.CreateDialog(name));
        Scene* scene = ObjectCast<Scene>(built.Get());
        if (scene == nullptr) {
            ShowStartError(std::string("The scene \"") + name + "\" could not be made from \"" + kDialogsFile +
                           "\".");
            return false;
        }
        manager.AddScene(name, scene);
    }
    return true;
}

}  // namespace

Application* Application::Create() {
    Holder() = new Application;
    return Holder().Get();
}

Application* Application::Instance() { return Holder().Get(); }

void Application::DestroyInstance() {
    if (Application* application = Holder().Get()) {
        // A classic game still on show is kept for the next run.
        if (auto* game = ObjectCast<GameScene>(application->gameScene_.Get())) {
            game->WriteSavegame();
        }
        application->mapScene_ = nullptr;
        application->gameScene_ = nullptr;
    }
    Holder().Reset();
}

int Application::Run() {
    if (!StartUp()) return 1;
    started_ = true;
    return RunMainLoop();
}

bool Application::StartUp() {
    Logger::Instance(0, 2);
    OpenMediaArchive(LoadMode::File, "");
    if (!ReadConstants()) return false;
    XML::Init();
    std::string lockProblem;
    if (GameWindow::CheckSingleInstance(lockProblem)) {
        if (lockProblem.empty()) {
            const std::string name = GetGameName();
            std::fprintf(stderr, "%s is already running.\n", name.empty() ? "The game" : name.c_str());
        } else {
            ShowStartError(lockProblem);
        }
        return false;
    }
    if (!lockProblem.empty()) {
        platform::MessageBox(0, lockProblem + "\nThe game runs, but nothing of this run can be saved.", "Warning",
                             platform::MB_OK | platform::MB_ICONWARNING);
    }
    // Only the copy that runs clears the log folder (keeping the previous
    // run's log) and makes its file.
    Logger::Instance().RecordLogFile();
    DataGathering::Start();
    const uint32_t now = platform::TickCountMs();
    RandomGenerator::SetGlobal(new RandomGenerator(now, 0));
    std::srand(now);
    SceneManager* manager = SceneManager::Create();
    const DialogTable* dialogs = DialogTable::Create(kDialogsFile);
    RegistrySettings* settings = RegistrySettings::Create(std::make_unique<GameSettings>());
    // The player files carry the map progress, so the map comes first; a
    // game without it cannot be played, and its players are not touched.
    if (!Readable(SectionList::Create(), "The map", SectionList::kFileName)) return false;
    WordList::InitLetterTables();

    // The window forces full screen itself on a desktop too small for it.
    GameWindow* window = GameWindow::Create(GetGameName(), kWindowWidth, kWindowHeight,
                                            settings->GetSettings().GetFullScreen(), 0, kIconId);
    window->SetCursorShape(kBusyCursor);
    DataGathering::SetWindowFactsSource([] {
        const GameWindow* current = GameWindow::Instance();
        WindowFacts facts;
        facts.fullScreen = current && current->IsFullScreen();
        facts.bitDepth = current ? static_cast<uint32_t>(current->GetPixelBytes() * 8) : 0;
        return facts;
    });
    CreateSoundManager(settings->GetSettings());
    if (!StartLoading() || !LoadWordList()) return false;
    HighScoreTables::Create(true, "1.0")->Load();
    Players::Create("", true)->Load();
    window->SetWaitForVerticalBlank(true);

    if (!CreateScenes(*manager, *dialogs)) return false;
    mapScene_ = manager->FindScene("SCENE_MAP");
    gameScene_ = manager->FindScene("SCENE_GAME");
    manager->SetNextScene(manager->FindScene("SCENE_SPLASH"));
    SetQuitQuestionAsker(&quitQuestion);
    GameSceneHooks::Install(&sceneHooks);
    SelectionLinks::Install(&sceneHooks);
    platform::SetScriptWordSource(OpenWordOfTheLevel);

    FrameTimer* timer = FrameTimer::Create();
    timer->SetMinimumFrameTime(1);
    timer->Reset();
    timer->AddListener(manager);
    timer->AddListener(window);
    timer->AddListener(SoundManager::Get());
    return true;
}

void ShutDown(bool started) {
    // The open hint bubble holds a scene's dialog: let it go before the scenes.
    HintDialog::ReleaseOpen();
    if (started) {
        {
            // One save: its files change together.
            const SaveBatch batch;
            if (HighScoreTables::Instance()) HighScoreTables::Instance()->Save();
            if (Players::Instance()) Players::Instance()->Save();
        }
        if (GameWindow::Instance()) GameWindow::Instance()->Shutdown();
    }
    SetQuitQuestionAsker(nullptr);
    GameSceneHooks::Install(nullptr);
    SelectionLinks::Install(nullptr);
    platform::SetScriptWordSource(nullptr);
    SectionList::ReleaseInstance();
    FullScreenHandler::ReleaseDefault();
    FrameTimer::DestroyInstance();
    SceneManager::ReleaseInstance();
    Players::Free();
    DialogTable::ReleaseInstance();
    GameWindow::DestroyInstance();
    SoundManager::Shutdown();
    SectionManager::Stop();
    HighScoreTables::Free();
    if (RegistrySettings::Instance()) RegistrySettings::Instance()->Save();
    RegistrySettings::Free();
    ClassFactory::ReleaseInstance();
    RandomGenerator::SetGlobal(nullptr);
    DataGathering::AddPlayingTime();
    Defines::ReleaseInstance();
    CloseMediaArchive();
}

int RunApplication() {
    Application* application = Application::Create();
    const int result = application->Run();
    const bool started = application->HasStarted();
    Application::DestroyInstance();
    ShutDown(started);
    return result;
}

int RunMainLoop() {
    platform::Message message;
    for (;;) {
        if (platform::PeekMessage(message)) {
            platform::TranslateMessage(message);
            platform::DispatchMessage(message);
            if (message.message == platform::WM_QUIT) return static_cast<int>(message.wParam);
        } else if (GameWindow::Instance() && GameWindow::Instance()->IsInactive()) {
            platform::SleepMs(kInactiveSleepMs);
        } else if (FrameTimer::Instance()) {
            // On the virtual clock loading finishes before each frame, so what a
            // scripted run shows at a given moment never depends on the machine's speed.
            SectionManager::SettleOnVirtualClock();
            FrameTimer::Instance()->WaitNextFrame();
        }
    }
}
