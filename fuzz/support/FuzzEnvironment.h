#pragma once

// What the targets that read the game's own files share: a scratch folder
// that stands in for the program's and the player's folders, and the game's
// constants read from the source tree's media, as the game reads them.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/PropertyFile.h"

namespace fuzz_environment {

// Makes a scratch folder the home of the user folders, so whatever a reader
// writes lands there; it is deleted at exit.
inline const std::string& EnterScratchFolder() {
    static std::string path;
    if (path.empty()) {
        char folder[] = "/tmp/wordrailfuzz.XXXXXX";
        if (mkdtemp(folder) == nullptr) {
            std::abort();
        }
        path = folder;
        setenv("XDG_DATA_HOME", folder, 1);
        setenv("XDG_CONFIG_HOME", folder, 1);
        std::atexit([] { DeleteFolderTree(path); });
    }
    return path;
}

// The scratch folder is the current one while this lives, for readers of
// files named from the program's folder. The fuzzer's own folder stays the
// current one otherwise: its corpus and crash files are named from there.
class InScratchFolder {
public:
    InScratchFolder() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(EnterScratchFolder());
    }
    ~InScratchFolder() { std::filesystem::current_path(previous_); }
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;

private:
    std::filesystem::path previous_;
};

// A file of the source tree, named from its root.
inline std::string SourceFile(const std::string& name) {
    return std::string(WORDRAIL_SOURCE_DIR) + "/" + name;
}

// Copies a file of the source tree to a name under the scratch folder.
inline void CopyIntoScratch(const std::string& sourceName, const std::string& scratchName) {
    const std::filesystem::path target = std::filesystem::path(EnterScratchFolder()) / scratchName;
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy_file(SourceFile(sourceName), target, std::filesystem::copy_options::overwrite_existing);
}

// The constant files of the source tree, as the game reads them at start-up.
inline const std::vector<std::string>& ConstantFiles() {
    static const std::vector<std::string> files = {
        SourceFile("media/properties/default.xml"), SourceFile("media/properties/assets.xml"),
        SourceFile("media/properties/dynamic.xml"), SourceFile("media/properties/text.xml"),
        SourceFile("media/properties/names.xml"),   SourceFile("media/properties/gamesettings.xml"),
        SourceFile("media/properties/rankings.xml"),
    };
    return files;
}

// Reads constant files into a fresh constants store.
inline void DefineConstants(const std::vector<std::string>& files) {
    Defines::Create();
    const Ref<PropertyFile> constants = new PropertyFile(files);
    if (!constants->Load()) {
        std::abort();
    }
    ClassFactory::Instance().CreateNamedObjects(*constants);
}

}  // namespace fuzz_environment
