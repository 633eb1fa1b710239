// The dialog table read from a definition file, and every dialog, scene,
// transition and named object it defines built through the class registry,
// on a headless window with the game's constants, as the game builds them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/PropertyFile.h"
#include "engine/media/GameWindow.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"
#include "platform/Backend.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/FuzzEnvironment.h"

namespace {

std::vector<std::string> NamesOfNodes(Property* scope) {
    std::vector<std::string> names;
    for (const Ref<Property>& child : Property::NodeOf(scope).IndexOrder()) {
        if (child->GetKind() == Property::kNode) {
            names.push_back(child->Name());
        }
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_environment::EnterScratchFolder();
    fuzz_environment::DefineConstants(fuzz_environment::ConstantFiles());
    XML::Init();
    platform::SetActiveBackend(std::make_unique<platform::HeadlessBackend>());
    GameWindow::Create("fuzz", 800, 600, false, 0, 102);
    SceneManager::Create();
    // Before the platform's own statics go, as the game lets go of them.
    std::atexit([] {
        SceneManager::ReleaseInstance();
        GameWindow::DestroyInstance();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz_environment::EnterScratchFolder() + "/dialogs.xml";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    // The names the table defines, read as the table reads them.
    const Ref<PropertyFile> file = new PropertyFile({path});
    file->SetCondenseWhiteSpace(true);
    if (!file->Load()) {
        return 0;
    }
    const DialogTable& table = *DialogTable::Create(path);
    for (const std::string& name : NamesOfNodes(Property::Child(file.Get(), "dialogs"))) {
        const Ref<Object> built(table.CreateDialog(name));
    }
    for (const std::string& name : NamesOfNodes(file.Get())) {
        const Ref<Object> built(table.CreateObject(name));
    }
    DialogTable::ReleaseInstance();
    return 0;
}
