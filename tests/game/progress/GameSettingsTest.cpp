#include <gtest/gtest.h>

#include <memory>

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RegistrySettings.h"
#include "game/progress/GameSettings.h"
#include "support/TempUserFolders.h"

namespace {

TEST(GameSettingsTest, HighQualityTravelsThroughTheRegistry) {
    TempUserFolders userFolders;
    RegistrySettings* store = RegistrySettings::Create(std::make_unique<GameSettings>());
    auto& settings = static_cast<GameSettings&>(store->GetSettings());
    EXPECT_TRUE(settings.GetHighQuality());
    settings.SetHighQuality(false);
    store->Save();
    RegistrySettings::Free();

    store = RegistrySettings::Create(std::make_unique<GameSettings>());
    EXPECT_FALSE(static_cast<GameSettings&>(store->GetSettings()).GetHighQuality());
    RegistrySettings::Free();
}

TEST(GameSettingsTest, LoadReadsHighQualityOnlyWhenPresent) {
    struct Case {
        const wchar_t* text;  // null: the key is missing
        bool expected;
    };
    for (const Case& c : {Case{nullptr, true}, Case{L"false", false}, Case{L"0", false}, Case{L"", false},
                          Case{L"1", true}, Case{L"true", true}}) {
        GameSettings settings;
        Ref<PropertyNode> node = new PropertyNode("GameSettngs", "");
        if (c.text != nullptr) {
            node->Add(PropertyValue::FromText("highquality", c.text, true));
        }
        settings.Load(node.Get());
        EXPECT_EQ(settings.GetHighQuality(), c.expected) << (c.text != nullptr ? "present" : "missing");
    }
}

TEST(GameSettingsTest, AssignCopiesEverySetting) {
    GameSettings source;
    source.SetFullScreen(true);
    source.SetUseHardware(false);
    source.SetSoundVolume(12);
    source.SetHighQuality(false);
    GameSettings target;
    target.Assign(source);
    EXPECT_TRUE(target.GetFullScreen());
    EXPECT_FALSE(target.GetUseHardware());
    EXPECT_EQ(target.GetSoundVolume(), 12);
    EXPECT_FALSE(target.GetHighQuality());
}

}  // namespace
