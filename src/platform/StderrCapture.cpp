#include "platform/StderrCapture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

StderrCapture::StderrCapture() {
    char name[] = "/tmp/stderr-XXXXXX";
    captureFile_ = mkostemp(name, O_CLOEXEC);
    if (captureFile_ < 0) {
        return;
    }
    unlink(name);
    std::fflush(stderr);
    savedStderr_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (savedStderr_ < 0 || dup2(captureFile_, STDERR_FILENO) < 0) {
        Finish();
    }
}

StderrCapture::~StderrCapture() { Finish(); }

std::string StderrCapture::Finish() {
    std::string captured;
    if (savedStderr_ >= 0) {
        std::fflush(stderr);
        dup2(savedStderr_, STDERR_FILENO);
        close(savedStderr_);
        savedStderr_ = -1;
    }
    if (captureFile_ >= 0) {
        char buffer[4096];
        ssize_t got = 0;
        off_t at = 0;
        while ((got = pread(captureFile_, buffer, sizeof buffer, at)) > 0) {
            captured.append(buffer, static_cast<size_t>(got));
            at += got;
        }
        close(captureFile_);
        captureFile_ = -1;
    }
    return captured;
}

}  // namespace platform
