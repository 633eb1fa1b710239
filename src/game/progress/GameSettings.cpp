#include "game/progress/GameSettings.h"

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

GameSettings::GameSettings() : Settings(false, true, true, true, 255, 255) {}

void GameSettings::Save(Property* node) const {
    Settings::Save(node);
    Property::NodeOf(node).SetBool("highquality", GetHighQuality(), false);
}

void GameSettings::Load(const Property* node) {
    Settings::Load(node);
    if (const Property* value = Property::Child(node, "highquality")) {
        // The registry hands a saved switch back as the number 0 or 1, so "0"
        // is off as well as "false".
        const std::wstring& text = Property::AsText(value);
        SetHighQuality(!text.empty() && text != L"false" && text != L"0");
    }
}

void GameSettings::Assign(const Settings& other) {
    Settings::Assign(other);
    if (const auto* game = dynamic_cast<const GameSettings*>(&other)) {
        SetHighQuality(game->GetHighQuality());
    }
}
