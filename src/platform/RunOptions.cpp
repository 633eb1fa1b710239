#include "platform/RunOptions.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace platform {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

RunOptions ReadOptions() {
    RunOptions options;
    options.headless = Variable("WORDRAIL_BACKEND") == "headless";
    options.scriptPath = Variable("WORDRAIL_SCRIPT");
    if (std::string folder = Variable("WORDRAIL_SCREENSHOTS"); !folder.empty())
        options.screenshotFolder = folder;
    options.virtualClock = Variable("WORDRAIL_CLOCK") == "virtual";
    options.watchdogMs =
        static_cast<uint32_t>(std::strtoul(Variable("WORDRAIL_WATCHDOG_MS").c_str(), nullptr, 10));
    const std::string desktop = Variable("WORDRAIL_DESKTOP");
    int width = 0, height = 0, bits = 0;
    if (std::sscanf(desktop.c_str(), "%dx%dx%d", &width, &height, &bits) == 3 && width > 0 &&
        height > 0 && bits > 0 && bits <= 32) {
        options.desktopWidth = width;
        options.desktopHeight = height;
        options.desktopBitsPerPixel = bits;
    }
    return options;
}

RunOptions& Options() {
    static RunOptions options = ReadOptions();
    return options;
}

}  // namespace

const RunOptions& CurrentRunOptions() { return Options(); }

void ReloadRunOptionsForTesting() { Options() = ReadOptions(); }

}  // namespace platform
