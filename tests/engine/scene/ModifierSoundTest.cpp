#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "ModifierRunner.h"
#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Section.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/SoundManager.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/SoundNode.h"
#include "platform/SoundMixer.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

namespace {

// A loaded section "sfx" holding "BEEP", a 500 ms sound, played on the
// silent output.
class ModifierSoundTest : public testing::Test {
protected:
    ModifierSoundTest() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        std::filesystem::current_path(folder_.Path());
        std::filesystem::create_directories("media/snd");
        WriteBytes("media/snd/beep.wav", MakeWav(1, 22050, 16, ConstantSamples(11025, 1, 1000)));
        SoundManager::Create(44100, 0, 32, platform::AudioOutput::Null);
        SectionManager::Start();
        SectionManager& manager = *SectionManager::Instance();
        const std::string xml = R"(<root><Sound id="BEEP" file="media/snd/beep.wav"/></root>)";
        const Ref<PropertyFile> definitions(new PropertyFile);
        definitions->LoadFromMemory(xml.data(), xml.size(), "sfx");
        auto* section = new Section("sfx", false);
        for (const Ref<Property>& definition : definitions->Items()) {
            section->AddResource(definition->Name(),
                                 ObjectCast<Resource>(ClassFactory::Instance().Create(definition.Get())));
        }
        manager.AddSection(section);
        manager.SetDeclared();
        while (manager.RequestSection("sfx")) {
            std::this_thread::yield();
        }
        platform::SoundMixer::Instance().TakeJournal();
    }
    ~ModifierSoundTest() override {
        SectionManager::Stop();
        CloseMediaArchive();
        SoundManager::Shutdown();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    static int Plays() {
        int plays = 0;
        for (const std::string& line : platform::SoundMixer::Instance().TakeJournal()) {
            plays += line.rfind("PlaySound", 0) == 0 ? 1 : 0;
        }
        return plays;
    }

    TempUserFolders userFolders_;
    TempFolder folder_;
    std::filesystem::path previous_;
};

TEST_F(ModifierSoundTest, WaitsForTheSoundToPlayOutUnlessToldNotTo) {
    auto* beep = ObjectCast<SoundSample>(SectionManager::Instance()->GetResource("BEEP", "sfx"));
    ASSERT_NE(beep, nullptr);
    const Ref<SoundNode> soundNode(SoundNode::ConstructFromSample(beep));
    const Ref<GameNode> plainNode(new GameNode);
    const struct {
        const char* resource;
        bool noWait;
        GameNode* target;
        int updates;
        int plays;
    } cases[] = {
        {"BEEP", false, plainNode.Get(), 3, 1},  // 500 ms in steps of 200
        {"BEEP", true, plainNode.Get(), 1, 1},
        {"NONE", false, plainNode.Get(), 1, 0},
        // Without its own sound it plays the sound node's, and waits for it.
        {"NONE", false, soundNode.Get(), 3, 1},
        {"NONE", true, soundNode.Get(), 1, 1},
    };
    for (const auto& c : cases) {
        soundNode->StopSound(true);
        Ref<ModifierSound> sound(new ModifierSound(c.resource, "sfx", c.noWait));
        sound->SetTarget(c.target);
        const auto run = RunModifier(*sound, 200, 10, [] { return 0; });
        EXPECT_EQ(run.updates, c.updates) << c.resource << (c.noWait ? " no wait" : "");
        EXPECT_EQ(Plays(), c.plays) << c.resource << (c.noWait ? " no wait" : "");
    }
}

}  // namespace
