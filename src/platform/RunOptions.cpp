#include "platform/RunOptions.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "platform/Directories.h"

namespace platform {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class OptionReader {
public:
    // The value when it is empty or one of `accepted`; else notes the problem
    // and gives the empty value.
    std::string Choice(const char* name, std::initializer_list<const char*> accepted) {
        const std::string value = Variable(name);
        if (value.empty()) return value;
        std::string list;
        for (const char* word : accepted) {
            if (value == word) return value;
            list += list.empty() ? word : std::string(" or ") + word;
        }
        Refuse(name, value, list);
        return "";
    }

    // A path taken from the folder the program started in.
    std::string Path(const char* name) {
        const std::string value = Variable(name);
        const std::string folder = CurrentFolder();
        if (value.empty() || value.front() == '/' || folder.empty()) return value;
        return folder + "/" + value;
    }

    uint32_t Milliseconds(const char* name) {
        const std::string value = Variable(name);
        if (value.empty()) return 0;
        char* end = nullptr;
        const unsigned long long ms = std::strtoull(value.c_str(), &end, 10);
        if (value.front() == '-' || *end != '\0' || ms > UINT32_MAX) {
            Refuse(name, value, "a whole number of milliseconds");
            return 0;
        }
        return static_cast<uint32_t>(ms);
    }

    // WIDTHxHEIGHTxBITS; false when absent or not understood.
    bool Desktop(const char* name, int& width, int& height, int& bits) {
        const std::string value = Variable(name);
        if (value.empty()) return false;
        char rest = 0;
        if (std::sscanf(value.c_str(), "%dx%dx%d%c", &width, &height, &bits, &rest) == 3 && width > 0 &&
            height > 0 && bits > 0 && bits <= 32)
            return true;
        Refuse(name, value, "WIDTHxHEIGHTxBITS, for example 1024x768x32");
        return false;
    }

    const std::string& Problem() const { return problem_; }

private:
    void Refuse(const char* name, const std::string& value, const std::string& accepted) {
        if (problem_.empty())
            problem_ = std::string(name) + "=" + value + " is not understood; use " + accepted;
    }

    std::string problem_;
};

RunOptions ReadOptions() {
    OptionReader reader;
    RunOptions options;
    options.headless = reader.Choice("WORDRAIL_BACKEND", {"sdl", "headless"}) == "headless";
    options.audio = reader.Choice("WORDRAIL_AUDIO", {"sdl", "null", "off"});
    options.scriptPath = reader.Path("WORDRAIL_SCRIPT");
    options.screenshotFolder = reader.Path("WORDRAIL_SCREENSHOTS");
    if (options.screenshotFolder.empty()) options.screenshotFolder = CurrentFolder();
    if (options.screenshotFolder.empty()) options.screenshotFolder = ".";
    options.virtualClock = reader.Choice("WORDRAIL_CLOCK", {"real", "virtual"}) == "virtual";
    options.watchdogMs = reader.Milliseconds("WORDRAIL_WATCHDOG_MS");
    int width = 0, height = 0, bits = 0;
    if (reader.Desktop("WORDRAIL_DESKTOP", width, height, bits)) {
        options.desktopWidth = width;
        options.desktopHeight = height;
        options.desktopBitsPerPixel = bits;
    }
    options.problem = reader.Problem();
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
