#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
