#include "support/TempUserFolders.h"

#include <sys/stat.h>

#include <cstdlib>

namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void Restore(const char* name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name, value->c_str(), 1);
    } else {
        ::unsetenv(name);
    }
}

}  // namespace

TempUserFolders::TempUserFolders()
    : previousData_(Variable("XDG_DATA_HOME")), previousConfig_(Variable("XDG_CONFIG_HOME")),
      previousHome_(Variable("HOME")) {
    ::mkdir(DataHome().c_str(), 0755);
    ::mkdir(ConfigHome().c_str(), 0755);
    ::setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
}

TempUserFolders::~TempUserFolders() {
    Restore("XDG_DATA_HOME", previousData_);
    Restore("XDG_CONFIG_HOME", previousConfig_);
    Restore("HOME", previousHome_);
}
