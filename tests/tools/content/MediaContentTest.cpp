#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/DataBuffer.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Paths.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/ImageDecoding.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/Surface.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Button.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/SceneTransition.h"
#include "engine/ui/ToolTip.h"
#include "game/words/WordList.h"
#include "mediagen/WordFile.h"
#include "mediagen/MediaTree.h"
#include "platform/Files.h"
#include "platform/SampleDecoding.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

// The media this build generated, read back through the program's readers.
namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;

Bytes Loose(const std::string& path) {
    Bytes bytes;
    EXPECT_TRUE(platform::ReadWholeFile(kBuild + "/" + path, bytes)) << path;
    return bytes;
}

Ref<PropertyFile> ReadXml(const std::string& path) {
    const Bytes bytes = Loose(path);
    Ref<PropertyFile> file = new PropertyFile;
    EXPECT_TRUE(file->LoadFromMemory(reinterpret_cast<const char*>(bytes.data()), bytes.size(), path)) << path;
    return file;
}

std::string Key(const Property* node, const char* name) { return Property::AsString(Property::Child(node, name)); }

struct Declared {
    std::string section;
    const Property* node;
};

// Every resource of resources.xml, section by section; the nodes live as
// long as `resources`.
std::vector<Declared> DeclaredResources(const Ref<PropertyFile>& resources) {
    std::vector<Declared> declared;
    const Property* sections = Property::Child(resources.Get(), "Sections");
    for (int s = 0; const Property* section = Property::At(sections, s); ++s) {
        for (int r = 0; const Property* resource = Property::At(section, r); ++r) {
            declared.push_back({Key(section, "name"), resource});
        }
    }
    return declared;
}

// Width, height, bit depth and colour type from a PNG's header.
struct PngHeader {
    uint32_t width = 0, height = 0;
    int depth = 0, colorType = 0;
};

PngHeader ReadPngHeader(const Bytes& png) {
    PngHeader header;
    if (png.size() < 26) {
        return header;
    }
    auto word = [&png](size_t at) { return uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3]; };
    header.width = word(16);
    header.height = word(20);
    header.depth = png[24];
    header.colorType = png[25];
    return header;
}

std::string PictureOf(const Property* resource) {
    const std::string file = Key(resource, "file");
    return file.empty() ? Key(resource, "mask") : file;
}

TEST(GeneratedMedia, EveryResourceFileIsThereLooseAndInTheArchive) {
    Ref<Archive> archive = new Archive(kBuild + "/media.dat");
    const std::set<std::string> kinds = {"Image", "Sound", "Stream", "Font", "Xmlfile", "WordList"};
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    const std::vector<Declared> declared = DeclaredResources(resources);
    ASSERT_FALSE(declared.empty());
    for (const Declared& resource : declared) {
        EXPECT_EQ(kinds.count(resource.node->TypeName()), 1u) << resource.node->Name();
        for (const char* key : {"file", "mask", "format"}) {
            const std::string path = Key(resource.node, key);
            if (path.empty()) {
                continue;
            }
            EXPECT_EQ(NormalizeMediaPath(path), path);  // found on disk as declared
            Ref<DataBuffer> member = new DataBuffer;
            ASSERT_EQ(archive->ReadMember(path, *member), Archive::ReadResult::Loaded) << path;
            const Bytes loose = Loose(path);
            EXPECT_TRUE(Bytes(member->Bytes(), member->Bytes() + member->Count()) == loose) << path;
        }
    }
}

TEST(GeneratedMedia, PicturesAreRgba8AndHoldWholeFrames) {
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    for (const Declared& resource : DeclaredResources(resources)) {
        const std::string kind = resource.node->TypeName();
        if (kind != "Image" && kind != "Font") {
            continue;
        }
        const std::string picture = PictureOf(resource.node);
        const PngHeader header = ReadPngHeader(Loose(picture));
        EXPECT_EQ(header.depth, 8) << picture;
        EXPECT_EQ(header.colorType, 6) << picture;  // RGBA
        const int frames = std::max(1, Property::AsInt(Property::Child(resource.node, "nrofframes")));
        EXPECT_EQ(header.height % frames, 0u) << picture;
    }
}

TEST(GeneratedMedia, FontsDescribeEveryPrintableCharacterInOneLineBox) {
    int fonts = 0;
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    for (const Declared& resource : DeclaredResources(resources)) {
        if (resource.node->TypeName() != "Font") {
            continue;
        }
        ++fonts;
        const PngHeader picture = ReadPngHeader(Loose(PictureOf(resource.node)));
        Ref<PropertyFile> format = ReadXml(Key(resource.node, "format"));
        const int lineHeight = Property::AsInt(Property::Child(Property::Child(format.Get(), "charsetinfo"), "lineheight"));
        std::set<char> characters;
        const Property* charset = Property::Child(format.Get(), "charset");
        for (int i = 0; const Property* glyph = Property::At(charset, i); ++i) {
            auto key = [glyph](const char* name) { return Property::AsInt(Property::Child(glyph, name)); };
            characters.insert(glyph->Name()[0]);
            EXPECT_EQ(key("h"), lineHeight) << resource.node->Name();
            EXPECT_LE(uint32_t(key("x") + key("w")), picture.width) << resource.node->Name();
            EXPECT_LE(uint32_t(key("y") + key("h")), picture.height) << resource.node->Name();
        }
        EXPECT_EQ(characters.size(), 94u) << resource.node->Name();
    }
    EXPECT_GE(fonts, 22);
}

TEST(GeneratedMedia, SoundsDecodeAsShortMonoSounds) {
    int sounds = 0;
    const Ref<PropertyFile> resources = ReadXml("media/properties/resources.xml");
    for (const Declared& resource : DeclaredResources(resources)) {
        if (resource.node->TypeName() != "Sound") {
            continue;
        }
        ++sounds;
        EXPECT_GT(Property::AsFloat(Property::Child(resource.node, "volumemultiplier")), 0.0f);
        EXPECT_LE(Property::AsFloat(Property::Child(resource.node, "volumemultiplier")), 1.0f);
        platform::Pcm pcm;
        ASSERT_EQ(platform::DecodeOggSample(Loose(Key(resource.node, "file")), 44100, pcm),
                  platform::SampleDecodeResult::Decoded)
            << resource.node->Name();
        EXPECT_EQ(pcm.channels, 1);
        EXPECT_GT(pcm.Frames(), 0u);
        EXPECT_LT(pcm.Frames(), size_t(pcm.rate) * 3);
    }
    EXPECT_GE(sounds, 1);
}

// The program's own start-up: the media folder is the current folder, and
// "media.dat" there makes every read go to the archive. Without it the same
// paths are read as loose files. The sections of resources.xml are declared
// and loaded by the loader thread.
class LoadedMedia : public testing::TestWithParam<bool> {
protected:
    LoadedMedia() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        if (GetParam()) {
            std::filesystem::current_path(kBuild);
        } else {
            std::filesystem::copy(kBuild + "/media", loose_.Path() + "/media", std::filesystem::copy_options::recursive);
            std::filesystem::current_path(loose_.Path());
        }
        OpenMediaArchive(LoadMode::File, "");
        SectionManager::Start();
        manager_ = SectionManager::Instance();
        manager_->AddDefinitionFile("media/properties/resources.xml");
        manager_->LoadSections();
        manager_->SetDeclared();
    }
    ~LoadedMedia() override {
        SectionManager::Stop();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    void LoadSection(const std::string& name) {
        while (manager_->RequestSection(name)) {
            std::this_thread::yield();
        }
    }

    // The resource's data once its section is loaded.
    Object* Loaded(const Declared& declared) {
        LoadSection(declared.section);
        return manager_->GetResource(declared.node->Name(), declared.section);
    }

    TempUserFolders userFolders_;
    TempFolder loose_;
    std::filesystem::path previous_;
    SectionManager* manager_ = nullptr;
    const Ref<PropertyFile> resources_ = ReadXml("media/properties/resources.xml");
};

TEST_P(LoadedMedia, ReadsFromTheArchiveOnlyWhenItIsThere) {
    EXPECT_EQ(GetGlobalLoadMode(), GetParam() ? LoadMode::Archive : LoadMode::File);
}

// Through the resource kinds, as the game gets them: pictures with their
// frames, fonts that measure, samples, and the word list.
TEST_P(LoadedMedia, EveryDeclaredResourceLoadsThroughItsKind) {
    for (const Declared& declared : DeclaredResources(resources_)) {
        const std::string name = declared.node->Name();
        ASSERT_NE(ClassFactory::Instance().Find(declared.node->TypeName()), nullptr) << name;
        Object* data = Loaded(declared);
        ASSERT_NE(data, nullptr) << name;
        if (const auto* font = ObjectCast<BitmapFont>(data)) {
            EXPECT_GT(font->GetTextWidth(L"Rail", 0, 4, false), 0) << name;
        } else if (const auto* picture = ObjectCast<Surface>(data)) {
            const int frames = std::max(1, Property::AsInt(Property::Child(declared.node, "nrofframes")));
            EXPECT_EQ(picture->GetHeight() % frames, 0) << name;
        } else if (const auto* list = ObjectCast<WordList>(data)) {
            EXPECT_FALSE(list->HasError());
        }
    }
}

// Every picture decodes; every font reads its description over its picture,
// covers the printable characters, measures and draws.
TEST_P(LoadedMedia, PicturesDecodeAndFontsMeasureAndDraw) {
    for (const Declared& declared : DeclaredResources(resources_)) {
        const std::string kind = declared.node->TypeName();
        if (kind != "Image" && kind != "Font") {
            continue;
        }
        const std::string name = declared.node->Name();
        Ref<DataBuffer> bytes = new DataBuffer;
        ASSERT_FALSE(LoadFile(PictureOf(declared.node), *bytes, LoadMode::Default)) << name;
        const Ref<MemorySurface> picture = DecodePngFromMemory(bytes->Bytes(), bytes->Count(), PictureOf(declared.node));
        ASSERT_TRUE(picture) << name;
        const PngHeader header = ReadPngHeader(Loose(PictureOf(declared.node)));
        EXPECT_EQ(uint32_t(picture->GetWidth()), header.width) << name;
        EXPECT_EQ(uint32_t(picture->GetHeight()), header.height) << name;
        if (kind != "Font") {
            continue;
        }

        const bool maskFont = !Key(declared.node, "mask").empty();
        Ref<BitmapFont> font = new BitmapFont;
        ASSERT_TRUE(font->Load(Key(declared.node, "format"), maskFont, 0xFFFFFF, *picture, LoadMode::Default)) << name;
        for (int c = 33; c <= 126; ++c) {
            EXPECT_TRUE(font->HasGlyph(static_cast<wchar_t>(c))) << name << " " << char(c);
        }
        const std::wstring text = L"Word Rail!";
        const int32_t width = font->GetTextWidth(text, 0, static_cast<int32_t>(text.size()), false);
        EXPECT_GT(width, 0) << name;
        const Ref<MemorySurface> target = CreateMemorySurface(width + 8, font->GetLineHeight());
        const Ref<Canvas> canvas = target->CreateCanvas();
        canvas->SetColor(Color(0xFF0000));
        font->DrawText(*canvas, text, 0, 0);
        const uint32_t* pixels = target->Pixels32();
        const size_t count = static_cast<size_t>(target->GetWidth()) * target->GetHeight();
        EXPECT_TRUE(std::any_of(pixels, pixels + count, [](uint32_t p) { return (p >> 24) == 0xFF; })) << name;
        if (maskFont) {
            // Drawn in the caller's colour: opaque pixels are red.
            for (size_t i = 0; i < count; ++i) {
                if ((pixels[i] >> 24) == 0xFF) {
                    EXPECT_GE((pixels[i] >> 16) & 0xFF, 0xF0u) << name;
                    EXPECT_LE(pixels[i] & 0xFFFF, 0x0404u) << name;
                }
            }
        }
    }
}

TEST_P(LoadedMedia, WordListResourceHoldsTheFilteredWordSet) {
    const Property* definition = nullptr;
    for (const Declared& declared : DeclaredResources(resources_)) {
        if (declared.node->Name() == "WORDLIST" && declared.section == "wordlist") {
            definition = declared.node;
        }
    }
    ASSERT_NE(definition, nullptr);
    WordList* list = ObjectCast<WordList>(Loaded({"wordlist", definition}));
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->HasError());

    const std::set<std::string> blocked = ReadWordSet(BlockListFile(WORDRAIL_MEDIA_SOURCE));
    const std::vector<std::string> expected = ReadCandidateWords(ScowlListFiles(WORDRAIL_SCOWL_FOLDER), blocked);
    std::vector<std::string> words;
    for (const WordNode* word : list->WordIndex()) {
        words.push_back(word->Text());
    }
    EXPECT_TRUE(words == expected);
    EXPECT_GT(words.size(), 20000u);
    for (const std::string& word : blocked) {
        EXPECT_EQ(list->Contains(word), nullptr) << word;
    }
    for (int length : {6, 7}) {
        EXPECT_EQ(list->RankedWords(length).size(), list->WordsOfLength(length).size());
        EXPECT_GT(HighestFullWindowRank(*list, length), 100);
    }

    EXPECT_NE(list->Contains("train"), nullptr);
    std::vector<const WordNode*> found;
    list->MatchPattern("tr??n", &found);
    EXPECT_TRUE(std::any_of(found.begin(), found.end(), [](const WordNode* w) { return w->Text() == "train"; }));
    found.clear();
    list->FindFromLetters("garden", found, true, 6);
    std::set<std::string> anagrams;
    for (const WordNode* word : found) {
        anagrams.insert(word->Text());
    }
    EXPECT_TRUE(anagrams.count("danger") && anagrams.count("garden") && anagrams.count("ranged")) << anagrams.size();
}

// The tooltip the game installs: built from the shipped dialog
// definitions, with its font, and wrapping long tips at its width.
TEST_P(LoadedMedia, DefaultTooltipBuildsWithItsFont) {
    LoadSection("default");
    const Ref<DialogTable> table(new DialogTable("media/properties/dialogs.xml"));
    const Ref<Object> built(table->CreateObject("DEFAULT_TOOLTIP"));
    const auto* tip = ObjectCast<ToolTip>(built.Get());
    ASSERT_NE(tip, nullptr);
    EXPECT_GE(tip->GetShowDelay(), 0);
    EXPECT_GT(tip->GetRemoveDelay(), tip->GetShowDelay());
    ToolTipLabel* renderer = tip->GetRenderer();
    ASSERT_NE(renderer, nullptr);
    ASSERT_NE(renderer->GetFont(), nullptr);
    EXPECT_NE(renderer->GetBackgroundColor(), renderer->GetBorderColor());
    renderer->SetToolTip(L"Short");
    const int32_t shortWidth = renderer->GetWidth();
    EXPECT_GT(shortWidth, 0);
    renderer->SetToolTip(L"A rather long tooltip text that cannot stand on one line of the tooltip box at all");
    EXPECT_GT(renderer->GetLines().size(), 1u);
    EXPECT_LE(renderer->GetWidth(), 260);
    EXPECT_GT(renderer->GetWidth(), shortWidth);
}

// The window buttons of full screen and the default transition build from
// the shipped definitions with their pictures.
TEST_P(LoadedMedia, FullScreenButtonsAndTheDefaultTransitionBuild) {
    LoadSection("default");
    const Ref<DialogTable> table(new DialogTable("media/properties/dialogs.xml"));
    const Ref<Object> built(table->CreateObject("DEFAULT_FSH"));
    const auto* handler = ObjectCast<FullScreenHandler>(built.Get());
    ASSERT_NE(handler, nullptr);
    // Without a window there is no mode to restore: quit and minimise only.
    for (const Button* button : {handler->GetQuitButton(), handler->GetMinimizeButton()}) {
        ASSERT_NE(button, nullptr);
        ASSERT_NE(button->GetImage(), nullptr);
        EXPECT_GT(button->GetWidth(), 0);
    }
    EXPECT_LT(handler->GetMinimizeButton()->GetX(), handler->GetQuitButton()->GetX());
    const Ref<Object> transition(table->CreateDialog("TRANSITION_DEFAULT"));
    EXPECT_NE(ObjectCast<SceneTransition>(transition.Get()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BothLoadModes, LoadedMedia, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Archive" : "LooseFiles"; });

TEST(GeneratedMedia, LicenceAndLetterWeightsShipWithTheWords) {
    const Bytes licence = Loose("media/data/words_copyright.txt");
    EXPECT_NE(std::string(licence.begin(), licence.end()).find("Kevin Atkinson"), std::string::npos);
    Ref<PropertyFile> weights = ReadXml("media/properties/letterfreqs.xml");
    const Property* list = Property::Child(weights.Get(), "LETTER_FREQS");
    float sum = 0;
    for (int i = 0; i < 26; ++i) {
        const float weight = Property::AsFloat(Property::At(list, i));
        EXPECT_GT(weight, 0.0f) << char('a' + i);
        sum += weight;
    }
    EXPECT_EQ(Property::At(list, 26), nullptr);
    EXPECT_NEAR(sum, 100.0f, 0.1f);
}

}  // namespace
