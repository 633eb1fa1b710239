#include "engine/scene/SceneResources.h"

#include "engine/foundation/Defines.h"
#include "engine/foundation/ScopedLock.h"
#include "engine/foundation/SectionManager.h"

Ref<Object> FindResourceData(const std::string& identifier, const std::string& sectionName) {
    SectionManager* manager = SectionManager::Instance();
    if (manager == nullptr) {
        return {};
    }
    const ScopedLock lock(manager->DataLock());
    return Ref<Object>(manager->GetResource(identifier, sectionName));
}

std::wstring LookUpText(const std::string& identifier) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetText(identifier) : std::wstring();
}
