#include "platform/CloseSignals.h"

#include <signal.h>

#include <array>
#include <atomic>
#include <iterator>
#include <mutex>

namespace platform {

namespace {

std::atomic<bool> closeRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void NoteCloseRequest(int) { closeRequested = true; }

// A closed terminal (hang-up) ends the run the same way.
constexpr int kCloseSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The handlers stay while any instance lives, whatever order they go in.
struct Installed {
    std::mutex mutex;
    int users = 0;
    std::array<struct sigaction, std::size(kCloseSignals)> previous{};
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
    for (size_t i = 0; i < std::size(kCloseSignals); ++i) sigaction(kCloseSignals[i], &action, &installed.previous[i]);
}

CloseSignals::~CloseSignals() {
    Installed& installed = Handlers();
    const std::lock_guard<std::mutex> lock(installed.mutex);
    if (--installed.users > 0) return;
    for (size_t i = 0; i < std::size(kCloseSignals); ++i) sigaction(kCloseSignals[i], &installed.previous[i], nullptr);
}

bool CloseSignals::TakeRequest() { return closeRequested.exchange(false); }

void IgnoreBrokenPipes() { signal(SIGPIPE, SIG_IGN); }

}  // namespace platform
