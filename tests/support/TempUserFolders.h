#pragma once

#include <optional>
#include <string>

#include "support/TempFolder.h"

// Points XDG_DATA_HOME and XDG_CONFIG_HOME at fresh temporary folders for the
// object's life, then restores them and HOME, so a test may also change HOME. Code that caches folders must be told
// to forget them as well.
class TempUserFolders {
public:
    TempUserFolders();
    TempUserFolders(const TempUserFolders&) = delete;
    TempUserFolders& operator=(const TempUserFolders&) = delete;
    ~TempUserFolders();

    std::string DataHome() const { return root_.Path() + "/data"; }
    std::string ConfigHome() const { return root_.Path() + "/config"; }

private:
    TempFolder root_;
    std::optional<std::string> previousData_;
    std::optional<std::string> previousConfig_;
    std::optional<std::string> previousHome_;
};
