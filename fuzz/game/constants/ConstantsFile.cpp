// A constant file read into the constants store and copied out by XML::Init,
// as the game does at start-up.
#include <cstddef>
#include <cstdint>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "game/constants/GameConstants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Ref<PropertyFile> file = new PropertyFile();
    if (!file->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz")) {
        return 0;
    }
    Defines::Create();
    ClassFactory::Instance().CreateNamedObjects(*file);
    file->Clear();
    XML::ForgetInitForTesting();
    XML::Init();
    Defines::ReleaseInstance();
    return 0;
}
