#include "main/Application.h"

#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/media/FrameTimer.h"
#include "engine/media/GameWindow.h"
#include "platform/Time.h"
#include "platform/Window.h"

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kIconId = 102;
constexpr int kBusyCursor = 1;
constexpr uint32_t kInactiveSleepMs = 40;

const std::vector<std::string> kConstantFiles = {
    "media/properties/default.xml",      "media/properties/assets.xml",
    "media/properties/dynamic.xml",      "media/properties/text.xml",
    "media/properties/names.xml",        "media/properties/letterfreqs.xml",
    "media/properties/gamesettings.xml", "media/properties/rankings.xml",
};

void ReadConstants() {
    Defines::Create();
    Ref<PropertyFile> constants = new PropertyFile(kConstantFiles);
    constants->Load();
    ClassFactory::Instance().CreateNamedObjects(*constants);
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
    ReadConstants();
    if (GameWindow::CheckSingleInstance()) return false;

    GameWindow* window = GameWindow::Create(GetGameName(), kWindowWidth, kWindowHeight, false, 0,
                                            kIconId);
    window->SetCursorShape(kBusyCursor);
    window->SetWaitForVerticalBlank(true);

    FrameTimer* timer = FrameTimer::Create();
    timer->SetMinimumFrameTime(1);
    timer->Reset();
    timer->AddListener(window);
    return true;
}

void Application::ShutDown(bool normalEnd) {
    if (normalEnd && GameWindow::Instance()) GameWindow::Instance()->Shutdown();
    FrameTimer::DestroyInstance();
    GameWindow::DestroyInstance();
    ClassFactory::ReleaseInstance();
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
