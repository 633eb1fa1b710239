#pragma once

#include <signal.h>

// While it lives, SIGINT and SIGTERM ask the run to close instead of killing
// it, so that it ends normally and saves, as SDL arranges for its own
// backend. The previous handlers come back when it goes.
namespace platform {

class CloseSignals {
public:
    CloseSignals();
    ~CloseSignals();
    CloseSignals(const CloseSignals&) = delete;
    CloseSignals& operator=(const CloseSignals&) = delete;

    // True when a signal arrived since the last call.
    static bool TakeRequest();

private:
    struct sigaction previousInterrupt_ {};
    struct sigaction previousTerminate_ {};
};

}  // namespace platform
