#include "main/Application.h"

#include <cstdio>
#include <cstdlib>

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
#include "engine/foundation/SectionManager.h"
#include "engine/foundation/Settings.h"
#include "engine/media/FrameTimer.h"
#include "engine/media/GameWindow.h"
#include "engine/media/SoundAvailable.h"
#include "engine/media/SoundManager.h"
#include "game/constants/GameConstants.h"
#include "game/world/SectionList.h"
#include "platform/MessageBox.h"
#include "platform/Time.h"
#include "platform/Window.h"

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kIconId = 102;
constexpr int kBusyCursor = 1;
constexpr uint32_t kInactiveSleepMs = 40;
constexpr uint32_t kLoadPollMs = 10;

const std::vector<std::string> kConstantFiles = {
    "media/properties/default.xml",      "media/properties/assets.xml",
    "media/properties/dynamic.xml",      "media/properties/text.xml",
    "media/properties/names.xml",        "media/properties/letterfreqs.xml",
    "media/properties/gamesettings.xml", "media/properties/rankings.xml",
};

// False, with a message, when the constants lack the game's name or id:
// without them the game's files would land in the folders of every game.
bool ReadConstants() {
    Defines::Create();
    Ref<PropertyFile> constants = new PropertyFile(kConstantFiles);
    constants->Load();
    ClassFactory::Instance().CreateNamedObjects(*constants);
    if (!GetGameName().empty() && !GetGameId().empty()) {
        return true;
    }
    platform::MessageBox(0,
                         "The game's name could not be read from \"" + kConstantFiles.front() +
                             "\".\nThe game cannot start; nothing has been changed.",
                         "Error", platform::MB_OK | platform::MB_ICONERROR);
    return false;
}

void CreateSoundManager(const Settings& settings) {
    SoundManager* sound = SoundManager::Create(44100, 0, 32);
    if (!IsSoundAvailable()) return;
    sound->SetMusicVolume(static_cast<uint8_t>(settings.GetMusicVolume()));
    sound->SetEffectsVolume(static_cast<uint8_t>(settings.GetSoundVolume()));
}

// Declares the resource sections and waits until the first two are loaded;
// the next ones load meanwhile, measured by the load scene.
void StartLoading() {
    SectionManager::Start();
    SectionManager* sections = SectionManager::Instance();
    sections->AddDefinitionFile("media/properties/resources.xml");
    sections->LoadSections();
    sections->SetDeclared();
    sections->RequestSection("splash");
    sections->RequestSection("music");
    for (;;) {
        sections->ResumeLoader();
        if (sections->NextUnloadedSection(SectionManager::List::LoadQueue, true) == nullptr) break;
        platform::SleepMs(kLoadPollMs);
    }
    sections->ClearLoadQueue();
    for (const char* name : {"preloading", "default", "dialogs", "selectionscene"})
        sections->RequestSection(name);
}

}  // namespace

int Application::Run() {
    if (!StartUp()) {
        ShutDown(false);
        return 1;
    }
    RunMainLoop();
    ShutDown(true);
    return 0;
}

bool Application::StartUp() {
    Logger::Instance(0, 2);
    OpenMediaArchive(LoadMode::File, "");
    if (!ReadConstants()) return false;
    XML::Init();
    if (GameWindow::CheckSingleInstance()) {
        const std::string name = GetGameName();
        std::fprintf(stderr, "%s is already running.\n", name.empty() ? "The game" : name.c_str());
        return false;
    }
    // Only the copy that runs empties the log folder and makes its file.
    Logger::Instance().RecordLogFile();
    DataGathering::Start();
    const uint32_t now = platform::TickCountMs();
    RandomGenerator::SetGlobal(new RandomGenerator(now, 0));
    std::srand(now);
    RegistrySettings* settings = RegistrySettings::Create(
        std::make_unique<Settings>(false, true, true, true, 255, 255));

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
    // The player files carry the map progress, so the map comes first.
    SectionList::Create();
    StartLoading();
    HighScoreTables::Create(true, "1.0")->Load();
    Players::Create("", true)->Load();
    window->SetWaitForVerticalBlank(true);

    FrameTimer* timer = FrameTimer::Create();
    timer->SetMinimumFrameTime(1);
    timer->Reset();
    timer->AddListener(window);
    timer->AddListener(SoundManager::Get());
    return true;
}

void Application::ShutDown(bool normalEnd) {
    if (normalEnd) {
        if (HighScoreTables::Instance()) HighScoreTables::Instance()->Save();
        if (Players::Instance()) Players::Instance()->Save();
        if (GameWindow::Instance()) GameWindow::Instance()->Shutdown();
    }
    FrameTimer::DestroyInstance();
    SectionList::ReleaseInstance();
    Players::Free();
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

void RunMainLoop() {
    platform::Message message;
    for (;;) {
        if (platform::PeekMessage(message)) {
            platform::TranslateMessage(message);
            platform::DispatchMessage(message);
            if (message.message == platform::WM_QUIT) return;
        } else if (GameWindow::Instance() && GameWindow::Instance()->IsInactive()) {
            platform::SleepMs(kInactiveSleepMs);
        } else if (FrameTimer::Instance()) {
            FrameTimer::Instance()->WaitNextFrame();
        }
    }
}
