#include "platform/headless/CloseSignals.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<bool> closeRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void NoteCloseRequest(int) { closeRequested = true; }

}  // namespace

CloseSignals::CloseSignals() {
    struct sigaction action {};
    action.sa_handler = NoteCloseRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInterrupt_);
    sigaction(SIGTERM, &action, &previousTerminate_);
}

CloseSignals::~CloseSignals() {
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    sigaction(SIGTERM, &previousTerminate_, nullptr);
}

bool CloseSignals::TakeRequest() { return closeRequested.exchange(false); }

}  // namespace platform
