#pragma once

#include <filesystem>
#include <initializer_list>
#include <thread>

#include "engine/foundation/Archive.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/SectionManager.h"

// This build's generated media, opened from the build folder with the named
// sections loaded; closing it stops the loader and returns to the folder the
// test started in.
class GeneratedMediaSession {
public:
    explicit GeneratedMediaSession(std::initializer_list<const char*> sections)
        : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        std::filesystem::current_path(WORDRAIL_BUILD_DIR);
        OpenMediaArchive(LoadMode::File, "");
        SectionManager::Start();
        SectionManager* manager = SectionManager::Instance();
        manager->AddDefinitionFile("media/properties/resources.xml");
        manager->LoadSections();
        manager->SetDeclared();
        for (const char* section : sections) {
            while (manager->RequestSection(section)) {
                std::this_thread::yield();
            }
        }
    }

    ~GeneratedMediaSession() {
        SectionManager::Stop();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    GeneratedMediaSession(const GeneratedMediaSession&) = delete;
    GeneratedMediaSession& operator=(const GeneratedMediaSession&) = delete;

private:
    std::filesystem::path previous_;
};
