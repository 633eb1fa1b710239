#include "platform/UserFolders.h"

#include <cstdlib>

namespace platform {
namespace {

std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string XdgFolder(const char* variable, const char* belowHome) {
    std::string folder = AbsoluteVariable(variable);
    if (!folder.empty()) {
        return folder;
    }
    folder = AbsoluteVariable("HOME");
    return folder.empty() ? folder : folder + belowHome;
}

}  // namespace

std::string DataHomeFolder() {
    return XdgFolder("XDG_DATA_HOME", "/.local/share");
}

std::string ConfigHomeFolder() {
    return XdgFolder("XDG_CONFIG_HOME", "/.config");
}

}  // namespace platform
