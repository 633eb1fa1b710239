#pragma once

#include <string>

namespace platform {

// Keeps what is written to the standard error stream (by this process and
// the libraries it calls) out of it while it lives, so that a library's
// chatter can be passed on or replaced by one line of our own.
class StderrCapture {
public:
    StderrCapture();
    // Restores the stream and drops what was captured but not taken.
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Restores the stream and answers what was written meanwhile.
    std::string Finish();

private:
    int savedStderr_ = -1;
    int captureFile_ = -1;
};

}  // namespace platform
