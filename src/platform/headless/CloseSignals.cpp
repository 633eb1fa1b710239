#include "platform/headless/CloseSignals.h"

#include <signal.h>

#include <atomic>
#include <mutex>

namespace platform {

namespace {

std::atomic<bool> closeRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void NoteCloseRequest(int) { closeRequested = true; }

// The handlers stay while any instance lives, whatever order they go in.
struct Installed {
    std::mutex mutex;
    int users = 0;
    struct sigaction previousInterrupt {};
    struct sigaction previousTerminate {};
};

Installed& Handlers() {
    static Installed installed;
    return installed;
}

}  // namespace

CloseSignals::CloseSignals() {
    Installed& installed = Handlers();
    const std::lock_guard<std::mutex> lock(installed.mutex);
    if (installed.users++ > 0) return;
    struct sigaction action {};
    action.sa_handler = NoteCloseRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &installed.previousInterrupt);
    sigaction(SIGTERM, &action, &installed.previousTerminate);
}

CloseSignals::~CloseSignals() {
    Installed& installed = Handlers();
    const std::lock_guard<std::mutex> lock(installed.mutex);
    if (--installed.users > 0) return;
    sigaction(SIGINT, &installed.previousInterrupt, nullptr);
    sigaction(SIGTERM, &installed.previousTerminate, nullptr);
}

bool CloseSignals::TakeRequest() { return closeRequested.exchange(false); }

}  // namespace platform
