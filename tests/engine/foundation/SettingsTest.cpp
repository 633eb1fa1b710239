#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RegistrySettings.h"
#include "engine/foundation/RegistryValues.h"
#include "engine/foundation/SavedFile.h"
#include "platform/Backend.h"
#include "platform/Files.h"
#include "platform/RegistryStore.h"
#include "platform/headless/HeadlessBackend.h"
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

// Writes `content` at the store's path, making the folders as needed.
void WriteStoreFile(const std::string& content) {
    const std::string path = platform::RegistryFilePath();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(platform::WriteFileAtomically(path, content.data(), content.size()));
}

// Settings that cannot be saved are also told in the message box, as other
// failures to save are.
TEST_F(SettingsTest, SettingsThatCannotBeReadOrSavedAreLoggedAndNeverReplacedByDefaults) {
    auto backend = std::make_unique<platform::HeadlessBackend>();
    const platform::HeadlessBackend& shown = *backend;
    platform::SetActiveBackend(std::move(backend));
    const std::string key = MakeGameRegistryPath();
    const std::string damaged = "; registry store v1\n[" + key + "]\n\"musicvolume\"=dword:00000028\n\x01\xFE garbage\n\"sound";
    const struct {
        const char* name;
        std::function<void()> prepare;
        const char* loadLine;
        const char* saveLine;  // empty when the settings are saved
        uint32_t musicVolume;
    } cases[] = {
        {"damaged", [&] { WriteStoreFile(damaged); }, "is damaged: 2 lines could not be read and are dropped; the file is kept as",
         "", 40},
        {"a folder in its place", [] { std::filesystem::create_directories(platform::RegistryFilePath()); },
         "could not be read: it is left as it is, and settings are not saved this run", "Settings could not be saved to",
         255},
        {"its folder cannot be made",
         [] {
             const std::filesystem::path folder = std::filesystem::path(platform::RegistryFilePath()).parent_path();
             std::filesystem::create_directories(folder.parent_path());
             const std::string notAFolder = folder.string();
             ASSERT_TRUE(platform::WriteFileAtomically(notAFolder, "x", 1));
         },
         "", "Settings could not be saved to", 255},
    };
    for (const auto& c : cases) {
        TempUserFolders folders;
        ForgetReportedSaveFailureForTesting();
        const size_t boxesBefore = shown.MessageBoxes().size();
        c.prepare();
        testing::internal::CaptureStderr();
        RegistrySettings& store = *RegistrySettings::Create(DefaultSettings());
        const std::string loadLog = testing::internal::GetCapturedStderr();
        EXPECT_EQ(store.GetSettings().GetMusicVolume(), c.musicVolume) << c.name;
        if (*c.loadLine != '\0') {
            EXPECT_NE(loadLog.find(c.loadLine), std::string::npos) << c.name << ": " << loadLog;
            EXPECT_NE(loadLog.find(platform::RegistryFilePath()), std::string::npos) << c.name;
        } else {
            EXPECT_EQ(loadLog, "") << c.name;
        }
        store.GetSettings().SetSoundVolume(7);
        testing::internal::CaptureStderr();
        store.Save();
        const std::string saveLog = testing::internal::GetCapturedStderr();
        if (*c.saveLine != '\0') {
            EXPECT_NE(saveLog.find(c.saveLine), std::string::npos) << c.name << ": " << saveLog;
            ASSERT_EQ(shown.MessageBoxes().size(), boxesBefore + 1) << c.name;
            const std::string& box = shown.MessageBoxes().back();
            EXPECT_NE(box.find("the settings could not be written"), std::string::npos) << c.name << ": " << box;
            EXPECT_NE(box.find("Quelt/registry.txt"), std::string::npos) << c.name << ": " << box;
        } else {
            EXPECT_EQ(shown.MessageBoxes().size(), boxesBefore) << c.name;
            EXPECT_EQ(saveLog, "") << c.name;
            RegistryDword sound(key + "\\soundvolume", false, 0);
            EXPECT_EQ(sound.Read(), 7u) << c.name;
            std::vector<uint8_t> copy;
            ASSERT_TRUE(platform::ReadWholeFile(platform::RegistryFilePath() + ".damaged-1", copy)) << c.name;
            EXPECT_EQ(std::string(copy.begin(), copy.end()), damaged) << c.name;
        }
        RegistrySettings::Free();
    }
    platform::SetActiveBackend(nullptr);
}

}  // namespace
