#pragma once

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/SceneManager.h"
#include "game/constants/GameConstants.h"

// What start-up makes before its first scene, read from the generated media
// (a GeneratedMediaSession must be open): the constants and the objects they
// name, the tuning values, the dialog table, the scene manager and an empty
// player list. They go in the reverse order, so each is gone before what it
// was made from.
class GameServicesSession {
public:
    GameServicesSession() {
        Defines::Create();
        const Ref<PropertyFile> constants = new PropertyFile({
            "media/properties/default.xml",      "media/properties/assets.xml",
            "media/properties/dynamic.xml",      "media/properties/text.xml",
            "media/properties/names.xml",        "media/properties/letterfreqs.xml",
            "media/properties/gamesettings.xml", "media/properties/rankings.xml",
        });
        constants->Load();
        ClassFactory::Instance().CreateNamedObjects(*constants);
        XML::Init();
        DialogTable::Create("media/properties/dialogs.xml");
        SceneManager::Create();
        Players::Create("", false);
    }

    ~GameServicesSession() {
        Players::Free();
        SceneManager::ReleaseInstance();
        DialogTable::ReleaseInstance();
        XML::ForgetInitForTesting();
        Defines::ReleaseInstance();
    }

    GameServicesSession(const GameServicesSession&) = delete;
    GameServicesSession& operator=(const GameServicesSession&) = delete;
};
