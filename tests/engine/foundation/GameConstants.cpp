#include "GameConstants.h"

#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/Ref.h"

void UseTestGameConstants() {
    if (!GetGameName().empty() && !GetGameId().empty()) {
        return;
    }
    Defines& defines = Defines::Create();
    defines.StoreString(Ref<PropertyValue>(new PropertyValue("GAME_NAME", "String", L"TestGame")).Get());
    defines.StoreString(Ref<PropertyValue>(new PropertyValue("GAME_ID", "String", L"TestId")).Get());
    GetGameName();
    GetGameId();
    Defines::ReleaseInstance();
}
