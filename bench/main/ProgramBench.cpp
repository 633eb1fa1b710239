// The program's speed on the media this build generates, meant to run on
// one core (taskset -c N):
// - StartUpToTheSelectionScene: the whole program, headless on the virtual
//   clock, from the splash through the load scene's question and the
//   transition to the selection scene. The virtual clock skips the screens'
//   designed pauses, so the time is the program's own work; the first frame
//   is timed apart.
// - GameSceneLevel: a level of the game scene played through by a scripted
//   player who types a queued word every half second, to the end sign after
//   the level's end (banner, coin award, rewards); each frame (update and
//   draw at 800 x 600) is timed.
// - MapSceneJourney: the map scene entered from the menu, then back from a
//   first win on a track (the ride that uncovers the land, the result dialog
//   and its OK), the slide to the next section and back, the rank dialog
//   and the trophy award with its cabinet; each frame is timed as in the level.
// Both run three times and report per-frame minima over the runs (overall
// and per moment: the map's entry, a section change, the level's end, the
// dialogs) beside the median and 99th percentile of every frame.
// Each reports the process's peak resident memory so far (getrusage).

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "GameSceneTicket.h"
#include "GameServicesSession.h"
#include "GeneratedMediaSession.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/GameWindow.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Button.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/DialogRanking.h"
#include "game/dialogs/KR2Dialog.h"
#include "game/dialogs/TrophyAwardedDialog.h"
#include "game/progress/KR2Player.h"
#include "game/rules/GameMode.h"
#include "game/words/LetterRack.h"
#include "game/words/TicketHooks.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"
#include "game/world/SectionInfo.h"
#include "game/world/SectionList.h"
#include "game/world/TrackInfo.h"
#include "main/Application.h"
#include "platform/Backend.h"
#include "platform/Files.h"
#include "platform/RunOptions.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessBackend.h"
#include "scenes/GameScene.h"
#include "scenes/MapScene.h"
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

// A fresh temporary folder that holds the run's user data and settings, so
// that nothing the program saves lands in the real ones.
class WorkFolder {
public:
    WorkFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("wordrail-bench-" + std::to_string(Clock::now().time_since_epoch().count()))) {
        std::filesystem::create_directories(path_);
        setenv("XDG_DATA_HOME", (path_ / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (path_ / "config").c_str(), 1);
        ForgetFoldersForTesting();
    }
    ~WorkFolder() {
        ForgetFoldersForTesting();
        std::filesystem::remove_all(path_);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Each frame's wall and processor time over repeated runs of the same
// frames. The shared machine's noise drops out of the per-frame minimum over
// the runs: the slowest of those minima is reported beside the median and the
// 99th percentile of all frames, and so is the slowest minimum within each
// named moment (a scene's entry, a section change, a dialog's opening...).
class FrameTimes {
public:
    void StartRun() {
        runs_.emplace_back();
        moment_.clear();
    }
    // The frames from now on belong to the moment; "" ends it.
    void SetMoment(const std::string& moment) { moment_ = moment; }

    template <typename Frame>
    void Time(Frame&& frame) {
        const Clock::time_point start = Clock::now();
        const double startCpu = ThreadCpuMicroseconds();
        frame();
        const double cpuUs = ThreadCpuMicroseconds() - startCpu;
        runs_.back().push_back(
            {std::chrono::duration<double, std::micro>(Clock::now() - start).count(), cpuUs, moment_});
    }

    void Report(benchmark::State& state) const {
        if (runs_.empty() || runs_.front().empty()) {
            return;
        }
        size_t frameCount = runs_.front().size();
        for (const std::vector<FrameTime>& run : runs_) {
            frameCount = std::min(frameCount, run.size());
        }
        state.counters["runs"] = static_cast<double>(runs_.size());
        state.counters["frames"] = static_cast<double>(frameCount);
        std::vector<double> allWall;
        std::vector<double> allCpu;
        for (const std::vector<FrameTime>& run : runs_) {
            for (const FrameTime& frame : run) {
                allWall.push_back(frame.wallUs);
                allCpu.push_back(frame.cpuUs);
            }
        }
        const auto percentiles = [&state](const std::string& name, std::vector<double> times) {
            std::sort(times.begin(), times.end());
            state.counters["median_" + name] = times[times.size() / 2];
            state.counters["p99_" + name] = times[times.size() * 99 / 100];
        };
        percentiles("frame_us", allWall);
        percentiles("frame_cpu_us", allCpu);
        double slowestWall = 0;
        double slowestCpu = 0;
        std::map<std::string, double> moments;
        for (size_t f = 0; f < frameCount; ++f) {
            double wall = runs_.front()[f].wallUs;
            double cpu = runs_.front()[f].cpuUs;
            for (const std::vector<FrameTime>& run : runs_) {
                wall = std::min(wall, run[f].wallUs);
                cpu = std::min(cpu, run[f].cpuUs);
            }
            slowestWall = std::max(slowestWall, wall);
            slowestCpu = std::max(slowestCpu, cpu);
            const std::string& moment = runs_.front()[f].moment;
            if (!moment.empty()) {
                moments[moment] = std::max(moments[moment], cpu);
            }
        }
        state.counters["slowest_min_frame_us"] = slowestWall;
        state.counters["slowest_min_frame_cpu_us"] = slowestCpu;
        for (const auto& [moment, cpu] : moments) {
            state.counters[moment + "_cpu_us"] = cpu;
        }
    }

private:
    struct FrameTime {
        double wallUs;
        double cpuUs;
        std::string moment;
    };
    std::vector<std::vector<FrameTime>> runs_;
    std::string moment_;
};

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
    const WorkFolder work;
    const std::string script = (work.Path() / "start.script").string();
    WriteFileAtomically(script, kStartScript, std::char_traits<char>::length(kStartScript));
    setenv("WORDRAIL_SCRIPT", script.c_str(), 1);
    setenv("WORDRAIL_SCREENSHOTS", work.Path().c_str(), 1);
    setenv("WORDRAIL_CLOCK", "virtual", 1);
    ReloadRunOptionsForTesting();
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
}

// The media with the named sections loaded and the start-up services, as
// start-up leaves them for a scene; the user folders are a temporary work
// folder, made before the media session forgets the folders it knew.
class ContentSession {
public:
    explicit ContentSession(std::initializer_list<const char*> sectionNames) : media_(sectionNames) {}

    // The scene the definition names, built and registered under that name.
    template <typename SceneType>
    static Ref<SceneType> BuildScene(const std::string& name) {
        const Ref<Object> built(ClassFactory::Instance().Create(DialogTable::Instance()->FindDialogDefinition(name)));
        Ref<SceneType> scene(ObjectCast<SceneType>(built.Get()));
        if (scene) {
            scene->SetName(name);
        }
        return scene;
    }

    static void MakeCurrent(KR2Player& player) {
        Players::Instance()->Add(&player);
        Players::Instance()->SetCurrent(&player);
    }

private:
    WorkFolder work_;
    GeneratedMediaSession media_;
    GameServicesSession services_;
};

// The game scene started on a player with an adventure ticket.
class LevelSession {
public:
    LevelSession() {
        scene_ = ContentSession::BuildScene<GameScene>("SCENE_GAME");
        if (!scene_) {
            return;
        }
        answers_.scene = scene_.Get();
        TicketInfo::SetHooks({&answers_, &answers_, &answers_});
        player_ = new KR2Player("Bench");
        player_->stats.score = 500;
        player_->coins = 40;
        // A hint bubble pauses the race until it is clicked away.
        player_->showhints = false;
        player_->currentTicket = GeneratedTicket(*scene_, GameMode::kClassic6, TicketInfo::kMapTicket);
        ContentSession::MakeCurrent(*player_);
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
    ContentSession content_{"default", "dialogs", "gamescene"};
    TicketAnswers answers_;
    Ref<KR2Player> player_;
    Ref<GameScene> scene_;
};

constexpr int32_t kFrameMs = 16;
constexpr int kFramesPerWord = 30;
// Far beyond any level: the opponent alone ends one in DEFAULT_GAME_TIME.
constexpr int kMostFrames = 20 * 60 * 1000 / kFrameMs;

void GameSceneLevel(benchmark::State& state) {
    FrameTimes frames;
    for (auto _ : state) {
        const LevelSession session;
        GameScene* scene = session.Scene();
        if (scene == nullptr || scene->GetMode() == nullptr) {
            state.SkipWithError("the game scene did not start a level");
            return;
        }
        const Ref<MemorySurface> screen = CreateMemorySurface(800, 600);
        const Ref<Canvas> canvas = screen->CreateCanvas();
        frames.StartRun();
        const Clock::time_point levelStart = Clock::now();
        // Through the race and the level's end (banner, coin award, rewards) to the end sign.
        for (int frame = 0; frame < kMostFrames && scene->GetMode()->GetState() < GameScene::kEndShown; ++frame) {
            const int32_t modeState = scene->GetMode()->GetState();
            if (frame % kFramesPerWord == 0 && modeState == GameScene::kPlaying) {
                for (const char c : session.NextWord()) {
                    scene->OnChar(c);
                }
                scene->OnKeyDown(13);
            }
            frames.SetMoment(modeState >= GameScene::kBannerShown ? "level_end" : "");
            frames.Time([&] {
                SceneManager::Instance()->Update(kFrameMs);
                scene->DrawInto(*canvas);
            });
        }
        if (scene->GetMode()->GetState() < GameScene::kEndShown) {
            state.SkipWithError("the level's end never reached the end sign");
        }
        state.SetIterationTime(MillisecondsSince(levelStart) / 1000.0);
    }
    frames.Report(state);
    state.counters["peak_mb"] = PeakMegabytes();
}
// Repeated, so that each frame's minimum over the runs leaves the machine's noise out.
constexpr int kRuns = 3;
BENCHMARK(GameSceneLevel)->Iterations(kRuns)->UseManualTime()->Unit(benchmark::kMillisecond);

SectionList& LoadedMap() {
    SectionList::Create();
    return *SectionList::Instance();
}

// The map scene on a player at the first section's entry city.
class MapSession {
public:
    MapSession() : map_(LoadedMap()) {
        // The map offers tickets only with a random generator; a fixed seed
        // keeps the journey the same from run to run.
        RandomGenerator::SetGlobal(new RandomGenerator(7, 0));
        player_ = new KR2Player("Bench");
        player_->stats.score = 300;
        player_->coins = 25;
        player_->cursection = 0;
        player_->curcity = map_.Section(0).enter;
        // The way to the next section opens once the first is finished.
        map_.Section(0).finished = true;
        // Hint bubbles wait for a click; the journey is timed without them.
        player_->showhints = false;
        ContentSession::MakeCurrent(*player_);
        scene_ = ContentSession::BuildScene<MapScene>("SCENE_MAP");
        if (!scene_) {
            return;
        }
        SceneManager::Instance()->AddScene("SCENE_MAP", scene_.Get());
    }

    // What the menu does before its transition to the map: the map's
    // sections asked for, which the loader loads during the transition.
    static void Prepare() {
        MapScene::RequestMapSections();
        SectionManager::Instance()->FinishLoadWork();
    }

    // The switch to the map scene: its activation and the map shown.
    void Enter() {
        SceneManager::Instance()->RequestSwitch(scene_.Get());
        SceneManager::Instance()->Update(0);
    }

    ~MapSession() {
        if (scene_ && scene_->IsActive()) {
            scene_->Deactivate();
        }
        scene_ = nullptr;
        // The scene lets go of its sprites in the map's records as it goes.
        SceneManager::ReleaseInstance();
        SectionList::ReleaseInstance();
        RandomGenerator::SetGlobal(nullptr);
    }

    MapSession(const MapSession&) = delete;
    MapSession& operator=(const MapSession&) = delete;

    MapScene* Scene() const { return scene_.Get(); }

    // What the game scene leaves behind after the first win on a track of
    // section 0 that starts at the player's city, then the map entered anew;
    // false when no track starts there.
    bool ReturnFromAFirstWin() {
        const SectionInfo& section = map_.Section(0);
        for (size_t t = 0; t < section.tracks.size(); ++t) {
            TrackInfo& track = *section.tracks[t];
            for (int end = 0; end < 2; ++end) {
                if (track.ends[end].city != player_->curcity) {
                    continue;
                }
                Ref<TicketInfo> ticket = new TicketInfo;
                ticket->Section = 0;
                ticket->Track = static_cast<int32_t>(t);
                ticket->GameType = 2;
                player_->currentTicket = ticket;
                player_->lastWon = true;
                player_->lastScore = 120;
                player_->stats.score += 120;
                player_->curcity = track.ends[1 - end].city;
                track.games = 1;
                scene_->SetReturnFromGame(true);
                scene_->Deactivate();
                scene_->Activate();
                return true;
            }
        }
        return false;
    }

private:
    ContentSession content_{"default", "dialogs", "mapscene", "assets", "rewards", "trophy"};
    SectionList& map_;
    Ref<KR2Player> player_;
    Ref<MapScene> scene_;
};

// Longer than any step of the journey takes.
constexpr int32_t kStepLimitMs = 15000;

void MapSceneJourney(benchmark::State& state) {
    FrameTimes frames;
    for (auto _ : state) {
        MapSession session;
        MapScene* scene = session.Scene();
        if (scene == nullptr) {
            state.SkipWithError("the map scene was not built");
            return;
        }
        const Ref<MemorySurface> screen = CreateMemorySurface(800, 600);
        const Ref<Canvas> canvas = screen->CreateCanvas();
        frames.StartRun();
        const auto frame = [&] {
            // The frames follow each other far faster than the game's 60 a
            // second: the loader is given the time it has in the program.
            SectionManager::Instance()->FinishLoadWork();
            frames.Time([&] {
                SceneManager::Instance()->Update(kFrameMs);
                scene->DrawInto(*canvas);
            });
        };
        const auto play = [&](int32_t ms) {
            for (int32_t t = 0; t < ms; t += kFrameMs) {
                frame();
            }
        };
        const auto playUntil = [&](const auto& done) {
            for (int32_t t = 0; t < kStepLimitMs && !done(); t += kFrameMs) {
                frame();
            }
            return done();
        };
        // A call that starts a moment counts as a frame of its own: the
        // player sees it as one.
        const auto begin = [&](const std::string& moment, const auto& call) {
            frames.SetMoment(moment);
            frames.Time(call);
        };
        // The OK of the dialog the scene shows under that name, a frame of
        // its own as well: what it brings up starts there.
        const auto pressOk = [&](const char* name) {
            // Looked up in the map: GetDialog would hide it first.
            const auto& dialogs = scene->GetDialogMap();
            const auto found = scene->IsDialogShown(name) ? dialogs.find(name) : dialogs.end();
            Dialog* dialog = found != dialogs.end() ? found->second.Get() : nullptr;
            auto* ok = dialog != nullptr ? ObjectCast<Button>(dialog->FindChild("BUTTON_OK")) : nullptr;
            if (ok != nullptr) {
                frames.Time([ok] { ok->Invoke(ok); });
            }
            return ok != nullptr;
        };
        const auto idle = [scene] { return scene->GetState() == MapScene::kIdle; };

        const Clock::time_point journeyStart = Clock::now();
        MapSession::Prepare();
        begin("map_entry", [&] { session.Enter(); });
        play(300);
        frames.SetMoment("");
        play(700);
        bool returned = false;
        begin("map_return", [&] { returned = session.ReturnFromAFirstWin(); });
        frames.SetMoment("ride_to_result");
        if (!returned || !playUntil([scene] { return scene->IsDialogShown("DIALOG_LEVEL_SUCCESS"); })) {
            state.SkipWithError("the ride after a won level did not end in the result dialog");
            return;
        }
        play(600);
        frames.SetMoment("");
        pressOk("DIALOG_LEVEL_SUCCESS");
        play(800);
        begin("section_change", [&] { MapScene::OnNextSection(scene, nullptr); });
        const bool slidOver = playUntil(idle);
        frames.SetMoment("");
        play(1000);
        begin("section_change", [&] { MapScene::OnPrevSection(scene, nullptr); });
        if (!slidOver || !playUntil(idle)) {
            state.SkipWithError("a slide between sections did not end");
            return;
        }
        frames.SetMoment("");
        play(500);
        begin("rank_dialog", [] { DialogRanking::Show(); });
        play(2500);
        frames.SetMoment("");
        if (!pressOk("DIALOG_RANKING")) {
            state.SkipWithError("the rank dialog did not open");
            return;
        }
        play(1500);
        begin("trophy_dialog", [] { TrophyAwardedDialog::Show(0, nullptr); });
        play(2500);
        if (!pressOk("DIALOG_TROPHY_AWARDED")) {
            state.SkipWithError("the trophy dialog did not open");
            return;
        }
        // The cabinet opens behind it and takes the trophy.
        play(2500);
        frames.SetMoment("");
        state.SetIterationTime(MillisecondsSince(journeyStart) / 1000.0);
    }
    frames.Report(state);
    state.counters["peak_mb"] = PeakMegabytes();
}
BENCHMARK(MapSceneJourney)->Iterations(kRuns)->UseManualTime()->Unit(benchmark::kMillisecond);

// Last: the program's shut-down leaves the class registry empty.
BENCHMARK(StartUpToTheSelectionScene)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
