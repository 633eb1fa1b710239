#pragma once

// While one lives, SIGINT, SIGTERM and SIGHUP ask the run to close instead
// of killing it, so that it ends normally and saves. Both backends hold one.
// The previous handlers come back when the last one goes.
namespace platform {

class CloseSignals {
public:
    CloseSignals();
    ~CloseSignals();
    CloseSignals(const CloseSignals&) = delete;
    CloseSignals& operator=(const CloseSignals&) = delete;

    // True when a signal arrived since the last call.
    static bool TakeRequest();
};

// For the rest of the process a write into a pipe nobody reads (stderr
// piped into a reader that ended) fails as a write instead of killing the
// run before it saves.
void IgnoreBrokenPipes();

}  // namespace platform
