#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RegistrySettings.h"
#include "engine/foundation/RegistryValues.h"
#include "platform/RegistryStore.h"
#include "support/TempUserFolders.h"

namespace {

std::unique_ptr<Settings> DefaultSettings() {
    return std::make_unique<Settings>(false, true, true, true, 255, 255);
}

class SettingsTest : public ::testing::Test {
protected:
    void TearDown() override { RegistrySettings::Free(); }

    static void StoreDword(const std::string& name, uint32_t number) {
        platform::RegistryValue value;
        value.name = name;
        value.type = platform::RegistryType::Dword;
        value.dword = number;
        ASSERT_TRUE(platform::RegistryWrite(MakeGameRegistryPath(), value));
    }
    static void StoreString(const std::string& name, const std::string& text) {
        platform::RegistryValue value;
        value.name = name;
        value.type = platform::RegistryType::String;
        value.text = text;
        ASSERT_TRUE(platform::RegistryWrite(MakeGameRegistryPath(), value));
    }
    static ino_t StoreFileIdentity() {
        struct stat info {};
        EXPECT_EQ(::stat(platform::RegistryFilePath().c_str(), &info), 0);
        return info.st_ino;
    }

    TempUserFolders userFolders_;
};

TEST_F(SettingsTest, AnEmptyStoreKeepsTheDefaultsAndClearsShutdownCorrect) {
    const RegistrySettings& store = *RegistrySettings::Create(DefaultSettings());
    const Settings& settings = store.GetSettings();
    EXPECT_FALSE(settings.GetFullScreen());
    EXPECT_TRUE(settings.GetFullScreenWarning());
    EXPECT_TRUE(settings.GetUseHardware());
    EXPECT_TRUE(settings.GetUseHints());
    EXPECT_EQ(settings.GetSoundVolume(), 255);
    EXPECT_EQ(settings.GetMusicVolume(), 255);
    EXPECT_FALSE(store.ShutdownCorrect());
    EXPECT_FALSE(store.DontUseRegistry());
    EXPECT_FALSE(store.FatalError());
    EXPECT_EQ(store.GetKeyPath(), MakeGameRegistryPath());
}

TEST_F(SettingsTest, StoredValuesOverrideTheDefaultsWhateverTheirStoredType) {
    StoreDword("fullscreen", 1);
    StoreDword("usehints", 0);
    StoreString("soundvolume", "1");
    StoreDword("musicvolume", 17);
    StoreString("somethingelse", "ignored");
    const Settings& settings = RegistrySettings::Create(DefaultSettings())->GetSettings();
    EXPECT_TRUE(settings.GetFullScreen());
    EXPECT_FALSE(settings.GetUseHints());
    EXPECT_EQ(settings.GetSoundVolume(), 1);
    EXPECT_EQ(settings.GetMusicVolume(), 17);
    EXPECT_TRUE(settings.GetUseHardware());
}

TEST_F(SettingsTest, AStoredTextWithoutANumberKeepsTheDefault) {
    StoreString("usehardware", "yes");
    StoreString("soundvolume", "loud");
    StoreString("musicvolume", "#1F");
    StoreString("usehints", " 0");
    const Settings& settings = RegistrySettings::Create(DefaultSettings())->GetSettings();
    EXPECT_TRUE(settings.GetUseHardware());
    EXPECT_EQ(settings.GetSoundVolume(), 255);
    EXPECT_EQ(settings.GetMusicVolume(), 31);
    EXPECT_FALSE(settings.GetUseHints());
}

TEST_F(SettingsTest, ARunThatDidNotEndCorrectlyStartsInAWindow) {
    StoreDword("fullscreen", 1);
    StoreString("shutdowncorrect", "false");
    const Settings& settings = RegistrySettings::Create(DefaultSettings())->GetSettings();
    EXPECT_FALSE(settings.GetFullScreen());
}

TEST_F(SettingsTest, SaveStoresSwitchesAndVolumesAsNumbersAndWritesOnlyChanges) {
    RegistrySettings& store = *RegistrySettings::Create(DefaultSettings());
    store.GetSettings().SetFullScreen(true);
    store.GetSettings().SetMusicVolume(40);
    store.Save();

    const std::string key = MakeGameRegistryPath();
    for (const auto& [name, expected] : {std::pair{"fullscreen", 1u}, {"fullscreenwarning", 1u},
                                         {"usehardware", 1u}, {"usehints", 1u}, {"soundvolume", 255u},
                                         {"musicvolume", 40u}}) {
        platform::RegistryValue value;
        ASSERT_TRUE(platform::RegistryRead(key, name, value)) << name;
        EXPECT_EQ(value.type, platform::RegistryType::Dword) << name;
        EXPECT_EQ(value.dword, expected) << name;
    }

    const ino_t afterFirstSave = StoreFileIdentity();
    store.Save();
    EXPECT_EQ(StoreFileIdentity(), afterFirstSave) << "an unchanged save rewrote the store";

    store.GetSettings().SetUseHints(false);
    store.Save();
    RegistryDword hints(key + "\\usehints", false, 7);
    EXPECT_EQ(hints.Read(), 0u);
}

TEST_F(SettingsTest, SavedSettingsLoadBackIntoAFreshStore) {
    RegistrySettings& store = *RegistrySettings::Create(DefaultSettings());
    store.GetSettings().SetFullScreenWarning(false);
    store.GetSettings().SetSoundVolume(3);
    store.Save();
    RegistrySettings::Free();

    const Settings& settings = RegistrySettings::Create(DefaultSettings())->GetSettings();
    EXPECT_FALSE(settings.GetFullScreenWarning());
    EXPECT_EQ(settings.GetSoundVolume(), 3);
}

TEST_F(SettingsTest, FlagsTravelAsAttributesAndReadTrueUnlessEmptyOrFalse) {
    RegistrySettings& store = *RegistrySettings::Create(DefaultSettings());
    Ref<PropertyNode> node = new PropertyNode("flags", "");
    store.SaveFlags(node.Get());
    EXPECT_TRUE(Property::Child(node.Get(), "shutdowncorrect")->IsUntypedValue());
    EXPECT_NE(Property::Child(node.Get(), "fullscreen"), nullptr);

    struct Case {
        const wchar_t* text;
        bool expected;
    };
    for (const Case& c : {Case{L"false", false}, Case{L"", false}, Case{L"0", true}, Case{L"true", true}}) {
        Ref<PropertyNode> flags = new PropertyNode("flags", "");
        flags->Add(PropertyValue::FromText("fatalerror", c.text, true));
        store.LoadFlags(flags.Get());
        EXPECT_EQ(store.FatalError(), c.expected) << "text \"" << c.text << "\"";
    }
}

}  // namespace
