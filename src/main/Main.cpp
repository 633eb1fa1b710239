#include <cstdio>

#include "engine/foundation/Folders.h"
#include "main/Application.h"
#include "platform/CloseSignals.h"
#include "platform/Directories.h"
#include "platform/FrameCapture.h"
#include "platform/ProcessMemory.h"
#include "platform/RunOptions.h"

namespace {

// Exit code of a run whose options or screenshots failed (as of a bad script).
constexpr int kSetUpFailed = 3;

}  // namespace

// Program entry point; the command line is not read. Media paths are
// relative to the program's own folder; the run options are read before the
// program moves there, so their relative paths mean the starting folder.
int main() {
    platform::ReturnLargeBlocksToTheSystem();
    platform::IgnoreBrokenPipes();
    if (const std::string& problem = platform::CurrentRunOptions().problem; !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return kSetUpFailed;
    }
    platform::SetCurrentFolder(GetProgramFolder());
    const int result = RunApplication();
    return result == 0 && platform::ScreenshotWriteFailed() ? kSetUpFailed : result;
}
