// The program's speed on the media this build generates, meant to run on
// one core (taskset -c N):
// - StartUpToTheSelectionScene: the whole program, headless on the virtual
//   clock, from the splash through the load scene's question and the
//   transition to the selection scene. The virtual clock skips the screens'
//   designed pauses, so the time is the program's own work; the first frame
//   is timed apart.
// - GameSceneLevel: a level of the game scene played through by a scripted
//   player who types a queued word every half second; each frame (update and
//   draw at 800 x 600) is timed, the median and the slowest reported.
// Both report the process's peak resident memory so far (getrusage).

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "GameServicesSession.h"
#include "GeneratedMediaSession.h"
#include "GameSceneTicket.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Players.h"
#include "engine/media/GameWindow.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"
#include "game/progress/KR2Player.h"
#include "game/rules/GameMode.h"
#include "game/words/LetterRack.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"
#include "main/Application.h"
#include "platform/Backend.h"
#include "platform/Files.h"
#include "platform/RunOptions.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessBackend.h"
#include "scenes/GameScene.h"
#include "scenes/SelectionScene.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace platform;

const std::string kBuild = WORDRAIL_BUILD_DIR;

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Processor time of all the process's threads (the loader thread too).
double ProcessCpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Processor time of the calling thread: a frame's cost even when other
// programs share the core.
double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The headless backend, noting when the first frame and the selection
// scene's first frame reach the screen.
class TimingBackend : public HeadlessBackend {
public:
    explicit TimingBackend(Clock::time_point start) : start_(start), startCpuMs_(ProcessCpuMilliseconds()) {}

    bool Present(const uint8_t* pixels, int width, int height, int bytesPerPixel, bool wait) override {
        ++frames;
        if (firstFrameMs < 0) {
            firstFrameMs = MillisecondsSince(start_);
        }
        const SceneManager* scenes = SceneManager::Instance();
        if (selectionMs < 0 && scenes != nullptr && ObjectCast<SelectionScene>(scenes->GetCurrentScene()) != nullptr) {
            selectionMs = MillisecondsSince(start_);
            selectionCpuMs = ProcessCpuMilliseconds() - startCpuMs_;
            selectionFrame = frames;
        }
        return HeadlessBackend::Present(pixels, width, height, bytesPerPixel, wait);
    }

    double firstFrameMs = -1;
    double selectionMs = -1;
    double selectionCpuMs = -1;
    int frames = 0;
    int selectionFrame = 0;

private:
    Clock::time_point start_;
    double startCpuMs_;
};

// The first run's answers, as a player gives them: no to full screen, a
// click past the load scene, then the selection scene closes the program.
constexpr const char* kStartScript =
    "wait ms 9500\n"
    "click 480 381\n"
    "wait frames 2\n"
    "click 400 475\n"
    "wait ms 6000\n"
    "close\n";

void StartUpToTheSelectionScene(benchmark::State& state) {
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path work =
        std::filesystem::temp_directory_path() /
        ("wordrail-bench-" + std::to_string(Clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(work);
    const std::string script = (work / "start.script").string();
    WriteFileAtomically(script, kStartScript, std::char_traits<char>::length(kStartScript));
    setenv("WORDRAIL_SCRIPT", script.c_str(), 1);
    setenv("WORDRAIL_SCREENSHOTS", work.c_str(), 1);
    setenv("WORDRAIL_CLOCK", "virtual", 1);
    setenv("XDG_DATA_HOME", (work / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (work / "config").c_str(), 1);
    ReloadRunOptionsForTesting();
    ForgetFoldersForTesting();
    std::filesystem::current_path(kBuild);
    ForgetGameConstantsForTesting();

    TimingBackend* backend = nullptr;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        auto owned = std::make_unique<TimingBackend>(start);
        backend = owned.get();
        SetActiveBackend(std::move(owned));
        if (RunApplication() != 0) {
            state.SkipWithError("the program ended with an error");
        }
        state.SetIterationTime(backend->selectionMs / 1000.0);
    }
    if (backend != nullptr) {
        state.counters["first_frame_ms"] = backend->firstFrameMs;
        state.counters["selection_ms"] = backend->selectionMs;
        state.counters["selection_cpu_ms"] = backend->selectionCpuMs;
        state.counters["frames_to_selection"] = backend->selectionFrame;
        if (backend->selectionMs < 0) {
            state.SkipWithError("the selection scene never showed");
        }
    }
    state.counters["peak_mb"] = PeakMegabytes();

    GameWindow::ReleaseSingleInstanceForTesting();
    ResetWindowsForTesting();
    SetActiveBackend(nullptr);
    std::filesystem::current_path(previous);
    ForgetGameConstantsForTesting();
    ForgetFoldersForTesting();
    std::filesystem::remove_all(work);
}

// The media session, constants, definitions and a player with an adventure
// ticket, as start-up leaves them for the game scene.
class LevelSession {
public:
    LevelSession() {
        const Ref<Object> built(ClassFactory::Instance().Create(DialogTable::Instance()->FindDialogDefinition("SCENE_GAME")));
        scene_ = ObjectCast<GameScene>(built.Get());
        if (!scene_) {
            return;
        }
        scene_->SetName("SCENE_GAME");
        answers_.scene = scene_.Get();
        TicketInfo::SetHooks({&answers_, &answers_, &answers_});
        player_ = new KR2Player("Bench");
        player_->stats.score = 500;
        player_->coins = 40;
        player_->currentTicket = GeneratedTicket(*scene_, GameMode::kClassic6, TicketInfo::kMapTicket);
        Players::Instance()->Add(player_.Get());
        Players::Instance()->SetCurrent(player_.Get());
        SceneManager::Instance()->RequestSwitch(scene_.Get());
        SceneManager::Instance()->Update(0);
    }

    ~LevelSession() {
        if (scene_) {
            scene_->Deactivate();
        }
        scene_ = nullptr;
        TicketInfo::SetHooks({});
    }

    LevelSession(const LevelSession&) = delete;
    LevelSession& operator=(const LevelSession&) = delete;

    GameScene* Scene() const { return scene_.Get(); }

    // What the scripted player types next: the first word of the queue not
    // found yet.
    std::string NextWord() const {
        for (const Ref<WordSprite>& word : scene_->GetWordQueue()->Words()) {
            if (word->Status() != WordSprite::kFound) {
                return word->PlainText();
            }
        }
        return "";
    }

private:
    GeneratedMediaSession media_{{"default", "dialogs", "gamescene"}};
    GameServicesSession services_;
    TicketAnswers answers_;
    Ref<KR2Player> player_;
    Ref<GameScene> scene_;
};

constexpr int32_t kFrameMs = 16;
constexpr int kFramesPerWord = 30;
// Far beyond any level: the opponent alone ends one in DEFAULT_GAME_TIME.
constexpr int kMostFrames = 20 * 60 * 1000 / kFrameMs;

void GameSceneLevel(benchmark::State& state) {
    std::vector<double> frameUs;
    std::vector<double> frameCpuUs;
    for (auto _ : state) {
        const LevelSession session;
        GameScene* scene = session.Scene();
        if (scene == nullptr || scene->GetMode() == nullptr) {
            state.SkipWithError("the game scene did not start a level");
            return;
        }
        const Ref<MemorySurface> screen = CreateMemorySurface(800, 600);
        const Ref<Canvas> canvas = screen->CreateCanvas();
        frameUs.clear();
        frameCpuUs.clear();
        const Clock::time_point levelStart = Clock::now();
        for (int frame = 0; frame < kMostFrames && scene->GetMode()->GetState() < GameMode::kEnded; ++frame) {
            if (frame % kFramesPerWord == 0 && scene->GetMode()->GetState() == GameScene::kPlaying) {
                for (const char c : session.NextWord()) {
                    scene->OnChar(c);
                }
                scene->OnKeyDown(13);
            }
            const Clock::time_point start = Clock::now();
            const double startCpu = ThreadCpuMicroseconds();
            SceneManager::Instance()->Update(kFrameMs);
            scene->DrawInto(*canvas);
            frameCpuUs.push_back(ThreadCpuMicroseconds() - startCpu);
            frameUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        }
        state.SetIterationTime(MillisecondsSince(levelStart) / 1000.0);
    }
    if (frameUs.empty()) {
        return;
    }
    state.counters["frames"] = static_cast<double>(frameUs.size());
    const auto report = [&state](const std::string& name, std::vector<double> times) {
        std::sort(times.begin(), times.end());
        state.counters["median_" + name] = times[times.size() / 2];
        state.counters["p99_" + name] = times[times.size() * 99 / 100];
        state.counters["slowest_" + name] = times.back();
    };
    report("frame_us", frameUs);
    report("frame_cpu_us", frameCpuUs);
    state.counters["peak_mb"] = PeakMegabytes();
}
BENCHMARK(GameSceneLevel)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
// Last: the program's shut-down leaves the class registry empty.
BENCHMARK(StartUpToTheSelectionScene)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
