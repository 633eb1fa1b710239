#include "main/ScriptedRunFixture.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "engine/foundation/Folders.h"
#include "engine/foundation/Scrambler.h"
#include "engine/media/GameWindow.h"
#include "engine/media/ImageDecoding.h"
#include "platform/Files.h"
#include "platform/RunOptions.h"
#include "platform/Window.h"
#include "platform/sdl/SdlBackend.h"

using namespace platform;

void ScriptedRunTest::Prepare(const std::string& script, bool sdl) {
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

void ScriptedRunTest::EnterProgramFolder(bool withConstants) {
    programFolder_ = std::make_unique<TempFolder>();
    if (withConstants) {
        const std::string constants = programFolder_->Path() + "/media/properties";
        std::filesystem::create_directories(constants);
        const std::string xml =
            "<root><String id=\"GAME_ID\" value=\"TestGame\"/>"
            "<String id=\"GAME_NAME\" value=\"Test Game\"/></root>";
        ASSERT_TRUE(WriteFileAtomically(constants + "/default.xml", xml.data(), xml.size()));
        // The files no game can be played without, readable and empty.
        for (const char* needed : {"dynamic.xml", "text.xml", "letterfreqs.xml", "gamesettings.xml", "rankings.xml"}) {
            WriteProgramFile(std::string("media/properties/") + needed, "<root/>");
        }
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

void ScriptedRunTest::WriteProgramFile(const std::string& name, const std::string& text) {
    const std::string path = programFolder_->Path() + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(WriteFileAtomically(path, text.data(), text.size())) << path;
}

void ScriptedRunTest::EnterFolder(const std::filesystem::path& folder) {
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    ForgetGameConstantsForTesting();
}

void ScriptedRunTest::TearDown() {
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

std::string AddPlayer(const std::string& name) {
    return "click 175 395\nwait ms 800\nclick 280 427\nwait ms 800\ntype \"" + name +
           "\"\nkey RETURN\nwait ms 1500\n";
}

namespace {

// This process's environment with `run`'s variables set over it, as
// "NAME=value" lines.
std::vector<std::string> ChildEnvironment(const ChildRun& run) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string line = *entry;
        const size_t equals = line.find('=');
        if (equals != std::string::npos) variables[line.substr(0, equals)] = line.substr(equals + 1);
    }
    variables["WORDRAIL_BACKEND"] = "headless";
    variables["WORDRAIL_WATCHDOG_MS"] = "120000";
    for (const auto& [name, value] : run.environment) variables[name] = value;
    std::vector<std::string> lines;
    for (const auto& [name, value] : variables) lines.push_back(name + "=" + value);
    return lines;
}

// The child's file actions, released with it.
class SpawnFileActions {
public:
    SpawnFileActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnFileActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;

    void SendErrorOutputTo(const std::string& path) {
        EXPECT_EQ(posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, path.c_str(),
                                                   O_WRONLY | O_CREAT | O_TRUNC, 0644),
                  0)
            << path;
    }
    void SendErrorOutputTo(int descriptor) {
        EXPECT_EQ(posix_spawn_file_actions_adddup2(&actions_, descriptor, STDERR_FILENO), 0);
    }
    const posix_spawn_file_actions_t* Get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

// Every signal's default action in the child, whatever this process ignores.
class DefaultSignals {
public:
    DefaultSignals() {
        posix_spawnattr_init(&attributes_);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigdefault(&attributes_, &all);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF);
    }
    ~DefaultSignals() { posix_spawnattr_destroy(&attributes_); }
    DefaultSignals(const DefaultSignals&) = delete;
    DefaultSignals& operator=(const DefaultSignals&) = delete;
    const posix_spawnattr_t* Get() const { return &attributes_; }

private:
    posix_spawnattr_t attributes_;
};

}  // namespace

pid_t StartProgram(const ChildRun& run) {
    const std::vector<std::string> environment = ChildEnvironment(run);
    std::vector<char*> environmentLines;
    for (const std::string& line : environment) environmentLines.push_back(const_cast<char*>(line.c_str()));
    environmentLines.push_back(nullptr);
    char* const arguments[] = {const_cast<char*>(run.program.c_str()), nullptr};
    SpawnFileActions actions;
    if (run.errorDescriptor >= 0) actions.SendErrorOutputTo(run.errorDescriptor);
    else if (!run.errorOutput.empty()) actions.SendErrorOutputTo(run.errorOutput);
    const DefaultSignals signals;
    pid_t child = -1;
    EXPECT_EQ(posix_spawn(&child, run.program.c_str(), actions.Get(), signals.Get(), arguments,
                          environmentLines.data()),
              0)
        << run.program;
    return child;
}

int WaitForProgram(pid_t child) {
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int RunProgram(const ChildRun& run) { return WaitForProgram(StartProgram(run)); }

std::vector<uint8_t> BytesOf(const std::string& path) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

std::string ReadStoredFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    DescrambleBuffer(bytes.data(), bytes.size());
    return std::string(bytes.begin(), bytes.end());
}

void WriteStoredFile(const std::string& path, std::string text) {
    DescrambleBuffer(reinterpret_cast<uint8_t*>(text.data()), text.size());
    ASSERT_TRUE(WriteFileAtomically(path, text.data(), text.size())) << path;
}

Rgb PixelOf(const MemorySurface& picture, int32_t x, int32_t y) {
    const uint32_t pixel = picture.Pixels32()[picture.PixelIndex(x, y)];
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

std::string FreshScreenshotFolder(const std::string& name) {
    const std::string folder = std::string(WORDRAIL_BUILD_DIR) + "/tests/" + name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

Ref<MemorySurface> LoadScreenshot(const std::string& folder, const char* name) {
    Ref<MemorySurface> picture = LoadPictureFile(folder + "/" + name + ".png");
    EXPECT_TRUE(picture) << name;
    return picture;
}

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
