#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "PngFixture.h"
#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Section.h"
#include "engine/foundation/SectionManager.h"
#include "engine/foundation/ZipFixture.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Font.h"
#include "engine/media/Image.h"
#include "engine/media/MusicStream.h"
#include "engine/media/Sound.h"
#include "engine/media/SoundManager.h"
#include "engine/media/SoundSample.h"
#include "engine/media/WavCacheFile.h"
#include "platform/Files.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

namespace {

using testing::ElementsAre;

std::string Text(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string ReadText(const std::string& path) {
    std::vector<uint8_t> bytes;
    platform::ReadWholeFile(path, bytes);
    return Text(bytes);
}

// Pixels of the test picture: (0,0) (1,0) / (0,1) (1,1).
const std::vector<uint32_t> kPicture{0xFF112233, 0x80445566, 0xFF000000, 0x00FFFFFF};

const char* const kFontDescription =
    "<root><Vector id=\"charset\"><Node id=\"A\"><Integer id=\"w\" value=\"1\"/><Integer id=\"h\" value=\"2\"/>"
    "<Integer id=\"width\" value=\"2\"/></Node></Vector>"
    "<Node id=\"charsetinfo\"><Integer id=\"sidepad\" value=\"1\"/></Node></root>";

// The media of every kind, in the folders the definitions name. The music
// always stays on disk: streams are never read from the archive.
std::map<std::string, std::string> MediaFiles() {
    std::vector<uint8_t> ogg;
    platform::ReadWholeFile(OggFixturePath("tone_mono_22050"), ogg);
    return {
        {"media/pics/pic.png", MakePng(2, 2, kPicture)},
        {"media/pics/mask.png", MakePng(1, 1, {0xFF400000})},
        {"media/pics/opaque.png", MakePng(3, 1, {0xFF102030, 0xFF405060, 0xFF708090})},
        {"media/snd/beep.wav", Text(MakeWav(1, 22050, 16, ConstantSamples(2205, 1, 100)))},
        {"media/snd/tone.ogg", Text(ogg)},
        {"media/fonts/font.png", MakePng(2, 2, kPicture)},
        {"media/fonts/font.xml", kFontDescription},
        {"media/data/data.xml", "<root><Integer id=\"answer\" value=\"42\"/></root>"},
    };
}

void WriteMusic() {
    WriteTestFile("media/music/song.wav", Text(MakeWav(1, 44100, 16, RampSamples(100, 0))));
    WriteTestFile("media/music/song.xml",
                  "<root><Vector id=\"SyncPoints\"><Node id=\"a\" value=\"10\"/><Node id=\"b\" value=\"20\"/>"
                  "</Vector></root>");
}

const char* const kDefinitions = R"(<root>
  <Image id="PIC" file="media/pics/pic.png" nrofframes="2" usealphachannel="false"/>
  <Image id="MASKED" file="media/pics/pic.png" mask="media/pics/mask.png"/>
  <Image id="OPAQUE" file="media/pics/opaque.png"/>
  <Image id="ONLYMASK" mask="media/pics/pic.png" color="#0000FF"/>
  <Sound id="BEEP" file="media/snd/beep.wav" volumemultiplier="1.5"/>
  <Sound id="TONE" file="Media/Snd/TONE.OGG"/>
  <Stream id="SONG" file="media/music/song.wav" syncpointsfile="media/music/song.xml" panning="300"/>
  <Font id="FONT" file="media/fonts/font.png" format="media/fonts/font.xml"/>
  <Xmlfile id="DATA" file="media/data/data.xml"/>
</root>)";

// Runs in a fresh current folder with fresh user folders, a sound manager on
// the null output and a running loader.
class ResourceKindsTest : public testing::Test {
protected:
    ResourceKindsTest() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        std::filesystem::current_path(folder_.Path());
        SoundManager::Create(44100, 0, 32, platform::AudioOutput::Null);
        SectionManager::Start();
        manager_ = SectionManager::Instance();
    }
    ~ResourceKindsTest() override {
        SectionManager::Stop();
        CloseMediaArchive();
        SoundManager::Shutdown();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    // Declares a section of the resources defined in `xml` (built by their
    // element names through the class registry) and lets the loader load it.
    Section* LoadSection(const std::string& name, const std::string& xml) {
        const Ref<PropertyFile> definitions(new PropertyFile);
        EXPECT_TRUE(definitions->LoadFromMemory(xml.data(), xml.size(), name));
        auto* section = new Section(name, false);
        for (const Ref<Property>& definition : definitions->Items()) {
            auto* resource = ObjectCast<Resource>(ClassFactory::Instance().Create(definition.Get()));
            EXPECT_NE(resource, nullptr) << definition->TypeName();
            section->AddResource(definition->Name(), resource);
        }
        manager_->AddSection(section);
        manager_->SetDeclared();
        while (manager_->RequestSection(name)) {
            std::this_thread::yield();
        }
        return section;
    }

    template <typename T>
    T* Data(const std::string& id, const std::string& section) {
        return ObjectCast<T>(manager_->GetResource(id, section));
    }

    void TurnOggToWavOff() {
        WriteTestFile("resources.xml", "<root><Node id=\"ResourceDefaults\" oggtowav=\"false\"/></root>");
        manager_->AddDefinitionFile("resources.xml");
        manager_->LoadSections();
    }

    TempUserFolders userFolders_;
    TempFolder folder_;
    std::filesystem::path previous_;
    SectionManager* manager_ = nullptr;
};

void ExpectEveryKindLoaded(ResourceKindsTest& test, const std::function<Object*(const char*)>& data) {
    static_cast<void>(test);
    const auto* picture = ObjectCast<Surface>(data("PIC"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Pixels32()[0], 0xFF112233u);
    EXPECT_EQ(picture->GetFrameCount(), 2u);
    EXPECT_FALSE(picture->UsesAlphaChannel());
    EXPECT_TRUE(picture->IsDirty());

    // The mask is smaller than the picture: only its own rectangle changes.
    const auto* masked = ObjectCast<Surface>(data("MASKED"));
    ASSERT_NE(masked, nullptr);
    EXPECT_EQ(masked->Pixels32()[0], 0x40112233u);
    EXPECT_EQ(masked->Pixels32()[1], 0x80445566u);
    EXPECT_TRUE(masked->UsesAlphaChannel());

    // Only a picture whose every alpha byte is 255 is known opaque, until it may be drawn on.
    EXPECT_FALSE(picture->IsKnownOpaque());
    EXPECT_FALSE(masked->IsKnownOpaque());
    auto* opaque = ObjectCast<Surface>(data("OPAQUE"));
    ASSERT_NE(opaque, nullptr);
    EXPECT_TRUE(opaque->IsKnownOpaque());
    opaque->CreateCanvas();
    EXPECT_FALSE(opaque->IsKnownOpaque());

    // A mask alone: the colour everywhere, the alpha from the file's red channel.
    const auto* onlyMask = ObjectCast<Surface>(data("ONLYMASK"));
    ASSERT_NE(onlyMask, nullptr);
    EXPECT_EQ(onlyMask->Pixels32()[0], 0x110000FFu);
    EXPECT_EQ(onlyMask->Pixels32()[1], 0x440000FFu);
    EXPECT_EQ(onlyMask->Pixels32()[3], 0xFF0000FFu);

    const auto* beep = ObjectCast<SoundSample>(data("BEEP"));
    ASSERT_NE(beep, nullptr);
    EXPECT_NE(beep->Handle(), 0u);
    EXPECT_EQ(beep->GetSampleLengthMs(), 100u);
    EXPECT_FLOAT_EQ(beep->VolumeMultiplier(), 1.5f);

    const auto* tone = ObjectCast<SoundSample>(data("TONE"));
    ASSERT_NE(tone, nullptr);
    EXPECT_NE(tone->Handle(), 0u);
    EXPECT_EQ(tone->GetSampleLengthMs(), 249u);
    EXPECT_FLOAT_EQ(tone->VolumeMultiplier(), 255.0f);

    const auto* song = ObjectCast<MusicStream>(data("SONG"));
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->GetFileName(), "media/music/song.wav");
    EXPECT_EQ(song->GetPan(), 44);
    EXPECT_THAT(song->GetSyncPoints(), ElementsAre(10, 20));

    const auto* font = ObjectCast<BitmapFont>(data("FONT"));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetTextWidth(L"AA", 0, 2, false), 6);

    const auto* tree = ObjectCast<PropertyFile>(data("DATA"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(Property::AsInt(Property::Child(tree, "answer")), 42);
}

TEST_F(ResourceKindsTest, EveryKindLoadsFromLooseFilesAndFromTheArchive) {
    for (const auto& [path, bytes] : MediaFiles()) {
        WriteTestFile(path, bytes);
    }
    WriteMusic();
    Section* loose = LoadSection("loose", kDefinitions);
    ExpectEveryKindLoaded(*this, [&](const char* id) { return manager_->GetResource(id, "loose"); });
    for (const char* id : {"PIC", "MASKED", "ONLYMASK", "BEEP", "TONE", "SONG", "FONT", "DATA"}) {
        EXPECT_FALSE(loose->FindResource(id)->HasError()) << id;
    }
    // The Ogg sound was converted once into the cache, named after its whole path.
    const std::string cache = Sound::WavCacheName("media/snd/tone.ogg");
    EXPECT_NE(cache.find("media_2_snd_2_tone_new.wav"), std::string::npos);
    EXPECT_EQ(ReadText(cache).substr(0, 4), "RIFF");

    // From the archive, with the loose copies gone and the cache deleted: the
    // Ogg sound inside the archive is not converted and plays as declared,
    // which is no failure.
    std::vector<ZipMember> members;
    for (const auto& [path, bytes] : MediaFiles()) {
        members.push_back({path, bytes});
        std::filesystem::remove(path);
    }
    std::filesystem::remove(cache);
    ASSERT_TRUE(WriteZip("media.dat", members));
    OpenMediaArchive(LoadMode::File, "");
    testing::internal::CaptureStderr();
    Section* archived = LoadSection("archived", kDefinitions);
    const std::string log = testing::internal::GetCapturedStderr();
    ExpectEveryKindLoaded(*this, [&](const char* id) { return manager_->GetResource(id, "archived"); });
    for (const char* id : {"PIC", "MASKED", "ONLYMASK", "BEEP", "TONE", "FONT", "DATA"}) {
        EXPECT_FALSE(archived->FindResource(id)->HasError()) << id;
    }
    EXPECT_EQ(log, "");
    EXPECT_FALSE(platform::FileExists(cache));
}

TEST_F(ResourceKindsTest, MissingOrDamagedFilesLeaveResourcesWithoutData) {
    WriteTestFile("media/bad.png", "\x89PNG\r\n\x1a\n this is not a picture");
    WriteTestFile("media/garbage.png", "neither PNG nor JPEG");
    WriteTestFile("media/bad.wav", "RIFF....WAVEjunk");
    WriteTestFile("media/bad.xml", "<root><Integer");
    WriteTestFile("media/font.png", MakePng(2, 2, kPicture));
    testing::internal::CaptureStderr();
    Section* section = LoadSection("broken", R"(<root>
      <Image id="MISSING_IMAGE" file="media/none.png"/>
      <Image id="BAD_IMAGE" file="media/bad.png"/>
      <Image id="GARBAGE_IMAGE" file="media/garbage.png"/>
      <Image id="NO_FILE"/>
      <Image id="BAD_MASK" file="media/font.png" mask="media/none.png"/>
      <Sound id="MISSING_SOUND" file="media/none.wav"/>
      <Sound id="BAD_SOUND" file="media/bad.wav"/>
      <Sound id="MISSING_OGG" file="media/none.ogg"/>
      <Stream id="MISSING_STREAM" file="media/none.ogg" syncpointsfile="media/none.xml"/>
      <Font id="NO_FORMAT" file="media/font.png" size="12" attached="media/x.xml"/>
      <Font id="MISSING_FORMAT" file="media/font.png" format="media/none.xml"/>
      <Xmlfile id="BAD_XML" file="media/bad.xml"/>
    </root>)");
    const std::string log = testing::internal::GetCapturedStderr();
    // Each line names the file and says what became of it.
    for (const char* line : {"PNG image \"media/bad.png\" not decoded", "JPEG image \"media/garbage.png\" not decoded",
                             "image \"media/garbage.png\" is missing or not a PNG or JPEG picture"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
    struct Case {
        const char* id;
        bool error;
    };
    const Case cases[] = {
        {"MISSING_IMAGE", true}, {"BAD_IMAGE", true},      {"GARBAGE_IMAGE", true},  {"NO_FILE", true},
        {"BAD_MASK", false},
        {"MISSING_SOUND", true}, {"BAD_SOUND", true},      {"MISSING_OGG", true},    {"MISSING_STREAM", false},
        {"NO_FORMAT", true},     {"MISSING_FORMAT", true}, {"BAD_XML", false},
    };
    for (const Case& c : cases) {
        const Resource* resource = section->FindResource(c.id);
        ASSERT_NE(resource, nullptr) << c.id;
        EXPECT_TRUE(resource->IsLoaded()) << c.id;
        EXPECT_EQ(resource->HasError(), c.error) << c.id;
    }
    for (const char* id : {"MISSING_IMAGE", "BAD_IMAGE", "NO_FILE", "NO_FORMAT", "MISSING_FORMAT"}) {
        EXPECT_EQ(manager_->GetResource(id, "broken"), nullptr) << id;
    }
    EXPECT_NE(Data<Surface>("BAD_MASK", "broken"), nullptr);  // the picture stays, without the mask
    EXPECT_EQ(Data<SoundSample>("BAD_SOUND", "broken")->Handle(), 0u);
    EXPECT_EQ(Data<MusicStream>("MISSING_STREAM", "broken")->GetFileName(), "");
    EXPECT_EQ(Data<PropertyFile>("BAD_XML", "broken")->Count(), 0);
}

TEST_F(ResourceKindsTest, TheWavCacheIsRebuiltWhenEmptyAndReusedOtherwise) {
    std::vector<uint8_t> ogg;
    ASSERT_TRUE(platform::ReadWholeFile(OggFixturePath("tone_mono_22050"), ogg));
    WriteTestFile("media/a/click.ogg", Text(ogg));
    const std::string cache = Sound::WavCacheName("media/a/click.ogg");
    EXPECT_NE(cache, Sound::WavCacheName("media/b/click.ogg"));
    MakeDirectoryChain(GetGameTempFolder());

    // An empty cache (an interrupted conversion) is made again.
    WriteTestFile(cache, "");
    LoadSection("first", R"(<root><Sound id="CLICK" file="media/a/click.ogg"/></root>)");
    EXPECT_EQ(Data<SoundSample>("CLICK", "first")->GetSampleLengthMs(), 249u);
    const std::string built = ReadText(cache);
    ASSERT_GT(built.size(), 66u);
    EXPECT_EQ(built.substr(36, 10), std::string("dep \x0e\0\0\0\x04\0", 10));

    // A non-empty cache is used as it is, even when the Ogg file is newer.
    WriteTestFile(cache, Text(MakeWav(1, 44100, 16, ConstantSamples(441, 1, 5))));
    WriteTestFile("media/a/click.ogg", Text(ogg));
    LoadSection("second", R"(<root><Sound id="CLICK" file="media/a/click.ogg"/></root>)");
    EXPECT_EQ(Data<SoundSample>("CLICK", "second")->GetSampleLengthMs(), 10u);

    // A cache that does not play falls back to the Ogg file.
    WriteTestFile(cache, "RIFF junk that is no sound");
    Section* third = LoadSection("third", R"(<root><Sound id="CLICK" file="media/a/click.ogg"/></root>)");
    EXPECT_EQ(Data<SoundSample>("CLICK", "third")->GetSampleLengthMs(), 249u);
    EXPECT_FALSE(third->FindResource("CLICK")->HasError());
}

TEST_F(ResourceKindsTest, WithoutConversionOrWithoutSoundTheOggIsNotConverted) {
    std::vector<uint8_t> ogg;
    ASSERT_TRUE(platform::ReadWholeFile(OggFixturePath("tone_mono_22050"), ogg));
    WriteTestFile("media/click.ogg", Text(ogg));
    const std::string cache = Sound::WavCacheName("media/click.ogg");
    TurnOggToWavOff();
    LoadSection("direct", R"(<root><Sound id="CLICK" file="media/click.ogg"/></root>)");
    EXPECT_EQ(Data<SoundSample>("CLICK", "direct")->GetSampleLengthMs(), 249u);
    EXPECT_FALSE(platform::FileExists(cache));

    SoundManager::Shutdown();
    SoundManager::Create(44100, 0, 32, platform::AudioOutput::Off);
    SectionManager::Stop();
    SectionManager::Start();
    manager_ = SectionManager::Instance();
    Section* silent = LoadSection("silent", R"(<root><Sound id="CLICK" file="media/click.ogg"/></root>)");
    EXPECT_FALSE(silent->FindResource("CLICK")->HasError());
    EXPECT_EQ(Data<SoundSample>("CLICK", "silent")->Handle(), 0u);
    EXPECT_FALSE(platform::FileExists(cache));
}

TEST(WavCacheFileTest, HeaderIsByteExact) {
    const platform::Pcm pcm{2, 22050, {1, -2, 0x1234, 0}};
    const std::vector<uint8_t> file = BuildWavCacheFile(pcm, 0x0102030405060708ull);
    const std::vector<uint8_t> expected{
        'R', 'I', 'F', 'F', 66 + 8 - 8, 0, 0, 0, 'W', 'A', 'V', 'E',                   // size: 74 - 8
        'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2, 0,                                  // PCM, 2 channels
        0x22, 0x56, 0, 0, 0x88, 0x58, 0x01, 0, 4, 0, 16, 0,                           // 22050, 88200, 4, 16
        'd', 'e', 'p', ' ', 14, 0, 0, 0, 4, 0, 't', 'e', 's', 't',                    // label
        8, 7, 6, 5, 4, 3, 2, 1,                                                       // source time
        'd', 'a', 't', 'a', 8, 0, 0, 0, 1, 0, 0xFE, 0xFF, 0x34, 0x12, 0, 0,          // samples
    };
    EXPECT_EQ(file, expected);
}

TEST(ResourceIsFileTest, KindsCompareWhatTheyRead) {
    const auto make = [](const std::string& xml) {
        const Ref<PropertyFile> definitions(new PropertyFile);
        definitions->LoadFromMemory(xml.data(), xml.size(), "test");
        return Ref<Resource>(ObjectCast<Resource>(ClassFactory::Instance().Create(definitions->Items()[0].Get())));
    };
    const Ref<Resource> image = make(R"(<root><Image id="a" file="x.png" mask="m.png" color="5"/></root>)");
    const Ref<Resource> font = make(R"(<root><Font id="f" file="x.png" format="f.xml"/></root>)");
    const Ref<Resource> sound = make(R"(<root><Sound id="s" file="x.png"/></root>)");
    struct Case {
        const char* name;
        const Resource& a;
        Ref<Resource> b;
        bool same;
    };
    const Case cases[] = {
        {"image, same keys", *image, make(R"(<root><Image id="b" file="X.PNG" mask="m.png" color="5"/></root>)"), true},
        {"image, other mask", *image, make(R"(<root><Image id="b" file="x.png" mask="n.png" color="5"/></root>)"),
         false},
        {"image, other colour", *image, make(R"(<root><Image id="b" file="x.png" mask="m.png"/></root>)"), false},
        {"image against a sound", *image, sound, false},
        {"sound against an image", *sound, image, true},
        {"font, same format", *font, make(R"(<root><Font id="g" file="x.png" format="f.xml" color="3"/></root>)"),
         true},
        {"font, other format", *font, make(R"(<root><Font id="g" file="x.png" format="g.xml"/></root>)"), false},
        {"font against an image", *font, make(R"(<root><Image id="b" file="x.png"/></root>)"), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a.IsFile(*c.b), c.same) << c.name;
    }
}

}  // namespace
