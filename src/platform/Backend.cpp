#include "platform/Backend.h"

#include "platform/RunOptions.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/sdl/SdlBackend.h"

namespace platform {

namespace {

std::unique_ptr<Backend>& Active() {
    static std::unique_ptr<Backend> backend;
    return backend;
}

}  // namespace

Backend& ActiveBackend() {
    std::unique_ptr<Backend>& backend = Active();
    if (!backend) {
        if (CurrentRunOptions().headless) backend = std::make_unique<HeadlessBackend>();
        else backend = std::make_unique<SdlBackend>();
    }
    return *backend;
}

void SetActiveBackend(std::unique_ptr<Backend> backend) { Active() = std::move(backend); }

}  // namespace platform
